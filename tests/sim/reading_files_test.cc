// The serial readings are checked the way the driver reads them: banners
// located as whole lines, fields cut out at fixed lines and columns, amounts
// read by dropping every ',' and '.' and taking the last two digits as
// cents. The parse below is written from that description, not from the
// writer.
#include "reading_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "sim_files_fixture.h"

namespace ecfsim {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// The banners as the file holds them, in Windows-1252.
const std::string kCounters = "-------------------CONTADORES-------------------";
const std::string kFiscal = "-------------TOTALIZADORES FISCAIS--------------";
const std::string kUntaxed = "-----------------N\xE3o Tributados-----------------";
const std::string kDashes(48, '-');
const std::string kPayments = "--------------Formas de Pagamento---------------";
const std::string kNonFiscal = "-----------TOTALIZADORES N\xC3O FISCAIS------------";
const std::string kTaxed = "-------------------Tributados-------------------";
const std::string kIss = "----------------------ISS-----------------------";

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Index of the first line equal to `banner`, letter case ignored.
std::size_t Find(const std::vector<std::string>& lines, const std::string& banner) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (Lower(lines[i]) == Lower(banner)) return i;
  }
  throw std::runtime_error("banner missing: " + banner);
}

// Columns `from` to `to`, 1-based and inclusive; shorter when the line is.
std::string Cols(const std::string& line, std::size_t from, std::size_t to) {
  if (line.size() < from) return "";
  return line.substr(from - 1, to - from + 1);
}

