#include "nonfiscal/text_pieces.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "core/fake_fiscal_entries.h"
#include "core/vendor_table.h"
#include "host/separator_fixture.h"
#include "support/test_env.h"
#include "zel/driver_state.h"
#include "zel/error.h"
#include "zel/operations.h"

namespace zel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// ---- Splitting -----------------------------------------------------------------

std::string Line(char fill, std::size_t length_with_feed) {
  return std::string(length_with_feed - 1, fill) + "\n";
}

TEST(SplitByWholeLines, FillsAPieceWithWholeLinesUntilItReaches500) {
  // 4 lines of 200: two lines make 400 (< 500), the third makes 600.
  const std::string text = Line('a', 200) + Line('b', 200) + Line('c', 200) + Line('d', 200);

  const std::vector<std::string> pieces = SplitByWholeLines(text);

  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[0], Line('a', 200) + Line('b', 200) + Line('c', 200));
  EXPECT_EQ(pieces[1], Line('d', 200));
}

TEST(SplitByWholeLines, APieceOfExactly500TakesNoFurtherLine) {
  const std::string text = Line('a', 250) + Line('b', 250) + Line('c', 10);

  EXPECT_THAT(SplitByWholeLines(text), ElementsAre(Line('a', 250) + Line('b', 250), Line('c', 10)));
}

TEST(SplitByWholeLines, TextWithoutALineFeedIsOnePieceHoweverLong) {
  const std::string text(1500, 'x');
  EXPECT_THAT(SplitByWholeLines(text), ElementsAre(text));
  EXPECT_THAT(SplitByWholeLines("one\ntwo"), ElementsAre("one\ntwo"));
  EXPECT_THAT(SplitByWholeLines(""), IsEmpty());
}

TEST(SplitLineByLine, EachLineKeepsItsFeed) {
  EXPECT_THAT(SplitLineByLine("a\n\nbc\nd"), ElementsAre("a\n", "\n", "bc\n", "d"));
  EXPECT_THAT(SplitLineByLine(""), IsEmpty());
}

TEST(CutPiece, KeepsTheFirstCharactersOnly) {
  const std::string text = std::string(620, 'a') + "lost";
  EXPECT_EQ(CutPiece(text), std::string(620, 'a'));
  EXPECT_EQ(CutPiece(text, kDebitReceiptPieceLength), std::string(618, 'a'));
  EXPECT_EQ(CutPiece("short\n"), "short\n");
}

// ---- Receipt amounts ----------------------------------------------------------------

class ReceiptValueTest : public BothSeparators {};

TEST_P(ReceiptValueTest, IsFourteenDigitsOfCents) {
  EXPECT_EQ(ReceiptValueText(0.01), "00000000000001");
  EXPECT_EQ(OneCentReceiptValue(), "00000000000001");
  EXPECT_EQ(ReceiptValueText(1234.56), "00000000123456");
  EXPECT_EQ(ReceiptValueText(0), "00000000000000");
  EXPECT_EQ(ReceiptValueText(2.675), "00000000000268");  // rounds as a cashier does
  EXPECT_EQ(ReceiptValueText(999999999999.99), "99999999999999");
}

TEST_P(ReceiptValueTest, RefusesAmountsThePrinterWouldMisread) {
  EXPECT_THROW(ReceiptValueText(-5), Error);
  EXPECT_THROW(ReceiptValueText(1e12), Error);
  EXPECT_THROW(ReceiptValueText(std::numeric_limits<double>::quiet_NaN()), Error);
  EXPECT_THROW(ReceiptValueText(std::numeric_limits<double>::infinity()), Error);
}

INSTANTIATE_TEST_SUITE_P(Separators, ReceiptValueTest, ::testing::Values(',', '.'));

// ---- The sequences, on fake entries --------------------------------------------------

// Calls the fake entries received, "Entry|arg|arg" (null pointers as "").
std::vector<std::string> g_calls;
int g_extended_status = 0;

std::string Text(const char* text) { return text == nullptr ? "" : text; }

