// The table documents the driver prints as linked receipts, through the
// loaded driver against the simulated printer: the pieces the printer
// received, what the operations return and what the host records.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host/codepage.h"
#include "restaurant/table_fixture.h"

namespace zel {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

using ConferenciaFn = bool(const std::string&, std::string&, const std::string&);
using FormatadaFn = bool(const std::string&, const std::string&, const std::string&,
                         const std::string&, std::string&, const std::string&);
using TrocaFn = bool(const std::string&, const std::string&, const std::string&,
                     const std::string&);
using AberturaFn = bool(const std::string&, const std::string&, const std::string&,
                        const std::string&, const std::string&, const Variant&, double, double,
                        double, double, double, double, double);
using RegistroFn = bool(const std::string&, const std::string&, const std::string&, Dataset&,
                        const std::string&);

constexpr char kScheme[] = "033";
const std::string kBlank(48, ' ');
const std::string kDashes(48, '-');
const std::string kFooter = "Zelvora PDV (11)5555-0123 www.zelvora.example";

std::string Spaces(int n) { return std::string(n, ' '); }

std::string SixDigits(long long n) {
  char text[16];
  std::snprintf(text, sizeof text, "%06lld", n);
  return text;
}

class TableDocumentsTest : public TableFixture {
 protected:
  bool Abertura(double discount, double fee, double total, double surcharge) {
    Dataset items = HostTable({{"CDARVPROD", FieldType::kText, 20},
                               {"NMPRODUTO", FieldType::kText, 50},
                               {"QTPRODCOMVEN", FieldType::kFloat, 0},
                               {"VRPRECCOMVEN", FieldType::kFloat, 0}},
                              {{"789", "COCA COLA", 2.0, 3.5}, {"100", "PRATO FEITO", 1.5, 10.99}});
    return Op<AberturaFn>("Abertura_Mesa")(kScheme, "x", "0012", "x", "07/12/2026 10:05",
                                           items.Data(), discount, 99, 99, fee, 99, total,
                                           surcharge);
  }
  bool Registro(const std::string& number) {
    Dataset items = HostTable({{"CDPROD", FieldType::kText, 20},
                               {"NMPROD", FieldType::kText, 50},
                               {"STQTDE", FieldType::kText, 10},
                               {"STVALOR", FieldType::kText, 10}},
                              {{"789", "COCA COLA", "2", "3,50"}});
    return Op<RegistroFn>("RegistroVenda")(kScheme, "x", "x", items, number);
  }
  void FailClosing() {
    Sim<void(const char*, int, int)>("EcfSim_FailEntry")("Bematech_FI_FechaRelatorioGerencial", 0,
                                                         1);
  }
};

const std::string kColumnHeader = "CODIGO     NOME\nQTDE    VR. UNIT" + Spaces(24) + "VLR.TOT.\n";

// --- Table-opening receipt ---------------------------------------------------------

TEST_F(TableDocumentsTest, AberturaMesaPrintsTheTableItsItemsAndTotals) {
  ASSERT_TRUE(Abertura(1.5, 2.35, 25.839, 0.75));

  EXPECT_THAT(
      PiecesSent(),
      ElementsAre(
          kBlank + "\n" + kBlank + "\n" + kDashes + "\n" + kBlank + "\n" + Spaces(15) +
              "Abertura de Mesa\n" + kBlank + "\nMesa: 0012\nEmissao: 07/12/2026 10:05\n" +
              kDashes + "\n",
          kColumnHeader + "\n", "789 COCA COLA\n2,000   X 3,50     " + Spaces(23) + "7,00\n",
          // 1,5 x 10,99 = 16,485, cut to cents
          "100 PRATO FEITO\n1,500   X 10,99     " + Spaces(22) + "16,48\n",
          kBlank + "\nTaxa de Servico: " + Spaces(26) + "2,35\n" + Utf8ToCp1252("Acréscimo: ") +
              Spaces(31) + "0,75\nDesconto: " + Spaces(33) + "1,50\n",
          kDashes + "\nTotal Geral: " + Spaces(30) + "25,83\n" + kBlank + "\n" + kFooter));
  EXPECT_THAT(Tape(), Contains(HasSubstr("Abertura de Mesa")));
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(TableDocumentsTest, AberturaMesaWithoutAdjustmentsPrintsOnlyTheBlankLine) {
  ASSERT_TRUE(Abertura(0, 0, 10, 0));
  const std::vector<std::string> pieces = PiecesSent();
  ASSERT_EQ(pieces.size(), 6u);
  EXPECT_EQ(pieces[4], kBlank + "\n");
}

TEST_F(TableDocumentsTest, AberturaMesaReturnsWhetherTheReceiptOpened) {
  Sim<void(const char*, int, int)>("EcfSim_FailEntry")(
      "Bematech_FI_AbreComprovanteNaoFiscalVinculado", 0, 1);
  EXPECT_FALSE(Abertura(0, 0, 10, 0));
  EXPECT_EQ(PiecesSent().size(), 6u) << "the pieces are sent all the same";
}

// --- Sales record ----------------------------------------------------------------

TEST_F(TableDocumentsTest, RegistroVendaTitlesATableOnlyForFourCharacters) {
  struct Case {
    const char* number;
    std::string title;
  };
  const std::vector<Case> cases = {
      {"0012", Utf8ToCp1252("       Relatório de abertura da mesa 0012")},
      {"12", Utf8ToCp1252("   Relatório de abertura da comanda 12")},
      {"00012", Utf8ToCp1252("   Relatório de abertura da comanda 00012")},
  };
  for (const Case& c : cases) {
    ClearSimJournal();
    EXPECT_TRUE(Registro(c.number));
    EXPECT_THAT(
        PiecesSent(),
        ElementsAre(kBlank + "\n" + c.title + "\n" + kBlank + "\n" + kDashes + "\n" + Spaces(15) +
                        "REGISTRO DE VENDA\n" + kDashes + "\n\n" + kColumnHeader + "\n",
                    "789 COCA COLA\n2,00   X 3,50     " + Spaces(25) + "7,00\n",
                    kBlank + "\n" + kDashes + "\n" + kFooter))
        << c.number;
  }
}

// --- Texts composed by the host --------------------------------------------------------

TEST_F(TableDocumentsTest, ConferenciaReturnsTheNumberAndSendsWholeLines) {
  std::string text;
  for (int line = 0; line < 30; ++line) text += std::string(40, 'a' + line % 26) + "\n";
  const long long coo = SimFigure("coo");
  std::string number = "untouched";

  EXPECT_TRUE(Op<ConferenciaFn>("Conferencia")(kScheme, number, text));

  EXPECT_EQ(number, SixDigits(coo + 1));
  // Thirteen lines of 41 characters pass 500; the rest in the last piece.
  const std::vector<std::string> pieces = PiecesSent();
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_EQ(pieces[0], text.substr(0, 533));
  EXPECT_EQ(pieces[1], text.substr(533, 533));
  EXPECT_EQ(pieces[2], text.substr(1066));
}

TEST_F(TableDocumentsTest, ConferenciaFormatadaRecordsTheDocumentOnlyAfterItClosed) {
  std::string number;
  EXPECT_TRUE(Op<FormatadaFn>("Conferencia_Formatada")(kScheme, "x", "x", "MESA12", number,
                                                       "CONFERENCIA\nTOTAL 10,00\n"));
  EXPECT_THAT(host_.document_records, ElementsAre(ElementsAre("MESA12", kScheme, "CM", "0", "0")));
  EXPECT_THAT(PiecesSent(), ElementsAre("CONFERENCIA\nTOTAL 10,00\n"));

  host_.document_records.clear();
  FailClosing();
  EXPECT_FALSE(Op<FormatadaFn>("Conferencia_Formatada")(kScheme, "x", "x", "MESA13", number,
                                                        "CONFERENCIA\n"));
  EXPECT_THAT(host_.document_records, IsEmpty());
}

TEST_F(TableDocumentsTest, CupomTrocaReturnsTheVerdictOfTheClosing) {
  EXPECT_TRUE(Op<TrocaFn>("Cupom_Troca")(kScheme, "x", "x", "TROCA\n"));
  EXPECT_THAT(PiecesSent(), ElementsAre("TROCA\n"));
  FailClosing();
  EXPECT_FALSE(Op<TrocaFn>("Cupom_Troca")(kScheme, "x", "x", "TROCA\n"));
}

}  // namespace
}  // namespace zel
