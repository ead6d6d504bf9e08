#include "restaurant/table_fixture.h"

#include "host/codepage.h"

namespace zel {
namespace {

constexpr char kFramePrefix[] = "BemaFormataTX|\x1b";
constexpr char kPiecePrefix[] = "Bematech_FI_UsaComprovanteNaoFiscalVinculado|";

}  // namespace

void TableFixture::SetUp() {
  SaleFixture::SetUp();
  BindPrinterEntries();
  ASSERT_EQ(Sim<int(int, int, int)>("EcfSim_SetTaxRate")(1, 1800, 0), 1);
  ASSERT_EQ(
      Sim<int(int, const char*)>("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms")(2, "Rel Gerencial"),
      1);
  ASSERT_EQ(Sim<int(const char*, const char*)>("Bematech_FI_ProgramaFormaPagamentoMFD")(
                "Rel Gerencial", "1"),
            1);
  Var<std::string>("IdTotRelatorio") = "02";
  Var<std::string>("dsDirCad") = env_.HostExecutableDirectory() + "\\";
  ClearSimJournal();
}

std::vector<std::string> TableFixture::FramesSent() {
  const std::string prefix = kFramePrefix;
  std::vector<std::string> frames;
  for (const std::string& line : SimJournal()) {
    if (line.rfind(prefix, 0) != 0) continue;
    std::string frame = line.substr(prefix.size(), line.size() - prefix.size() - 1);
    if (frame != "|19|") frames.push_back(frame);
  }
  return frames;
}

std::vector<std::string> TableFixture::PiecesSent() {
  const std::string prefix = kPiecePrefix;
  std::vector<std::string> pieces;
  for (const std::string& line : SimJournal()) {
    if (line.rfind(prefix, 0) == 0) pieces.push_back(line.substr(prefix.size()));
  }
  return pieces;
}

std::string TableFixture::TextSent() {
  std::string text;
  for (const std::string& piece : PiecesSent()) text += piece;
  return text;
}

std::vector<std::string> TableFixture::Tape() {
  return env_.ReadLines(env_.root() + "/ecfsim/tape.txt");
}

std::vector<std::string> TableFixture::Dialogs() {
  std::vector<std::string> texts;
  for (const std::string& text : host_.DialogTexts()) texts.push_back(Cp1252ToUtf8(text));
  return texts;
}

Dataset HostTable(const std::vector<FieldDef>& fields,
                  const std::vector<std::vector<Variant>>& rows) {
  Dataset table("cdsHost");
  table.SetFieldDefs(fields);
  table.CreateDataSet();
  for (const std::vector<Variant>& row : rows) {
    table.Append();
    for (std::size_t i = 0; i < fields.size(); ++i) table.SetValue(fields[i].name, row.at(i));
    table.Post();
  }
  return table;
}

std::string TableFixture::HostFolder() { return env_.HostExecutableDirectory() + "/"; }

}  // namespace zel
