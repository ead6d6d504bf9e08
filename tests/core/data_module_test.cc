#include "core/data_module.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "zel/date_time.h"
#include "zel/driver_state.h"

namespace zel {
namespace {

// Field layouts written as "NAME:T10" (text of 10), "NAME:F" (float),
// "NAME:D" (date-time), so a whole layout compares in one assertion.
std::vector<std::string> Layout(const Dataset& dataset) {
  std::vector<std::string> layout;
  for (const FieldDef& field : dataset.FieldDefs()) {
    switch (field.type) {
      case FieldType::kText:
        layout.push_back(field.name + ":T" + std::to_string(field.size));
        break;
      case FieldType::kFloat:
        layout.push_back(field.name + ":F");
        break;
      case FieldType::kDateTime:
        layout.push_back(field.name + ":D");
        break;
      default:
        layout.push_back(field.name + ":?");
    }
  }
  return layout;
}

std::vector<std::string> Column(Dataset& dataset, const char* field) {
  std::vector<std::string> values;
  for (dataset.First(); !dataset.Eof(); dataset.Next()) values.push_back(dataset.AsText(field));
  return values;
}

const std::vector<std::string> kPaymentTypeLayout = {
    "CDFILIAL:T4",     "CDTIPORECE:T3",   "NMTIPORECE:T40",    "VRTAXAADMI:F",
    "VRMINCARTAO:F",   "CDTIPOTROCO:T3",  "NRORDTROCO:T3",     "IDEMIVALE:T1",
    "IDVALE:T1",       "IDDEBCLIE:T1",    "CDFPIMPFIS:T10",    "IDTIPORECE:T1",
    "CDTPINDICE:T1",   "IDPERVALOR:T1",   "CDINDICE:T4",       "NRCONFTELA:T5",
    "IDTPBUTTON:T1",   "NRBUTTON:T5",     "NRPGCONFTELA:T2",   "IDTPBUTONAUX:T1",
    "NRBUTTONAUX:T5",  "NRPGCONFTAUX:T2", "CDIDENTBUTON:T10",  "DSBUTTON:T40",
    "NRCOLORTEXT:F",   "NRCOLORBACK:F",   "DSMESSAGEBUT:T300", "DSIMAGEMBUT:T200",
    "DSIMPFISCAL:T50", "CDADMINCART:T20", "CDBANCARTCR:T10",   "IDMOSTRARECE:T1",
    "IDDESABTEF:T1",
};

const std::vector<std::string> kReductionLayout = {
    "NRECFREDZ:T4",     "DTREDUCAOZ:D",     "NRREINIREDZ:T10", "NRREDREDZ:T10",
    "NRLEITREDZ:T10",   "NRGERCNFREDZ:T10", "NRCANCFREDZ:T10", "NRPRIMCFREDZ:T10",
    "NRULTCFREDZ:T10",  "VRGTREDZ:F",       "VRVENBRUREDZ:F",  "VRISSREDZ:F",
    "VRTOTCANREDZ:F",   "VRTOTDESREDZ:F",   "VRVENLIQREDZ:F",  "VRTOTACRREDZ:F",
    "VRSTRIBREDZ:F",    "VRISENCREDZ:F",    "VRNINCIDREDZ:F",  "QTTEMLIGREDZ:T6",
    "QTTEMPCFREDZ:T6",  "QTMEMRESREDZ:F",   "IDORIGEMREDZ:T3", "DSMODMARCAECF:T30",
    "NRUSUARIOMFD:T10", "CDMFADICIONAL:T5", "DTGRAVSBECF:D",
};

// --- Creation on first need ------------------------------------------------

TEST(DataModuleTest, MessageLookupCreatesTheModuleOnceWhenMissing) {
  TdtmBematech10* earlier = std::exchange(Zel00101::dtmBematech10, nullptr);

  EXPECT_EQ(MsgPadrao("RELATORIO"), "Relatorios");
  ASSERT_NE(Zel00101::dtmBematech10, nullptr);
  std::unique_ptr<TdtmBematech10> created(Zel00101::dtmBematech10);
  EXPECT_EQ(&EnsureDataModule(), created.get());
  EXPECT_EQ(MsgPadrao2("NRSERIE"), "Nr.Serie");
  EXPECT_EQ(Zel00101::dtmBematech10, created.get());

  Zel00101::dtmBematech10 = earlier;
}

TEST(DataModuleTest, EnsureReturnsTheSameInstanceEveryTime) {
  TdtmBematech10& first = EnsureDataModule();
  EXPECT_EQ(Zel00101::dtmBematech10, &first);
  EXPECT_EQ(&EnsureDataModule(), &first);
  // Its tables are the driver's, filled when it was built.
  EXPECT_EQ(first.msgPadrao.Count(), 287u);
  EXPECT_EQ(first.msgPadrao2.Count(), 37u);
}

TEST(DataModuleTest, LookupHelpersFillTheFileName) {
  EXPECT_EQ(MsgPadrao("ArqConfig_Inv4", "C:\\PDV\\Ploteva.cds"),
            "Arquivo (C:\\PDV\\Ploteva.cds) est\xE1 inv\xE1lido. Valor do totalizador geral da "
            "impressora fiscal est\xE1 incorreto.");
  EXPECT_EQ(MsgPadrao2("saldo_fin", "7,00"), "Saldo Final : 7,00");
  EXPECT_EQ(MsgPadrao("ErroGravacao"), "Mensagem n\xE3o cadastrada (ErroGravacao).");
}

// --- Layout ----------------------------------------------------------------

TEST(DataModuleTest, DatasetsComeInDeclarationOrder) {
  TdtmBematech10 module;
  const std::vector<std::string> expected = {
      "cdsAliqImpFis",       "cdsReceb",       "cdsParcProdutos",    "cdsMovCaixa",
      "cdsMovCaixaTef",      "cdsRecebAux",    "cdsTipoRece",        "cdsMovFecha",
      "cdsSangria",          "cdsOperadorSup", "cdsTipoReceAux",     "cdsMovAbertura",
      "cdsMovTot",           "cdsRedzAux01",   "cdsFormRedzAux01",   "cdsTotNFisAux01",
      "cdsImpostoRedzAux01", "cdsReducaoZ",    "cdsFormPgtoRedZ",    "cdsImpostoRedZ",
      "cdsTotNFiscRedZ",     "cdsTeste",       "cdsProdVend",        "cdsAliqProduto",
      "cdsItemsReg",         "cdsProdDeb",     "cdsTipoReceHomolog", "cdsMesaAberZel",
      "cdsProdutoTransf",    "cdsDadosPaf",    "cdsBuscaNrSerieEcf", "cdsCheckECF",
      "cdsParametros",       "cdsEmprestimo",  "cdsFamiliaSaldo",    "cdsSaldCred",
  };
  const std::vector<Dataset*> datasets = module.Datasets();
  std::vector<std::string> names;
  for (const Dataset* dataset : datasets) names.push_back(dataset->Name());
  EXPECT_EQ(names, expected);
  // The list follows the members as declared: their addresses only grow.
  for (std::size_t i = 1; i < datasets.size(); ++i) {
    EXPECT_LT(reinterpret_cast<const char*>(datasets[i - 1]),
              reinterpret_cast<const char*>(datasets[i]))
        << names[i];
  }
  EXPECT_LT(reinterpret_cast<const char*>(&module.msgPadrao2),
            reinterpret_cast<const char*>(datasets.front()));
  for (const Dataset* dataset : datasets) EXPECT_FALSE(dataset->Active()) << dataset->Name();
}

TEST(DataModuleTest, FindsDatasetsByNameIgnoringCase) {
  TdtmBematech10 module;
  EXPECT_EQ(module.FindDataset("CDSALIQIMPFIS"), &module.cdsAliqImpFis);
  EXPECT_EQ(module.FindDataset("cdsSaldCred"), &module.cdsSaldCred);
  EXPECT_EQ(module.FindDataset("cdsNada"), nullptr);
  EXPECT_EQ(module.FindDataset(""), nullptr);
}

TEST(DataModuleTest, PaymentTypeTablesShareOneLayout) {
  TdtmBematech10 module;
  EXPECT_EQ(Layout(module.cdsTipoRece), kPaymentTypeLayout);
  EXPECT_EQ(Layout(module.cdsReceb), kPaymentTypeLayout);
  EXPECT_EQ(Layout(module.cdsTipoReceAux), kPaymentTypeLayout);
  const std::vector<std::string> up_to_image(kPaymentTypeLayout.begin(),
                                             kPaymentTypeLayout.begin() + 28);
  EXPECT_EQ(Layout(module.cdsRecebAux), up_to_image);
  EXPECT_EQ(up_to_image.back(), "DSIMAGEMBUT:T200");
}

TEST(DataModuleTest, ReductionTablesAndTheirClosingCopies) {
  TdtmBematech10 module;
  EXPECT_EQ(Layout(module.cdsReducaoZ), kReductionLayout);
  std::vector<std::string> without_origin = kReductionLayout;
  std::erase(without_origin, "IDORIGEMREDZ:T3");
  EXPECT_EQ(Layout(module.cdsRedzAux01), without_origin);

  const std::vector<std::string> payments = {"NRECFREDZ:T4", "DTREDUCAOZ:D", "CDTIPORECE:T3",
                                             "VRFORMPGTORZ:F", "CDTPRECEORIG:T3"};
  const std::vector<std::string> taxes = {"NRECFREDZ:T4",  "DTREDUCAOZ:D",   "CDALIQIMPRZ:T10",
                                          "VRALIQIMPRZ:F", "VRBCALCIMPRZ:F", "VRIMPOSTORZ:F",
                                          "IDTPIMPREDZ:T1"};
  const std::vector<std::string> non_fiscal = {"NRECFREDZ:T4",     "DTREDUCAOZ:D",
                                               "NRTOTNFISCRZ:T10", "DSTOTNFISCRZ:T50",
                                               "NRCONTOTNFIS:T10", "VRACUTOTNFIS:F"};
  EXPECT_EQ(Layout(module.cdsFormPgtoRedZ), payments);
  EXPECT_EQ(Layout(module.cdsFormRedzAux01), payments);
  EXPECT_EQ(Layout(module.cdsImpostoRedZ), taxes);
  EXPECT_EQ(Layout(module.cdsImpostoRedzAux01), taxes);
  EXPECT_EQ(Layout(module.cdsTotNFiscRedZ), non_fiscal);
  EXPECT_EQ(Layout(module.cdsTotNFisAux01), non_fiscal);
}

TEST(DataModuleTest, OtherDesignTimeLayouts) {
  TdtmBematech10 module;
  EXPECT_EQ(Layout(module.cdsAliqImpFis),
            (std::vector<std::string>{"CDALIQIMPFIS:T10", "VRALIQIMPFIS:F", "IDALIQIMPFIS:T1"}));
  EXPECT_EQ(Layout(module.cdsMovFecha),
            (std::vector<std::string>{"CDTIPORECE:T3", "NMTIPORECE:T40", "DTABERCAIX:D",
                                      "VRFECHAINF:F", "VRFECHADIG:F", "NRENVELOPE:T6"}));
  EXPECT_EQ(Layout(module.cdsSangria), (std::vector<std::string>{"CDTIPORECE:T3", "NMTIPORECE:T40",
                                                                 "VRSANGRIA:F", "CDCLIENTE:T21"}));
  const std::vector<std::string> cash_out = {"IDTIPOREG:T1", "CDTIPORECE:T3", "NMTIPORECE:T40",
                                             "VRSAIDA:F"};
  EXPECT_EQ(Layout(module.cdsMovAbertura), cash_out);
  EXPECT_EQ(Layout(module.cdsMovTot), cash_out);
  EXPECT_EQ(Layout(module.cdsTeste),
            (std::vector<std::string>{"QTPRODCOMVEN:F", "VRPRECCOMVEN:F", "CDARVPROD:T20",
                                      "NMPRODUTO:T50", "CDPRODUTO:T10"}));
  EXPECT_EQ(Layout(module.cdsAliqProduto),
            (std::vector<std::string>{"VRPERCSITTRIB:F", "VRTOTALALIQ:F", "IDTPIMPOSFIS:T20"}));
}

TEST(DataModuleTest, RunTimeDatasetsWaitForTheirPacket) {
  TdtmBematech10 module;
  for (Dataset* dataset :
       {&module.cdsParcProdutos, &module.cdsMovCaixa, &module.cdsMovCaixaTef,
        &module.cdsOperadorSup, &module.cdsProdVend, &module.cdsItemsReg, &module.cdsProdDeb,
        &module.cdsTipoReceHomolog, &module.cdsMesaAberZel, &module.cdsProdutoTransf,
        &module.cdsDadosPaf, &module.cdsBuscaNrSerieEcf, &module.cdsCheckECF, &module.cdsParametros,
        &module.cdsEmprestimo, &module.cdsFamiliaSaldo, &module.cdsSaldCred}) {
    EXPECT_EQ(dataset->FieldCount(), 0) << dataset->Name();
  }
}

// --- Indexes ---------------------------------------------------------------

TEST(DataModuleTest, TaxRatesWalkByKindThenRate) {
  TdtmBematech10 module;
  Dataset& rates = module.cdsAliqImpFis;
  EXPECT_EQ(rates.IndexName(), "IdxIdAliqVrAliq");
  rates.CreateDataSet();
  const std::vector<std::pair<std::string, double>> rows = {
      {"T", 18.0}, {"S", 5.0}, {"T", 7.0}, {"N", 0.0}, {"T", 12.0}};
  int position = 1;
  for (const auto& [kind, rate] : rows) {
    rates.Append();
    rates.SetValue("CDALIQIMPFIS", std::to_string(position++));
    rates.SetValue("VRALIQIMPFIS", rate);
    rates.SetValue("IDALIQIMPFIS", kind);
    rates.Post();
  }
  EXPECT_EQ(Column(rates, "CDALIQIMPFIS"), (std::vector<std::string>{"4", "2", "3", "5", "1"}));
}

// The host's cash movements arrive as a packet with their own structure;
// the module's indexes then order them.
TEST(DataModuleTest, CashMovementsOrderByChangeThenNewestAndCanSwitchToOldest) {
  Dataset host("host movements");
  host.SetFieldDefs({{"NRORDTROCO", FieldType::kText, 3},
                     {"DTHRINCMOV", FieldType::kDateTime, 0},
                     {"CDTIPORECE", FieldType::kText, 3}});
  host.CreateDataSet();
  const DateTime day = EncodeDate(2024, 5, 10);
  const std::vector<std::tuple<std::string, DateTime, std::string>> rows = {
      {"1", DateTime{day.value + EncodeTime(10, 0, 1, 0).value}, "A"},
      {"1", DateTime{day.value + EncodeTime(10, 0, 5, 0).value}, "B"},
      {"0", DateTime{day.value + EncodeTime(11, 0, 0, 0).value}, "C"},
  };
  for (const auto& [order, when, code] : rows) {
    host.Append();
    host.SetValue("NRORDTROCO", order);
    host.SetValue("DTHRINCMOV", when);
    host.SetValue("CDTIPORECE", code);
    host.Post();
  }

  TdtmBematech10 module;
  for (Dataset* movements : {&module.cdsMovCaixa, &module.cdsMovCaixaTef}) {
    EXPECT_EQ(movements->IndexName(), "idxNRORDTROCO") << movements->Name();
    movements->SetData(host.Data());
    EXPECT_EQ(Column(*movements, "CDTIPORECE"), (std::vector<std::string>{"C", "B", "A"}));
    movements->SetIndexName("idxDTHRINCMOV");
    EXPECT_EQ(Column(*movements, "CDTIPORECE"), (std::vector<std::string>{"A", "B", "C"}));
  }
}

TEST(DataModuleTest, ProductIndexesApplyOnceTheProductsArrive) {
  Dataset host("host products");
  host.SetFieldDefs({{"CDPRODUTO", FieldType::kText, 10},
                     {"IDTPIMPOSFIS", FieldType::kText, 1},
                     {"VRPEALIMPFIS", FieldType::kFloat, 0}});
  host.CreateDataSet();
  const std::vector<std::tuple<std::string, std::string, double>> rows = {
      {"300", "T", 7.0}, {"100", "T", 18.0}, {"200", "F", 0.0}};
  for (const auto& [code, situation, rate] : rows) {
    host.Append();
    host.SetValue("CDPRODUTO", code);
    host.SetValue("IDTPIMPOSFIS", situation);
    host.SetValue("VRPEALIMPFIS", rate);
    host.Post();
  }

  TdtmBematech10 module;
  Dataset& products = module.cdsProdVend;
  EXPECT_EQ(products.IndexName(), "");
  products.SetData(host.Data());
  EXPECT_EQ(Column(products, "CDPRODUTO"), (std::vector<std::string>{"300", "100", "200"}));
  products.SetIndexName("IDXCDPRODUTO");
  EXPECT_EQ(Column(products, "CDPRODUTO"), (std::vector<std::string>{"100", "200", "300"}));
  products.SetIndexName("idxTributacao");
  EXPECT_EQ(Column(products, "CDPRODUTO"), (std::vector<std::string>{"200", "300", "100"}));

  Dataset& groups = module.cdsAliqProduto;
  EXPECT_EQ(groups.IndexName(), "");
  groups.CreateDataSet();
  for (double rate : {18.0, 0.0, 7.0}) {
    groups.Append();
    groups.SetValue("VRPERCSITTRIB", rate);
    groups.Post();
  }
  groups.SetIndexName("idxTributacao");
  EXPECT_EQ(Column(groups, "VRPERCSITTRIB"), (std::vector<std::string>{"0", "7", "18"}));
}

}  // namespace
}  // namespace zel