int FakeRecebimento(const char* index, const char* value, const char* form) {
  g_calls.push_back("Recebimento|" + Text(index) + "|" + Text(value) + "|" + Text(form));
  return 1;
}
int FakeNumeroCupom(char* coo) {
  g_calls.push_back("NumeroCupom");
  std::memcpy(coo, "000042", 6);
  return 1;
}
int FakeAbreVinculado(const char* form, const char* value, const char* coo) {
  g_calls.push_back("AbreVinculado|" + Text(form) + "|" + Text(value) + "|" + Text(coo));
  return 1;
}
int FakeUsaVinculado(const char* text) {
  g_calls.push_back("Usa|" + Text(text));
  return 1;
}
int FakeFechaRelatorio() {
  g_calls.push_back("Fecha");
  return 1;
}
int FakeStatusEstendido(int* status) {
  *status = g_extended_status;
  return 1;
}
int FakeRelatorio(const char* text) {
  g_calls.push_back("Relatorio|" + Text(text));
  return 1;
}
int FakeDataMovimento(char* date) {
  std::memcpy(date, "071226", 6);
  return 1;
}

class SequenceTest : public ::testing::Test {
 protected:
  SequenceTest() {
    g_calls.clear();
    g_extended_status = 0;
    Zel00101::Bematech_FI_RecebimentoNaoFiscal = FakeRecebimento;
    Zel00101::Bematech_FI_NumeroCupom = FakeNumeroCupom;
    Zel00101::Bematech_FI_AbreComprovanteNaoFiscalVinculado = FakeAbreVinculado;
    Zel00101::Bematech_FI_UsaComprovanteNaoFiscalVinculado = FakeUsaVinculado;
    Zel00101::Bematech_FI_FechaRelatorioGerencial = FakeFechaRelatorio;
    Zel00101::Bematech_FI_StatusEstendidoMFD = FakeStatusEstendido;
    Zel00101::Bematech_FI_RelatorioGerencial = FakeRelatorio;
    Zel00101::Bematech_FI_DataMovimento = FakeDataMovimento;
    Zel00101::IdTotRelatorio = "07";
  }
  ~SequenceTest() override { Zel00101::IdTotRelatorio.clear(); }

  TestEnv env_;
  ScopedCurrentEnv use_env_{&env_};
  RecordingHost host_;
  ScopedHost use_host_{&host_};
  FakeFiscalPrinter printer_;  // status reads; empties the table at the end
};

TEST_F(SequenceTest, LinkedReceiptIsOneCentOnTheReportTotalizerThenThePieces) {
  const std::string number = PrintLinkedReceipt("005", {"first\n", "second\n"});

  EXPECT_EQ(number, "000042");
  EXPECT_THAT(g_calls,
              ElementsAre("Recebimento|07|00000000000001|Rel Gerencial", "NumeroCupom",
                          "AbreVinculado|Rel Gerencial||", "Usa|first\n", "Usa|second\n", "Fecha"));
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(SequenceTest, ManagementReportOpensPrintsAndCloses) {
  EXPECT_TRUE(PrintManagementReport("005", {"line\n"}));

  EXPECT_THAT(g_calls, ElementsAre("Relatorio| ", "Usa|line\n", "Fecha"));
  ASSERT_EQ(host_.cer_records.size(), 1u);
  EXPECT_THAT(host_.cer_records[0], ElementsAre("", "", "07/12/2026"));
}

TEST_F(SequenceTest, CutPieceWriterSendsTheCutTextAndStartsAgain) {
  CutPieceWriter writer;
  writer.Add(std::string(600, 'a'));
  writer.Add(std::string(40, 'b'));

  EXPECT_TRUE(writer.Send());
  EXPECT_THAT(writer.pending(), IsEmpty());
  writer.Add("next\n");
  writer.Send();

  EXPECT_THAT(g_calls,
              ElementsAre("Usa|" + std::string(600, 'a') + std::string(20, 'b'), "Usa|next\n"));
}

}  // namespace
}  // namespace zel
