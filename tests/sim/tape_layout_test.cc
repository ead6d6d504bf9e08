// The paper roll as people read it: every document on 48 columns, one money
// format, the X and Z figures in the same columns, and the marks a host
// steering the printer leaves on it.
#include <gmock/gmock.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "printer_fixture.h"

namespace ecfsim_test {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;
using TapeLayoutTest = PrinterTest;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Columns of a UTF-8 line: its code points.
int Columns(const std::string& line) {
  int count = 0;
  for (const char c : line) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  return count;
}

// The lines of the document whose title line reads `title`, up to its footer.
std::vector<std::string> Document(const std::vector<std::string>& tape, const std::string& title) {
  std::vector<std::string> lines;
  bool inside = false;
  for (const std::string& line : tape) {
    const std::size_t start = line.find_first_not_of(' ');
    if (!inside && start != std::string::npos && line.substr(start).starts_with(title)) {
      inside = true;
    } else if (inside && line.starts_with("BEMATECH")) {
      break;
    } else if (inside) {
      lines.push_back(line);
    }
  }
  return lines;
}

// A day with every kind of document the printer prints, and figures large
// enough to need every thousands dot.
void PrintEveryDocument() {
  ASSERT_EQ(Bematech_FI_Suprimento("1234567,89", "Dinheiro"), 1);
  ASSERT_EQ(Bematech_FI_AbreCupomMFD(nullptr, nullptr, nullptr), 1);
  ASSERT_EQ(Bematech_FI_VendeItemDepartamento("7891000100103", "ARROZ", "01", "9999999,99",
                                              "180,000", "00", "0000", "01", "UN"),
            1);
  ASSERT_EQ(Bematech_FI_VendeItemDepartamento("2", "FEIJAO", "02", "8,49", "3,000", "0,10", "0,20",
                                              "01", "KG"),
            1);
  ASSERT_EQ(Bematech_FI_CancelaItemGenerico("2"), 1);
  ASSERT_EQ(Bematech_FI_IniciaFechamentoCupom("A", "$", "0,60"), 1);
  ASSERT_EQ(Bematech_FI_EfetuaFormaPagamento("Dinheiro", "1800000000,00"), 1);
  ASSERT_EQ(Bematech_FI_TerminaFechamentoCupom(""), 1);
  ASSERT_EQ(Bematech_FI_AbreCupomMFD(nullptr, nullptr, nullptr), 1);
  ASSERT_EQ(Bematech_FI_VendeItemDepartamento("3", "CAFE", "01", "15,90", "1,000", "00", "0000",
                                              "01", "UN"),
            1);
  ASSERT_EQ(Bematech_FI_IniciaFechamentoCupom("D", "$", "1,00"), 1);
  ASSERT_EQ(Bematech_FI_EfetuaFormaPagamento("Dinheiro", "20,00"), 1);
  ASSERT_EQ(Bematech_FI_TerminaFechamentoCupom("Volte sempre"), 1);
  ASSERT_EQ(Bematech_FI_CancelaCupom(), 1);
  ASSERT_EQ(Bematech_FI_RelatorioGerencial("linha do relatório\n"), 1);
  ASSERT_EQ(Bematech_FI_FechaRelatorioGerencial(), 1);
  ASSERT_EQ(Bematech_FI_Sangria("4,50"), 1);
  ASSERT_EQ(Bematech_FI_LeituraX(), 1);
  ASSERT_EQ(Bematech_FI_ReducaoZ(nullptr, nullptr), 1);
  ASSERT_EQ(Bematech_FI_LeituraMemoriaFiscalData("01/01/2000", "31/12/2099"), 1);
}

TEST_F(TapeLayoutTest, EveryDocumentFitsTheRollWithOneMoneyFormat) {
  PrintEveryDocument();
  const std::vector<std::string> tape = Lines(ReadFile("tape.txt"));
  for (const char* title :
       {"COMPROVANTE NÃO FISCAL", "CUPOM FISCAL", "CANCELAMENTO DE CUPOM FISCAL",
        "RELATÓRIO GERENCIAL", "LEITURA X", "REDUÇÃO Z", "LEITURA DA MEMÓRIA FISCAL"}) {
    EXPECT_THAT(Document(tape, title), Not(testing::IsEmpty())) << title;
  }
  // The money of every line: digits, a dot every three, a comma and cents.
  const std::regex amount(R"((^|[ +\-R$])(\d[\d.]*,\d\d)(?![\d%]))");
  const std::regex brazilian(R"(\d{1,3}(\.\d{3})*,\d\d)");
  const std::string dashes(48, '-');
  for (std::size_t i = 0; i < tape.size(); ++i) {
    const std::string& line = tape[i];
    EXPECT_LE(Columns(line), 48) << line;
    EXPECT_THAT(line, Not(HasSubstr("NAO"))) << "accents are written out";
    if (i > 0) {
      EXPECT_FALSE(line == dashes && tape[i - 1] == dashes) << "doubled dashes at line " << i;
    }
    for (std::sregex_iterator it(line.begin(), line.end(), amount), end; it != end; ++it) {
      EXPECT_TRUE(std::regex_match((*it)[2].str(), brazilian)) << line;
    }
  }
  const std::vector<std::string> x = Document(tape, "LEITURA X");
  EXPECT_THAT(x, Contains("T01 18,00%   1.799.999.998,80     323.999.999,78"))
      << "the rate's base (the surcharge shared in) and its tax with every dot";
  EXPECT_THAT(tape, Contains("    180,000UN x 9.999.999,99" + std::string(20, ' ')))
      << "a price too wide to share its line with the total is never cut";
  EXPECT_THAT(tape, Contains(std::string(24, ' ') + "T18,00% 1.799.999.998,20"));
  EXPECT_THAT(tape, Contains("Total Não Fiscal:                   1.234.572,39"));
}

// The label of a figure line and the column its figure ends at.
struct FigureLine {
  std::string label;
  int end = 0;
  bool operator==(const FigureLine&) const = default;
};

std::vector<FigureLine> Figures(const std::vector<std::string>& lines) {
  std::vector<FigureLine> figures;
  const std::regex figure(R"(^(.*?\S)\s+([\d.,:]+( reduções)?)$)");
  std::smatch match;
  for (const std::string& line : lines) {
    if (std::regex_match(line, match, figure)) figures.push_back({match[1], Columns(line)});
  }
  return figures;
}

TEST_F(TapeLayoutTest, TheXAndTheZShowTheirFiguresInTheSameColumns) {
  PrintEveryDocument();
  const std::vector<std::string> tape = Lines(ReadFile("tape.txt"));
  std::vector<std::string> x = Document(tape, "LEITURA X");
  std::vector<std::string> z = Document(tape, "REDUÇÃO Z");
  ASSERT_FALSE(x.empty());
  ASSERT_FALSE(z.empty());
  EXPECT_THAT(z.front(), testing::MatchesRegex("MOVIMENTO DO DIA: +[0-9/]+"));
  EXPECT_EQ(Columns(z.front()), 48);
  z.erase(z.begin());
  const std::vector<FigureLine> x_figures = Figures(x);
  ASSERT_GT(x_figures.size(), 30u);
  EXPECT_EQ(x_figures, Figures(z)) << "the same figures, labels and columns";
  // The headings of the columns end where their figures end.
  int checked = 0;
  for (const std::string& line : x) {
    checked +=
        line.starts_with("Alíquota") || line.starts_with("T01") || line.starts_with("Nº Descrição");
    if (line.starts_with("Alíquota")) {
      EXPECT_EQ(Columns(line), 48);
      const std::string base = "Cálculo";
      EXPECT_EQ(Columns(line.substr(0, line.find(base) + base.size())), 29) << line;
    } else if (line.starts_with("T01")) {
      EXPECT_EQ(line.substr(26, 4), ",80 ") << "the base ends at column 29: " << line;
    } else if (line.starts_with("Nº Descrição")) {
      EXPECT_EQ(Columns(line), 48);
    }
  }
  EXPECT_EQ(checked, 4) << "two rate headings, the T01 row, the totalizers' heading";
  for (const FigureLine& figure : x_figures) {
    // The rate rows hold two figures; the others end at the paper's edge.
    EXPECT_EQ(figure.end, 48) << figure.label;
  }
}

TEST_F(TapeLayoutTest, AMarkGoesOnThePaperAndInTheJournalButNotInTheDetailTape) {
  PrintEveryDocument();
  const std::string detail_before = ReadFile("mfd.txt");
  const long long coo = Figure("coo");

  EcfSim_Mark("sem papel");
  EcfSim_Mark("falha: AbreComprovanteNaoFiscalVinculado (-27) e mais um texto longo");

  const std::vector<std::string> tape = Lines(ReadFile("tape.txt"));
  EXPECT_THAT(tape, Contains("               *** sem papel ***                "));
  const std::vector<std::string> last(tape.end() - 3, tape.end());
  for (const std::string& line : last) {
    EXPECT_LE(Columns(line), 48);
    EXPECT_THAT(line, testing::MatchesRegex(" *\\*\\*\\* .* \\*\\*\\* *")) << "whole words";
  }
  EXPECT_EQ(ReadFile("mfd.txt"), detail_before);
  EXPECT_EQ(Figure("coo"), coo) << "a mark is no document";
  EXPECT_THAT(Journal(), Contains("EcfSim_Mark|sem papel"));
  // The journal file holds every call, the marks too, after the process's
  // journal is cleared.
  EcfSim_JournalClear();
  const std::vector<std::string> kept = Lines(ReadFile("journal.txt"));
  EXPECT_THAT(kept, Contains("EcfSim_Mark|sem papel"));
  EXPECT_THAT(kept, Contains(HasSubstr("Bematech_FI_ReducaoZ")));
  EcfSim_Reset();
  EXPECT_EQ(ReadFile("journal.txt"), "") << "a new printer has no journal";
}

}  // namespace
}  // namespace ecfsim_test