std::string Trimmed(const std::string& text) {
  const auto begin = text.find_first_not_of(' ');
  if (begin == std::string::npos) return "";
  return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

// Amount in cents: trimmed, ',' and '.' removed, last two digits decimals.
Cents Value(const std::string& text) {
  std::string digits;
  for (char c : Trimmed(text)) {
    if (c != ',' && c != '.') digits += c;
  }
  return std::stoll(digits);
}

int Number(const std::string& text) { return std::stoi(text); }

const std::string& At(const std::vector<std::string>& lines, std::size_t index) {
  return lines.at(index);
}

struct RateRow {
  std::string code;
  Cents rate;
  Cents base;
  Cents tax;
  bool operator==(const RateRow&) const = default;
};

std::vector<RateRow> RateRows(const std::vector<std::string>& lines, const std::string& banner) {
  std::vector<RateRow> rows;
  for (std::size_t i = Find(lines, banner) + 2; Trimmed(Cols(At(lines, i), 1, 5)) != "Total"; ++i) {
    const std::string& line = At(lines, i);
    rows.push_back({Cols(line, 1, 2), Value(Cols(line, 5, 9)), Value(Cols(line, 15, 29)),
                    Value(Cols(line, 31, 48))});
  }
  return rows;
}

class XReadingTest : public SimFilesTest {
 protected:
  static constexpr std::int64_t kNow = 20261207113025;
  PrinterState state_ = BusyPrinter();
  std::vector<std::string> Lines() const { return XReadingLines(state_, kNow); }
};

TEST_F(XReadingTest, BannersAndLinesFitTheReadersWidth) {
  state_.identity.owner_ie = std::string(40, '9');  // an owner line too long for the paper
  const std::vector<std::string> lines = Lines();
  for (const std::string& line : lines) EXPECT_LE(line.size(), 48u) << line;
  for (const std::string& banner :
       {kCounters, kFiscal, kUntaxed, kPayments, kNonFiscal, kTaxed, kIss}) {
    EXPECT_EQ(std::count(lines.begin(), lines.end(), banner), 1) << banner;
  }
}

TEST_F(XReadingTest, CountersSitAtTheirColumns) {
  const std::vector<std::string> lines = Lines();
  const std::size_t b = Find(lines, kCounters);
  // Counters are taken as text, so their digits must fill the columns.
  EXPECT_EQ(Cols(At(lines, b + 1), 45, 48), "0002");    // restarts
  EXPECT_EQ(Cols(At(lines, b + 2), 45, 48), "0041");    // reductions
  EXPECT_EQ(Cols(At(lines, b + 3), 43, 48), "001234");  // documents
  EXPECT_EQ(Cols(At(lines, b + 4), 43, 48), "000056");  // non-fiscal operations
  EXPECT_EQ(Cols(At(lines, b + 5), 45, 48), "0003");    // cancelled coupons
  EXPECT_EQ(Cols(At(lines, b + 6), 43, 48), "001200");  // first of the day
  EXPECT_NE(At(lines, b + 7), kFiscal);
  EXPECT_EQ(Cols(At(lines, b + 7), 43, 48), "001234");  // last of the day
}

TEST_F(XReadingTest, ADayWithoutDocumentsHasNoLastDocumentLine) {
  state_.day.first_coo = 0;
  const std::vector<std::string> lines = Lines();
  EXPECT_EQ(At(lines, Find(lines, kCounters) + 7), kFiscal);
}

TEST_F(XReadingTest, FiscalTotalizersAndUntaxedAmounts) {
  const std::vector<std::string> lines = Lines();
  const std::size_t f = Find(lines, kFiscal);
  auto amount = [&](std::size_t line) { return Value(Cols(At(lines, line), 29, 48)); };
  EXPECT_EQ(amount(f + 1), 123456789);            // grand total
  EXPECT_EQ(amount(f + 2), 310000);               // gross sales
  EXPECT_EQ(amount(f + 3), 9999 + 120000);        // sold on service-tax rates
  EXPECT_EQ(amount(f + 4), 1100 + 300);           // cancellations
  EXPECT_EQ(amount(f + 5), 250 + 20);             // discounts
  EXPECT_EQ(amount(f + 7), 310000 - 1400 - 270);  // net sales
  EXPECT_EQ(amount(f + 8), 75 + 5);               // surcharges
  EXPECT_THAT(At(lines, f + 1), HasSubstr("1.234.567,89"));

  const std::size_t u = Find(lines, kUntaxed);
  EXPECT_EQ(Value(Cols(At(lines, u + 1), 29, 48)), 4321);
  EXPECT_EQ(Value(Cols(At(lines, u + 2), 29, 48)), 765);
  EXPECT_EQ(Value(Cols(At(lines, u + 3), 29, 48)), 12);
}

TEST_F(XReadingTest, AnEighteenDigitGrandTotalStillFitsItsColumns) {
  state_.grand_total = 999999999999999999;
  const std::vector<std::string> lines = Lines();
  const std::string& line = At(lines, Find(lines, kFiscal) + 1);
  EXPECT_LE(line.size(), 48u);
  EXPECT_EQ(Value(Cols(line, 29, 48)), 999999999999999999);
}

TEST_F(XReadingTest, TimesAndFreeMemoryFollowTheFirstLineOfHyphens) {
  const std::vector<std::string> lines = Lines();
  const std::size_t d = Find(lines, kDashes);
  auto time = [&](std::size_t line) {
    const std::string& l = At(lines, line);
    return Cols(l, 33, 34) + Cols(l, 36, 37) + Cols(l, 39, 40);
  };
  EXPECT_EQ(time(d + 1), "033025");  // 08:00:00 to 11:30:25
  EXPECT_EQ(time(d + 2), "032507");
  EXPECT_EQ(Number(Cols(At(lines, d + 3), 19, 22)), kFiscalMemoryReductions - 41);
}

TEST_F(XReadingTest, PaymentFormsUpToTheFirstLineWithBlankIndex) {
  const std::vector<std::string> lines = Lines();
  std::vector<std::pair<std::string, Cents>> rows;
  for (std::size_t i = Find(lines, kPayments) + 1; !Trimmed(Cols(At(lines, i), 1, 2)).empty();
       ++i) {
    rows.emplace_back(Cols(At(lines, i), 1, 2), Value(Cols(At(lines, i), 29, 48)));
  }
  EXPECT_THAT(rows, ElementsAre(std::pair<std::string, Cents>{"01", 90000},
                                std::pair<std::string, Cents>{"02", 123456},
                                std::pair<std::string, Cents>{"05", 0}));
}

TEST_F(XReadingTest, WithoutPaymentFormsTheListIsEmpty) {
  state_.payment_forms = {};
  const std::vector<std::string> lines = Lines();
  EXPECT_TRUE(Trimmed(Cols(At(lines, Find(lines, kPayments) + 1), 1, 2)).empty());
}

TEST_F(XReadingTest, NonFiscalTotalizersUpToTheNextHyphens) {
  const std::vector<std::string> lines = Lines();
  struct Row {
    std::string index, name, count;
    Cents total;
    bool operator==(const Row&) const = default;
  };
  std::vector<Row> rows;
  for (std::size_t i = Find(lines, kNonFiscal) + 2; Cols(At(lines, i), 1, 2) != "--"; ++i) {
    const std::string& l = At(lines, i);
    rows.push_back({Cols(l, 1, 2), Cols(l, 4, 22), Cols(l, 24, 27), Value(Cols(l, 29, 48))});
  }
  EXPECT_THAT(rows, ElementsAre(Row{"01", "CV-EMITIDO         ", "0002", 1500},
                                Row{"02", "VENDA-CONS         ", "0000", 0},
                                Row{"03", "Relatorio          ", "0001", 1},
                                Row{"06", "Compra-Cred-Longo19", "0012", 987654},
                                Row{"SA", "Sangria            ", "0002", 2500},
                                Row{"SU", "Suprimento         ", "0001", 10000}));
}

TEST_F(XReadingTest, TaxedAndServiceTaxRatesWithBaseAndTax) {
  const std::vector<std::string> lines = Lines();
  // 18 % of 1.500,00 is 270,00; 12 % of 200,50 is 24,06; 25 % of 3,33 is 0,83
  // (0,8325 rounded); 4 % of 0,10 rounds to 0,00.
  EXPECT_THAT(RateRows(lines, kTaxed),
              ElementsAre(RateRow{"01", 1800, 150000, 27000}, RateRow{"02", 1200, 20050, 2406},
                          RateRow{"04", 700, 0, 0}, RateRow{"06", 2500, 333, 83},
                          RateRow{"09", 400, 10, 0}));
  // 5 % of 99,99 is 5,00 (4,9995 rounded); 2 % of 1.200,00 is 24,00.
  EXPECT_THAT(RateRows(lines, kIss),
              ElementsAre(RateRow{"03", 500, 9999, 500}, RateRow{"07", 200, 120000, 2400}));
  const std::string& total = At(lines, Find(lines, kIss) + 4);
  EXPECT_EQ(Value(Cols(total, 15, 29)), 129999);
  EXPECT_EQ(Value(Cols(total, 31, 48)), 2900);
}

TEST_F(XReadingTest, WithoutRatesEachSectionHasItsTotalLineOnly) {
  state_.rates = {};
  const std::vector<std::string> lines = Lines();
  EXPECT_TRUE(RateRows(lines, kTaxed).empty());
  EXPECT_TRUE(RateRows(lines, kIss).empty());
}

// --- fiscal-memory readings -------------------------------------------------

TEST(FiscalMemoryRangeTest, ReadsDatesAndReductionNumbers) {
  const FiscalMemoryRange dates =
      ParseFiscalMemoryRange(FiscalMemoryRange::Kind::kByDate, "01/12/2026", "071226");
  EXPECT_EQ(dates.first, 20261201);
  EXPECT_EQ(dates.last, 20261207);
  const FiscalMemoryRange crz =
      ParseFiscalMemoryRange(FiscalMemoryRange::Kind::kByReduction, "0039", "40");
  EXPECT_EQ(crz.first, 39);
  EXPECT_EQ(crz.last, 40);
}

TEST(FiscalMemoryRangeTest, RefusesWhatDoesNotRead) {
  using Kind = FiscalMemoryRange::Kind;
  EXPECT_THROW(ParseFiscalMemoryRange(Kind::kByDate, "32/12/2026", "01/01/2027"),
               std::invalid_argument);
  EXPECT_THROW(ParseFiscalMemoryRange(Kind::kByDate, "", "01/01/2027"), std::invalid_argument);
  EXPECT_THROW(ParseFiscalMemoryRange(Kind::kByReduction, "1", "x2"), std::invalid_argument);
  EXPECT_THROW(ParseFiscalMemoryRange(Kind::kByReduction, "5", "4"), std::invalid_argument);
  EXPECT_THROW(ParseFiscalMemoryRange(Kind::kByDate, "02/12/2026", "01/12/2026"),
               std::invalid_argument);
}

TEST(FiscalMemoryRangeTest, OnlyCAsksForTheCompleteReading) {
  EXPECT_TRUE(IsCompleteReading("C"));
  EXPECT_TRUE(IsCompleteReading("c"));
  EXPECT_FALSE(IsCompleteReading("S"));
  EXPECT_FALSE(IsCompleteReading(""));
  EXPECT_FALSE(IsCompleteReading("CC"));
}

std::vector<std::string> Matching(const std::vector<std::string>& lines, const std::string& start) {
  std::vector<std::string> found;
  for (const std::string& line : lines) {
    if (line.rfind(start, 0) == 0) found.push_back(line);
  }
  return found;
}

TEST(FiscalMemoryReadingTest, CompleteReadingListsTheReductionsInTheRange) {
  const PrinterState state = BusyPrinter();
  const std::vector<std::string> lines = FiscalMemoryReadingLines(
      state, {FiscalMemoryRange::Kind::kByDate, 20261204, 20261206}, true, 20261207120000);
  EXPECT_THAT(Matching(lines, "CRZ:"),
              ElementsAre("CRZ:0039  COO:003900  CRO:0001", "CRZ:0040  COO:004000  CRO:0001"));
  const std::vector<std::string> dates = Matching(lines, "Data do movimento:");
  ASSERT_EQ(dates.size(), 2u);
  EXPECT_EQ(Cols(dates[0], 39, 48), "04/12/2026");
  EXPECT_EQ(Cols(dates[1], 39, 48), "06/12/2026");
  // Two reductions, each with its gross sales, then the period's sum.
  const std::vector<std::string> gross = Matching(lines, "Venda Bruta:");
  ASSERT_EQ(gross.size(), 3u);
  EXPECT_EQ(Value(Cols(gross[0], 29, 48)), 60000);
  EXPECT_EQ(Value(Cols(gross[1], 29, 48)), 70000);
  EXPECT_EQ(Value(Cols(gross[2], 29, 48)), 130000);
  for (const std::string& line : lines) EXPECT_LE(line.size(), 48u) << line;
}

TEST(FiscalMemoryReadingTest, SimplifiedReadingShowsOnlyThePeriodTotals) {
  const PrinterState state = BusyPrinter();
  const std::vector<std::string> lines = FiscalMemoryReadingLines(
      state, {FiscalMemoryRange::Kind::kByReduction, 38, 39}, false, 20261207120000);
  EXPECT_TRUE(Matching(lines, "CRZ:").empty());
  const std::vector<std::string> gross = Matching(lines, "Venda Bruta:");
  ASSERT_EQ(gross.size(), 1u);
  EXPECT_EQ(Value(Cols(gross[0], 29, 48)), 110000);
  // The grand total is the one after the last reduction of the range.
  const std::vector<std::string> total = Matching(lines, "Totalizador Geral:");
  ASSERT_EQ(total.size(), 1u);
  EXPECT_EQ(Value(Cols(total[0], 29, 48)), 123060000);
}

TEST(FiscalMemoryReadingTest, ARangeWithoutReductionsSaysSo) {
  const PrinterState state = BusyPrinter();
  const std::vector<std::string> lines = FiscalMemoryReadingLines(
      state, {FiscalMemoryRange::Kind::kByReduction, 100, 200}, true, 20261207120000);
  EXPECT_EQ(Matching(lines, "Nenhuma redu\xE7\xE3o").size(), 1u);
  EXPECT_TRUE(Matching(lines, "Venda Bruta:").empty());
}

// --- the file itself --------------------------------------------------------

TEST_F(SimFilesTest, ReturnFileGoesToThePathOfTheIniInWindowsBytes) {
  WriteIni("BemaFI32.ini", "[Sistema]\r\nporta=COM1\r\npath=C:\\Bema\r\nPath=C:\\Other\r\n");
  const std::string file = WriteReturnFile({"Linha \xE3", "fim"});
  EXPECT_EQ(std::filesystem::path(file), drive_c() / "Bema" / "Retorno.txt");
  EXPECT_EQ(ReadBytes(drive_c() / "Bema" / "Retorno.txt"), "Linha \xE3\r\nfim\r\n");
}

TEST_F(SimFilesTest, ReturnFileReplacesTheEarlierOne) {
  WriteIni("BemaFI32.ini", "Path=C:\\Bema\\\r\n");
  WriteReturnFile({"primeira", "leitura", "longa"});
  WriteReturnFile({"segunda"});
  EXPECT_EQ(ReadBytes(drive_c() / "Bema" / "Retorno.txt"), "segunda\r\n");
}

TEST_F(SimFilesTest, WithoutIniOrPathTheReturnFileGoesToTheRootOfC) {
  WriteReturnFile({"sem ini"});
  EXPECT_EQ(ReadBytes(drive_c() / "Retorno.txt"), "sem ini\r\n");
  WriteIni("BemaFI32.ini", "Path=\r\n");
  WriteReturnFile({"vazio"});
  EXPECT_EQ(ReadBytes(drive_c() / "Retorno.txt"), "vazio\r\n");
}

}  // namespace
}  // namespace ecfsim
