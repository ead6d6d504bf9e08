// Printer programming through the loaded driver against the simulated
// printer: the tax-rate table, the non-fiscal totalizers, the payment forms.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <span>
#include <string>
#include <vector>

#include "support/sale_fixture.h"
#include "zel/dataset.h"
#include "zel/error.h"

namespace zel {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

using CarregaAliquotaFn = void(const std::string&, Dataset&);
using RetornoAliquotasFn = bool(const std::string&);
using CarregaTotalizadorFn = void(std::string&, std::string&, std::string&, std::string&,
                                  std::string&, const std::string&, std::int32_t&, Dataset*);
using CarregaRecebimentoFn = void(const std::string&, const std::string&, std::int32_t, Dataset&);
using ConfigFormaPgFn = bool(const std::string&, const std::string&, bool, bool);

constexpr char kScheme[] = "005";
const std::string kEsc = "\x1b";
constexpr char kNaming[] = "Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms";
constexpr char kProgramForm[] = "Bematech_FI_ProgramaFormaPagamentoMFD";

class ProgrammingTest : public DriverFixture {
 protected:
  void SetUp() override {
    DriverFixture::SetUp();
    BindPrinterEntries();
  }

  void FailEntry(const char* entry, int code, int times) {
    Sim<void(const char*, int, int)>("EcfSim_FailEntry")(entry, code, times);
  }
  // The log's entries without the empty ones.
  std::vector<std::string> Logged() {
    std::vector<std::string> entries = LogEntries();
    std::erase(entries, "");
    return entries;
  }
  std::vector<std::string> Calls(const std::string& entry) {
    std::vector<std::string> calls;
    for (const std::string& call : SimJournal()) {
      if (call.rfind(entry, 0) == 0) calls.push_back(call);
    }
    return calls;
  }
};

// --- Tax rates ---------------------------------------------------------------

class TaxRateTest : public ProgrammingTest {
 protected:
  void SetRate(int position, int rate, bool iss = false) {
    ASSERT_EQ(Sim<int(int, int, int)>("EcfSim_SetTaxRate")(position, rate, iss ? 1 : 0), 1);
  }
  void FreeAllRates() {
    for (int position = 1; position <= 16; ++position) SetRate(position, 0);
  }
  // The caller's table after CarregaAliquota, row by row in its own order:
  // "code value kind".
  std::vector<std::string> LoadRates() {
    Dataset rates("cdsAliquotas");
    Op<CarregaAliquotaFn>("CarregaAliquota")(kScheme, rates);
    std::vector<std::string> rows;
    for (rates.First(); !rates.Eof(); rates.Next()) {
      rows.push_back(rates.AsText("CDALIQIMPFIS") + " " +
                     std::to_string(rates.AsDouble("VRALIQIMPFIS")).substr(0, 5) + " " +
                     rates.AsText("IDALIQIMPFIS"));
    }
    return rows;
  }
};

TEST_F(TaxRateTest, ReadsTheFactoryTableWithItsServiceRate) {
  EXPECT_THAT(LoadRates(), ElementsAre("01 18.00 T", "02 12.00 T", "03 7.000 T", "04 25.00 T",
                                       "05 5.000 S", "NN 0.000 N", "II 0.000 I", "FF 0.000 F"));
  EXPECT_EQ(Var<std::string>("stAliquotaIss"), "0500" + std::string(75, ' '));
  EXPECT_THAT(Var<std::string>("stRetorno"), IsEmpty());
  const std::string rates = "1800,1200,0700,2500,0500";
  EXPECT_THAT(Logged(), ElementsAre("Bematech_FI_RetornoAliquotas\r\nRetorno da Impressora : " +
                                        rates + std::string(79 - rates.size(), ' '),
                                    "Bematech_FI_VerificaAliquotasIss\r\nRetorno da Impressora : "
                                    "0500" +
                                        std::string(75, ' ')));
  EXPECT_THAT(SimJournal(),
              ElementsAre("Bematech_FI_RetornoAliquotas", "Bematech_FI_RetornoImpressora",
                          "Bematech_FI_VerificaAliquotasIss", "Bematech_FI_RetornoImpressora"));
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(TaxRateTest, AFreePositionIsSkippedButCounted) {
  FreeAllRates();
  SetRate(1, 1800);
  SetRate(2, 1200);
  SetRate(4, 700);

  EXPECT_THAT(LoadRates(), ElementsAre("01 18.00 T", "02 12.00 T", "04 7.000 T", "NN 0.000 N",
                                       "II 0.000 I", "FF 0.000 F"));
}

TEST_F(TaxRateTest, AnEmptyTableGivesOnlyTheFixedRows) {
  FreeAllRates();

  EXPECT_THAT(LoadRates(), ElementsAre("NN 0.000 N", "II 0.000 I", "FF 0.000 F"));
}

TEST_F(TaxRateTest, AFailedReadIsOnlyLoggedAndReplacesTheOldRows) {
  LoadRates();
  FailEntry("Bematech_FI_RetornoAliquotas", -1, 1);

  EXPECT_THAT(LoadRates(), ElementsAre("NN 0.000 N", "II 0.000 I", "FF 0.000 F"));
  EXPECT_THAT(Logged(), Contains("ERRO!!! Erro de execução na função."));
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(TaxRateTest, RetornoAliquotasGivesTheVerdictOfTheServiceRead) {
  auto* retorno = Op<RetornoAliquotasFn>("Retorno_Aliquotas_Imp");
  Var<std::string>("stRetorno") = "kept";

  EXPECT_TRUE(retorno(kScheme));
  EXPECT_EQ(Var<std::string>("stAliquotaIss"), "0500" + std::string(75, ' '));
  EXPECT_EQ(Var<std::string>("stRetorno"), "kept") << "the rate list read here is not kept";

  FailEntry("Bematech_FI_RetornoAliquotas", -1, 1);
  EXPECT_TRUE(retorno(kScheme));
  FailEntry("Bematech_FI_VerificaAliquotasIss", -1, 1);
  EXPECT_FALSE(retorno(kScheme));
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

// --- Non-fiscal totalizers -----------------------------------------------------

struct TotalizerIndexes {
  std::string cv, consumer, purchase, cancellation, report;
};

// The printer's list of its nine first totalizers, as it writes it.
std::string PrinterList(std::map<int, std::string> names) {
  std::string list;
  for (int index = 1; index <= 9; ++index) {
    if (index > 1) list += ",";
    list += names[index] + std::string(19 - names[index].size(), ' ');
  }
  return list;
}

class TotalizerTest : public ProgrammingTest {
 protected:
  TotalizerIndexes Load() {
    TotalizerIndexes got{"x", "x", "x", "x", "x"};
    std::int32_t reserved = 7;
    Op<CarregaTotalizadorFn>("CarregaTotalizador")(got.cv, got.consumer, got.purchase,
                                                   got.cancellation, got.report, kScheme, reserved,
                                                   nullptr);
    return got;
  }
  void Name(int index, const char* name) {
    ASSERT_EQ(Sim<int(int, const char*)>(kNaming)(index, name), 1) << name;
  }
};

TEST_F(TotalizerTest, AllMissingAreProgrammedAfterTheNineListed) {
  const TotalizerIndexes got = Load();

  EXPECT_EQ(got.cv, "10");
  EXPECT_EQ(got.purchase, "11");
  EXPECT_EQ(got.report, "12");
  EXPECT_EQ(got.consumer, "13");
  EXPECT_EQ(got.cancellation, "14");
  EXPECT_EQ(Var<std::string>("IdTotRelatorio"), "12");
  EXPECT_THAT(Calls(kNaming), ElementsAre(std::string(kNaming) + "|10|CONTRA-VALE EMITIDO",
                                          std::string(kNaming) + "|11|Cred Pessoal",
                                          std::string(kNaming) + "|12|Relatorios",
                                          std::string(kNaming) + "|13|VENDA CONSUMIDOR",
                                          std::string(kNaming) + "|14|Canc Credito"));
  const std::vector<std::string> logged = Logged();
  ASSERT_EQ(logged.size(), 6u);
  EXPECT_EQ(logged[0], "Bematech_FI_VerificaTotalizadoresNaoFiscais\r\nRetorno da Impressora : " +
                           PrinterList({}));
  EXPECT_EQ(logged[1], std::string(kNaming) + " : 10 - CONTRA-VALE EMITIDO");
  EXPECT_EQ(logged[5], std::string(kNaming) + " : 14 - Canc Credito");
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(TotalizerTest, NamesFoundAnywhereInTheListProgramNothing) {
  Name(3, "CONTRA-VALE EMITIDO");
  Name(1, "Cred Pessoal");
  Name(7, "Relatorios");
  Name(2, "VENDA CONSUMIDOR");
  Name(9, "Canc Credito");
  ClearSimJournal();

  const TotalizerIndexes got = Load();

  EXPECT_EQ(got.cv, "03");
  EXPECT_EQ(got.purchase, "01");
  EXPECT_EQ(got.report, "07");
  EXPECT_EQ(got.consumer, "02");
  EXPECT_EQ(got.cancellation, "09");
  EXPECT_EQ(Var<std::string>("IdTotRelatorio"), "07");
  EXPECT_THAT(SimJournal(), ElementsAre("Bematech_FI_VerificaTotalizadoresNaoFiscais",
                                        "Bematech_FI_RetornoImpressora"));
  EXPECT_THAT(Logged(), ElementsAre("Bematech_FI_VerificaTotalizadoresNaoFiscais\r\n"
                                    "Retorno da Impressora : " +
                                    PrinterList({{1, "Cred Pessoal"},
                                                 {2, "VENDA CONSUMIDOR"},
                                                 {3, "CONTRA-VALE EMITIDO"},
                                                 {7, "Relatorios"},
                                                 {9, "Canc Credito"}})));
}

TEST_F(TotalizerTest, WithNineEntriesLackingOnlyOneItGoesToTheTenth) {
  Name(1, "CONTRA-VALE EMITIDO");
  Name(2, "VENDA CONSUMIDOR");
  Name(3, "Relatorios");
  Name(4, "Cred Pessoal");
  for (int index = 5; index <= 9; ++index) Name(index, ("OUTRO " + std::to_string(index)).c_str());
  ClearSimJournal();

  const TotalizerIndexes got = Load();

  EXPECT_EQ(got.cancellation, "10");
  EXPECT_EQ(got.cv, "01");
  EXPECT_EQ(got.report, "03");
  EXPECT_THAT(Calls(kNaming), ElementsAre(std::string(kNaming) + "|10|Canc Credito"));
}

TEST_F(TotalizerTest, ANameIsMatchedAfterTrimmingBothSides) {
  Name(4, "   Relatorios");
  ClearSimJournal();

  EXPECT_EQ(Load().report, "04");
  EXPECT_THAT(Calls(kNaming), Not(Contains(std::string(kNaming) + "|12|Relatorios")));
}

TEST_F(TotalizerTest, ATextLeftInTheScratchBufferDoesNotShiftThePositions) {
  Var<std::string>("stRetorno") = "000123";

  const TotalizerIndexes got = Load();

  EXPECT_EQ(got.cv, "10");
  EXPECT_EQ(got.cancellation, "14");
  EXPECT_THAT(Var<std::string>("stRetorno"), IsEmpty());
}

TEST_F(TotalizerTest, ARefusedNamingKeepsTheIndexTriedAndGoesOn) {
  FailEntry(kNaming, -1, 1);

  const TotalizerIndexes got = Load();

  EXPECT_EQ(got.cv, "10");
  EXPECT_EQ(got.purchase, "11");
  const std::vector<std::string> logged = Logged();
  ASSERT_GE(logged.size(), 3u);
  EXPECT_EQ(logged[1], std::string(kNaming) + " : 10 - CONTRA-VALE EMITIDO");
  EXPECT_EQ(logged[2], "ERRO!!! Erro de execução na função.");
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(TotalizerTest, ASecondLoadFindsTheSamePositions) {
  const TotalizerIndexes first = Load();
  const TotalizerIndexes second = Load();

  EXPECT_EQ(second.cv, first.cv);
  EXPECT_EQ(second.report, first.report);
  EXPECT_EQ(second.cancellation, first.cancellation);
  EXPECT_THAT(Logged(), Not(Contains(::testing::HasSubstr("ERRO!!!"))));
}

TEST_F(TotalizerTest, NomeiaTotParcialDoesNothing) {
  using NomeiaFn = bool(const std::string&, const std::string&, const std::string&,
                        const std::string&, const std::string&, bool, bool);

  EXPECT_TRUE(Op<NomeiaFn>("Nomeia_TotParcial_Imp")("a", "b", "c", "d", "e", true, true));
  EXPECT_THAT(SimJournal(), IsEmpty());
}

TEST_F(TotalizerTest, TotalsCommandsGoThroughTheCommandChannel) {
  using TotalizaFn = bool(const std::string&, const std::string&, const std::string&);
  using LeituraFn = bool(const std::string&, bool, bool);
  auto* leitura = Symbol<LeituraFn>(
      "_ZN8Zel0010118Leitura_Totais_ImpERKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEEbb");

  Name(1, "CONTRA-VALE EMITIDO");
  const long long receipts = SimFigure("gnf");

  EXPECT_TRUE(leitura(kScheme, false, false));
  EXPECT_TRUE(Op<TotalizaFn>("Totaliza_NFiscal_Imp")(kScheme, "01", "1000"));

  EXPECT_EQ(SimFigure("gnf"), receipts + 1) << "no receipt registered on the totalizer";

  EXPECT_THAT(SimJournal(), Contains("BemaFormataTX|" + kEsc + "|27|" + kEsc));
  EXPECT_THAT(SimJournal(), Contains("BemaFormataTX|" + kEsc + "|10|01|1000|" + kEsc));
}

// --- Payment forms ----------------------------------------------------------------

// What the reconciliation wrote into one host row.
struct Reconciled {
  std::string name, form_code, issues_voucher;
  bool operator==(const Reconciled&) const = default;
};

void PrintTo(const Reconciled& row, std::ostream* out) {
  *out << "{" << row.name << "|" << row.form_code << "|" << row.issues_voucher << "}";
}

class PaymentFormTest : public ProgrammingTest {
 protected:
  void Reconcile(Dataset& types) {
    Op<CarregaRecebimentoFn>("CarregaRecebimento")("ignored", kScheme, 3, types);
  }
  // Every host row, filter or not, by its code.
  static std::map<std::string, Reconciled> Rows(Dataset& types) {
    const bool filtered = types.Filtered();
    types.SetFiltered(false);
    std::map<std::string, Reconciled> rows;
    for (types.First(); !types.Eof(); types.Next()) {
      rows[types.AsText("CDTIPORECE")] = {types.AsText("NMTIPORECE"), types.AsText("CDFPIMPFIS"),
                                          types.AsText("IDEMIVALE")};
    }
    types.SetFiltered(filtered);
    return rows;
  }
  void ProgramOnPrinter(const char* name) {
    ASSERT_EQ(Sim<int(const char*, const char*)>(kProgramForm)(name, "1"), 1) << name;
  }
  static std::string Programmed(const std::string& name) {
    return std::string(kProgramForm) + "|" + name + "|1";
  }
};

TEST_F(PaymentFormTest, ProgramsWhatIsMissingAndTakesThePrintersSpelling) {
  Dataset types = HostPaymentTypes({{"001", "5", "1", "S", "DINHEIRO"},
                                    {"002", "5", "4", "", "Cartao Credito"},
                                    {"003", "5", "1", "N", "Cheque"},
                                    {"004", "5", "B", "S", "Boleto"},
                                    {"005", "3", "1", "S", "Vale"},
                                    {"006", "5", "2", "S", "CARTAO CREDITO"}});

  Reconcile(types);

  const std::map<std::string, Reconciled> rows = Rows(types);
  EXPECT_EQ(rows.at("001"), (Reconciled{"Dinheiro", "S", "S"}));
  EXPECT_EQ(rows.at("002"), (Reconciled{"Cartao Credito", "S", "N"}))
      << "programmed, and named as the printer now has it";
  EXPECT_EQ(rows.at("003"), (Reconciled{"", "", ""}));
  EXPECT_EQ(rows.at("004"), (Reconciled{"", "", ""}));
  EXPECT_EQ(rows.at("005"), (Reconciled{"", "", ""}));
  EXPECT_EQ(rows.at("006"), (Reconciled{"Cartao Credito", "S", "S"}));
  EXPECT_THAT(Calls(kProgramForm),
              ElementsAre(Programmed("Cartao Credito"), Programmed("Rel Gerencial")));
  EXPECT_EQ(host_.messages_serviced, 5) << "once per row of button kind 5";
  EXPECT_EQ(types.Filter(), "IDTPBUTTON = '5'");
  EXPECT_TRUE(types.Filtered());
  EXPECT_EQ(types.RecordCount(), 5);
  const std::string forms = "Dinheiro        " + std::string(20, '0') + "0";
  EXPECT_THAT(Logged(), ElementsAre("Bematech_FI_VerificaFormasPagamento\r\n"
                                    "Retorno da Impressora : " +
                                        forms + std::string(3016 - forms.size(), ' '),
                                    std::string(kProgramForm) + " : Cartao Credito1",
                                    std::string(kProgramForm) + " : Rel Gerencial1"));
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(PaymentFormTest, ANameLongerThanSixteenCountsOnItsFirstSixteen) {
  Dataset types = HostPaymentTypes({{"001", "5", "1", "S", "Vale Refeicao Empresa"}});

  Reconcile(types);
  EXPECT_THAT(Calls(kProgramForm), Contains(Programmed("Vale Refeicao Em")));
  EXPECT_EQ(Rows(types).at("001"), (Reconciled{"Vale Refeicao Em", "S", "S"}));

  ClearSimJournal();
  Dataset again = HostPaymentTypes({{"001", "5", "1", "S", "VALE REFEICAO EMPRESA XYZ"}});
  Reconcile(again);
  EXPECT_THAT(Calls(kProgramForm), IsEmpty());
  EXPECT_EQ(Rows(again).at("001"), (Reconciled{"Vale Refeicao Em", "S", "S"}));
}

TEST_F(PaymentFormTest, APrinterHoldingTheReportFormGetsNoExtraProgramming) {
  ProgramOnPrinter("Rel Gerencial");
  ClearSimJournal();
  Dataset types = HostPaymentTypes({{"001", "5", "1", "S", "Dinheiro"}});

  Reconcile(types);

  EXPECT_THAT(Calls(kProgramForm), IsEmpty());
}

TEST_F(PaymentFormTest, APartOfAProgrammedNameIsNotThatForm) {
  ProgramOnPrinter("Cartao Credito");
  ProgramOnPrinter("Rel Gerencial");
  ClearSimJournal();
  Dataset types = HostPaymentTypes({{"001", "5", "1", "S", "Cartao"}});

  Reconcile(types);

  EXPECT_THAT(Calls(kProgramForm), ElementsAre(Programmed("Cartao")));
  EXPECT_EQ(Rows(types).at("001"), (Reconciled{"Cartao", "S", "S"}));
}

TEST_F(PaymentFormTest, AFormProgrammedInThisRunIsNotTakenForALongerOne) {
  Dataset types =
      HostPaymentTypes({{"001", "5", "1", "S", "Visa Cartao"}, {"002", "5", "1", "S", "Cartao"}});

  Reconcile(types);

  EXPECT_THAT(Calls(kProgramForm), ElementsAre(Programmed("Visa Cartao"), Programmed("Cartao"),
                                               Programmed("Rel Gerencial")));
}

TEST_F(PaymentFormTest, AnotherRowsCodeForTheSamePrinterNameIsTaken) {
  Dataset types = HostPaymentTypes(
      {{"001", "5", "1", "S", "Dinheiro", "07"}, {"002", "5", "1", "S", "dinheiro"}});

  Reconcile(types);

  const std::map<std::string, Reconciled> rows = Rows(types);
  EXPECT_EQ(rows.at("001"), (Reconciled{"Dinheiro", "07", "S"}));
  EXPECT_EQ(rows.at("002"), (Reconciled{"Dinheiro", "07", "S"}));
}

TEST_F(PaymentFormTest, ARefusedFormLeavesItsRowAndTheRestGoesOn) {
  FailEntry(kProgramForm, -1, 1);
  Dataset types =
      HostPaymentTypes({{"001", "5", "1", "S", "Ticket"}, {"002", "5", "1", "S", "Dinheiro"}});

  Reconcile(types);

  const std::map<std::string, Reconciled> rows = Rows(types);
  EXPECT_EQ(rows.at("001"), (Reconciled{"", "", ""}));
  EXPECT_EQ(rows.at("002"), (Reconciled{"Dinheiro", "S", "S"}));
  EXPECT_THAT(Logged(), Contains("ERRO!!! Erro de execução na função."));
  EXPECT_THAT(Calls(kProgramForm), Contains(Programmed("Rel Gerencial")));
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(PaymentFormTest, AMissingFieldIsRefusedBeforeThePrinterIsAsked) {
  Dataset types("cdsTipoRece");
  types.SetFieldDefs({{"CDTIPORECE", FieldType::kText, 3},
                      {"IDTPBUTTON", FieldType::kText, 1},
                      {"IDTIPORECE", FieldType::kText, 1},
                      {"IDMOSTRARECE", FieldType::kText, 1},
                      {"NMTIPORECE", FieldType::kText, 40},
                      {"CDFPIMPFIS", FieldType::kText, 10},
                      {"IDEMIVALE", FieldType::kText, 1}});
  types.CreateDataSet();

  EXPECT_THROW(Reconcile(types), Error);

  EXPECT_THAT(SimJournal(), IsEmpty());
  EXPECT_FALSE(types.Filtered());
}

TEST_F(PaymentFormTest, ARowWithoutAPrinterNameIsLeftOutAndTheRestReconciled) {
  Dataset types = HostPaymentTypes({{"001", "5", "1", "S", "Dinheiro"},
                                    {"002", "5", "1", "S", "   "},
                                    {"003", "5", "1", "S", "Ticket"}});

  EXPECT_NO_THROW(Reconcile(types));

  const std::map<std::string, Reconciled> rows = Rows(types);
  EXPECT_EQ(rows.at("001"), (Reconciled{"Dinheiro", "S", "S"}));
  EXPECT_EQ(rows.at("002"), (Reconciled{"", "", ""}));
  EXPECT_EQ(rows.at("003"), (Reconciled{"Ticket", "S", "S"}));
  EXPECT_THAT(Calls(kProgramForm), ElementsAre(Programmed("Ticket"), Programmed("Rel Gerencial")));
  std::vector<std::string> problems;
  for (const std::string& line : Logged()) {
    if (line.starts_with("ERRO!!! ")) problems.push_back(line);
  }
  EXPECT_THAT(problems, ElementsAre(HasSubstr("payment type \"002\" has no printer name")));
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(PaymentFormTest, ARowWithoutAPrinterNameThatIsNotReconciledIsFine) {
  Dataset types = HostPaymentTypes({{"001", "5", "1", "N", ""}, {"002", "4", "1", "S", ""}});

  Reconcile(types);

  EXPECT_THAT(Calls(kProgramForm), ElementsAre(Programmed("Rel Gerencial")));
}

TEST_F(PaymentFormTest, ConfigFormaPgProgramsTheFirstSixteenCharacters) {
  auto* config = Op<ConfigFormaPgFn>("Config_FormaPg");

  EXPECT_TRUE(config(kScheme, "Cartao Alimentacao", true, false));

  EXPECT_THAT(Calls(kProgramForm), ElementsAre(Programmed("Cartao Alimentac")));
  EXPECT_THAT(Logged(), ElementsAre(std::string(kProgramForm) + " : Cartao Alimentac1"));
}

TEST_F(PaymentFormTest, ConfigFormaPgShowsARefusalWhenAsked) {
  auto* config = Op<ConfigFormaPgFn>("Config_FormaPg");
  FailEntry(kProgramForm, -1, 2);

  EXPECT_FALSE(config(kScheme, "Ticket", false, false));
  EXPECT_THAT(host_.dialogs, IsEmpty());
  EXPECT_FALSE(config(kScheme, "Ticket", true, false));
  ASSERT_EQ(host_.dialogs.size(), 1u);
  EXPECT_EQ(host_.dialogs[0].colour_scheme, kScheme);
}

TEST_F(PaymentFormTest, ConfigFormaPgRefusesABlankName) {
  auto* config = Op<ConfigFormaPgFn>("Config_FormaPg");

  EXPECT_THROW(config(kScheme, "  ", true, false), Error);

  EXPECT_THAT(SimJournal(), IsEmpty());
}

}  // namespace
}  // namespace zel
