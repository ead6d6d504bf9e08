#include "core/data_module.h"

#include <array>
#include <string>

#include "core/message_texts.h"
#include "zel/driver_state.h"

namespace zel {
namespace {

FieldDef Text(const char* name, int size) { return {name, FieldType::kText, size}; }
FieldDef Float(const char* name) { return {name, FieldType::kFloat, 0}; }
FieldDef Stamp(const char* name) { return {name, FieldType::kDateTime, 0}; }

// One row per payment type of the host's configuration. CDFPIMPFIS marks a
// type programmed in the printer; DSIMPFISCAL is the printer's name for it.
std::vector<FieldDef> PaymentTypeFields() {
  return {
      Text("CDFILIAL", 4),      Text("CDTIPORECE", 3),    Text("NMTIPORECE", 40),
      Float("VRTAXAADMI"),      Float("VRMINCARTAO"),     Text("CDTIPOTROCO", 3),
      Text("NRORDTROCO", 3),    Text("IDEMIVALE", 1),     Text("IDVALE", 1),
      Text("IDDEBCLIE", 1),     Text("CDFPIMPFIS", 10),   Text("IDTIPORECE", 1),
      Text("CDTPINDICE", 1),    Text("IDPERVALOR", 1),    Text("CDINDICE", 4),
      Text("NRCONFTELA", 5),    Text("IDTPBUTTON", 1),    Text("NRBUTTON", 5),
      Text("NRPGCONFTELA", 2),  Text("IDTPBUTONAUX", 1),  Text("NRBUTTONAUX", 5),
      Text("NRPGCONFTAUX", 2),  Text("CDIDENTBUTON", 10), Text("DSBUTTON", 40),
      Float("NRCOLORTEXT"),     Float("NRCOLORBACK"),     Text("DSMESSAGEBUT", 300),
      Text("DSIMAGEMBUT", 200), Text("DSIMPFISCAL", 50),  Text("CDADMINCART", 20),
      Text("CDBANCARTCR", 10),  Text("IDMOSTRARECE", 1),  Text("IDDESABTEF", 1),
  };
}

// The closing's auxiliary copy stops at DSIMAGEMBUT: it never reads the
// printer and card fields.
std::vector<FieldDef> PaymentTypeFieldsUpToImage() {
  std::vector<FieldDef> fields = PaymentTypeFields();
  fields.resize(28);
  return fields;
}

std::vector<FieldDef> ReductionFields() {
  return {
      Text("NRECFREDZ", 4),     Stamp("DTREDUCAOZ"),      Text("NRREINIREDZ", 10),
      Text("NRREDREDZ", 10),    Text("NRLEITREDZ", 10),   Text("NRGERCNFREDZ", 10),
      Text("NRCANCFREDZ", 10),  Text("NRPRIMCFREDZ", 10), Text("NRULTCFREDZ", 10),
      Float("VRGTREDZ"),        Float("VRVENBRUREDZ"),    Float("VRISSREDZ"),
      Float("VRTOTCANREDZ"),    Float("VRTOTDESREDZ"),    Float("VRVENLIQREDZ"),
      Float("VRTOTACRREDZ"),    Float("VRSTRIBREDZ"),     Float("VRISENCREDZ"),
      Float("VRNINCIDREDZ"),    Text("QTTEMLIGREDZ", 6),  Text("QTTEMPCFREDZ", 6),
      Float("QTMEMRESREDZ"),    Text("IDORIGEMREDZ", 3),  Text("DSMODMARCAECF", 30),
      Text("NRUSUARIOMFD", 10), Text("CDMFADICIONAL", 5), Stamp("DTGRAVSBECF"),
  };
}

// The closing report's copy of the reduction row has no origin field.
std::vector<FieldDef> ReductionFieldsWithoutOrigin() {
  std::vector<FieldDef> fields = ReductionFields();
  std::erase_if(fields, [](const FieldDef& field) { return field.name == "IDORIGEMREDZ"; });
  return fields;
}

std::vector<FieldDef> ReductionPaymentFields() {
  return {Text("NRECFREDZ", 4), Stamp("DTREDUCAOZ"), Text("CDTIPORECE", 3), Float("VRFORMPGTORZ"),
          Text("CDTPRECEORIG", 3)};
}

std::vector<FieldDef> ReductionTaxFields() {
  return {Text("NRECFREDZ", 4),  Stamp("DTREDUCAOZ"),   Text("CDALIQIMPRZ", 10),
          Float("VRALIQIMPRZ"),  Float("VRBCALCIMPRZ"), Float("VRIMPOSTORZ"),
          Text("IDTPIMPREDZ", 1)};
}

std::vector<FieldDef> ReductionNonFiscalFields() {
  return {Text("NRECFREDZ", 4),     Stamp("DTREDUCAOZ"),      Text("NRTOTNFISCRZ", 10),
          Text("DSTOTNFISCRZ", 50), Text("NRCONTOTNFIS", 10), Float("VRACUTOTNFIS")};
}

std::vector<FieldDef> CashOutFields() {
  return {Text("IDTIPOREG", 1), Text("CDTIPORECE", 3), Text("NMTIPORECE", 40), Float("VRSAIDA")};
}

// Both cash-movement tables: change order first, newest payment first
// within it; the payments themselves go out oldest first.
void AddCashMovementIndexes(Dataset& dataset) {
  dataset.AddIndex("idxNRORDTROCO", "NRORDTROCO;DTHRINCMOV", "DTHRINCMOV");
  dataset.AddIndex("idxDTHRINCMOV", "DTHRINCMOV");
  dataset.SetIndexName("idxNRORDTROCO");
}

using DatasetMember = Dataset TdtmBematech10::*;

constexpr std::array<DatasetMember, 36> kDatasetMembers = {
    &TdtmBematech10::cdsAliqImpFis,       &TdtmBematech10::cdsReceb,
    &TdtmBematech10::cdsParcProdutos,     &TdtmBematech10::cdsMovCaixa,
    &TdtmBematech10::cdsMovCaixaTef,      &TdtmBematech10::cdsRecebAux,
    &TdtmBematech10::cdsTipoRece,         &TdtmBematech10::cdsMovFecha,
    &TdtmBematech10::cdsSangria,          &TdtmBematech10::cdsOperadorSup,
    &TdtmBematech10::cdsTipoReceAux,      &TdtmBematech10::cdsMovAbertura,
    &TdtmBematech10::cdsMovTot,           &TdtmBematech10::cdsRedzAux01,
    &TdtmBematech10::cdsFormRedzAux01,    &TdtmBematech10::cdsTotNFisAux01,
    &TdtmBematech10::cdsImpostoRedzAux01, &TdtmBematech10::cdsReducaoZ,
    &TdtmBematech10::cdsFormPgtoRedZ,     &TdtmBematech10::cdsImpostoRedZ,
    &TdtmBematech10::cdsTotNFiscRedZ,     &TdtmBematech10::cdsTeste,
    &TdtmBematech10::cdsProdVend,         &TdtmBematech10::cdsAliqProduto,
    &TdtmBematech10::cdsItemsReg,         &TdtmBematech10::cdsProdDeb,
    &TdtmBematech10::cdsTipoReceHomolog,  &TdtmBematech10::cdsMesaAberZel,
    &TdtmBematech10::cdsProdutoTransf,    &TdtmBematech10::cdsDadosPaf,
    &TdtmBematech10::cdsBuscaNrSerieEcf,  &TdtmBematech10::cdsCheckECF,
    &TdtmBematech10::cdsParametros,       &TdtmBematech10::cdsEmprestimo,
    &TdtmBematech10::cdsFamiliaSaldo,     &TdtmBematech10::cdsSaldCred,
};

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

}  // namespace

TdtmBematech10::TdtmBematech10()
    : msgPadrao(StandardMessageRows()), msgPadrao2(SecondaryMessageRows()) {
  cdsAliqImpFis.SetFieldDefs(
      {Text("CDALIQIMPFIS", 10), Float("VRALIQIMPFIS"), Text("IDALIQIMPFIS", 1)});
  cdsAliqImpFis.AddIndex("IdxIdAliqVrAliq", "IDALIQIMPFIS;VRALIQIMPFIS");
  cdsAliqImpFis.SetIndexName("IdxIdAliqVrAliq");

  cdsReceb.SetFieldDefs(PaymentTypeFields());
  AddCashMovementIndexes(cdsMovCaixa);
  AddCashMovementIndexes(cdsMovCaixaTef);
  cdsRecebAux.SetFieldDefs(PaymentTypeFieldsUpToImage());
  cdsTipoRece.SetFieldDefs(PaymentTypeFields());

  cdsMovFecha.SetFieldDefs({Text("CDTIPORECE", 3), Text("NMTIPORECE", 40), Stamp("DTABERCAIX"),
                            Float("VRFECHAINF"), Float("VRFECHADIG"), Text("NRENVELOPE", 6)});
  cdsSangria.SetFieldDefs(
      {Text("CDTIPORECE", 3), Text("NMTIPORECE", 40), Float("VRSANGRIA"), Text("CDCLIENTE", 21)});
  cdsTipoReceAux.SetFieldDefs(PaymentTypeFields());
  cdsMovAbertura.SetFieldDefs(CashOutFields());
  cdsMovTot.SetFieldDefs(CashOutFields());

  cdsRedzAux01.SetFieldDefs(ReductionFieldsWithoutOrigin());
  cdsFormRedzAux01.SetFieldDefs(ReductionPaymentFields());
  cdsTotNFisAux01.SetFieldDefs(ReductionNonFiscalFields());
  cdsImpostoRedzAux01.SetFieldDefs(ReductionTaxFields());
  cdsReducaoZ.SetFieldDefs(ReductionFields());
  cdsFormPgtoRedZ.SetFieldDefs(ReductionPaymentFields());
  cdsImpostoRedZ.SetFieldDefs(ReductionTaxFields());
  cdsTotNFiscRedZ.SetFieldDefs(ReductionNonFiscalFields());

  cdsTeste.SetFieldDefs({Float("QTPRODCOMVEN"), Float("VRPRECCOMVEN"), Text("CDARVPROD", 20),
                         Text("NMPRODUTO", 50), Text("CDPRODUTO", 10)});
  cdsProdVend.AddIndex("IDXCDPRODUTO", "CDPRODUTO");
  cdsProdVend.AddIndex("idxTributacao", "IDTPIMPOSFIS;VRPEALIMPFIS");
  cdsAliqProduto.SetFieldDefs(
      {Float("VRPERCSITTRIB"), Float("VRTOTALALIQ"), Text("IDTPIMPOSFIS", 20)});
  cdsAliqProduto.AddIndex("idxTributacao", "VRPERCSITTRIB");
}

std::vector<Dataset*> TdtmBematech10::Datasets() {
  std::vector<Dataset*> datasets;
  datasets.reserve(kDatasetMembers.size());
  for (DatasetMember member : kDatasetMembers) datasets.push_back(&(this->*member));
  return datasets;
}

Dataset* TdtmBematech10::FindDataset(std::string_view name) {
  for (DatasetMember member : kDatasetMembers) {
    Dataset& dataset = this->*member;
    if (SameNameIgnoringCase(dataset.Name(), name)) return &dataset;
  }
  return nullptr;
}

TdtmBematech10& EnsureDataModule() {
  // Owned by nobody and never freed: hosts may hold on to its datasets
  // until the process ends.
  if (Zel00101::dtmBematech10 == nullptr) Zel00101::dtmBematech10 = new TdtmBematech10();
  return *Zel00101::dtmBematech10;
}

std::string MsgPadrao(std::string_view key) { return EnsureDataModule().msgPadrao.Msg(key); }

std::string MsgPadrao(std::string_view key, std::string_view file_name) {
  return EnsureDataModule().msgPadrao.Msg(key, file_name);
}

std::string MsgPadrao2(std::string_view key) { return EnsureDataModule().msgPadrao2.Msg(key); }

std::string MsgPadrao2(std::string_view key, std::string_view file_name) {
  return EnsureDataModule().msgPadrao2.Msg(key, file_name);
}

}  // namespace zel
