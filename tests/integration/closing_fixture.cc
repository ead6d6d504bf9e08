#include "closing_fixture.h"

#include <gtest/gtest.h>

#include "host/codepage.h"

namespace zel {
namespace {

constexpr char kPiecePrefix[] = "Bematech_FI_UsaComprovanteNaoFiscalVinculado|";

FieldDef Text(const char* name, int size) { return {name, FieldType::kText, size}; }
FieldDef Float(const char* name) { return {name, FieldType::kFloat, 0}; }

}  // namespace

std::string Cp(const std::string& text) { return Utf8ToCp1252(text); }

std::string SixDigits(long long number) {
  std::string digits = std::to_string(number);
  return std::string(digits.size() < 6 ? 6 - digits.size() : 0, '0') + digits;
}

Dataset Products(const std::vector<SoldProduct>& products) {
  Dataset dataset("Produtos");
  dataset.SetFieldDefs({Text("CDPRODUTO", 20), Text("NMPRODUTO", 60), Float("QTPRODVEND"),
                        Float("VRTOTAL"), Float("VRACRE"), Float("VRDESC"), Text("IDTPIMPOSFIS", 1),
                        Float("VRPEALIMPFIS")});
  dataset.CreateDataSet();
  for (const SoldProduct& p : products) {
    dataset.Append();
    dataset.SetValue("CDPRODUTO", Cp(p.code));
    dataset.SetValue("NMPRODUTO", Cp(p.name));
    dataset.SetValue("QTPRODVEND", p.quantity);
    dataset.SetValue("VRTOTAL", p.value);
    dataset.SetValue("VRACRE", p.surcharge);
    dataset.SetValue("VRDESC", p.discount);
    dataset.SetValue("IDTPIMPOSFIS", p.situation);
    dataset.SetValue("VRPEALIMPFIS", p.rate);
    dataset.Post();
  }
  return dataset;
}

Dataset ClosingMovements(const std::vector<HandedIn>& rows) {
  Dataset dataset("MovFecha");
  dataset.SetFieldDefs({Text("CDTIPORECE", 3), Text("NMTIPORECE", 40), Float("VRFECHAINF"),
                        Float("VRFECHADIG"), Text("NRENVELOPE", 6)});
  dataset.CreateDataSet();
  for (const HandedIn& row : rows) {
    dataset.Append();
    dataset.SetValue("NRENVELOPE", row.envelope);
    dataset.SetValue("NMTIPORECE", Cp(row.payment_type));
    dataset.SetValue("VRFECHAINF", row.informed);
    dataset.SetValue("VRFECHADIG", row.counted);
    dataset.Post();
  }
  return dataset;
}

Dataset TillMovements(const std::vector<TillMovement>& rows) {
  Dataset dataset("Movimentos");
  dataset.SetFieldDefs(
      {Text("IDTIPOREG", 1), Text("CDTIPORECE", 3), Text("NMTIPORECE", 40), Float("VRSAIDA")});
  dataset.CreateDataSet();
  for (const TillMovement& row : rows) {
    dataset.Append();
    dataset.SetValue("IDTIPOREG", row.kind);
    dataset.SetValue("NMTIPORECE", Cp(row.name));
    dataset.SetValue("VRSAIDA", row.value);
    dataset.Post();
  }
  return dataset;
}

Dataset OperatorAndSupervisor(bool with_row) {
  Dataset dataset("OperadorSup");
  dataset.SetFieldDefs({Text("CDOPERADOR", 4), Text("NMOPERADOR", 40), Text("CDSUPERVISOR", 4),
                        Text("NMSUPERVISOR", 40)});
  dataset.CreateDataSet();
  if (with_row) {
    dataset.Append();
    dataset.SetValue("CDOPERADOR", "07");
    dataset.SetValue("NMOPERADOR", "ANA");
    dataset.SetValue("CDSUPERVISOR", "01");
    dataset.SetValue("NMSUPERVISOR", "BRUNO");
    dataset.Post();
  }
  return dataset;
}

void ClosingFixture::SetUp() {
  DriverFixture::SetUp();
  BindPrinterEntries();
  ASSERT_EQ(
      Sim<int(int, const char*)>("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms")(2, "Rel Gerencial"),
      1);
  ASSERT_EQ(Sim<int(const char*, const char*)>("Bematech_FI_ProgramaFormaPagamentoMFD")(
                "Rel Gerencial", "1"),
            1);
  Var<std::string>("IdTotRelatorio") = "02";
  ClearSimJournal();
}

std::vector<std::string> ClosingFixture::Pieces() {
  std::vector<std::string> pieces;
  for (const std::string& call : SimJournal()) {
    if (call.starts_with(kPiecePrefix)) {
      pieces.push_back(call.substr(sizeof kPiecePrefix - 1));
    }
  }
  return pieces;
}

std::vector<std::string> ClosingFixture::Steps() {
  std::vector<std::string> steps;
  for (const std::string& call : SimJournal()) {
    if (call.starts_with("Bematech_FI_RecebimentoNaoFiscal|")) steps.push_back("receipt");
    if (call.starts_with("Bematech_FI_AbreComprovanteNaoFiscalVinculado|")) {
      steps.push_back("open");
    }
    if (call.starts_with(kPiecePrefix)) steps.push_back("piece");
    if (call == "Bematech_FI_FechaRelatorioGerencial") steps.push_back("close");
    if (call == "Bematech_FI_LeituraX") steps.push_back("x");
  }
  return steps;
}

std::vector<std::string> ClosingFixture::Dialogs() {
  std::vector<std::string> texts;
  for (const std::string& text : host_.DialogTexts()) texts.push_back(Cp1252ToUtf8(text));
  return texts;
}

int ClosingFixture::ExtendedStatus() {
  int status = -1;
  Sim<int(int*)>("Bematech_FI_StatusEstendidoMFD")(&status);
  return status;
}

}  // namespace zel
