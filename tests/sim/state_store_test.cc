// The inner parts of the printer: reading the host's numbers, writing into
// its buffers, code pages, and the memory file.
#include "state_store.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tape.h"
#include "text.h"

namespace ecfsim {
namespace {

TEST(ParseAmountTest, DecimalAndImpliedForms) {
  EXPECT_EQ(ParseAmount("2,000", 3, 3), 2000);
  EXPECT_EQ(ParseAmount("3.450", 3, 2), 345);  // extra decimals are cut
  EXPECT_EQ(ParseAmount("00000150", 2, 2), 150);
  EXPECT_EQ(ParseAmount("0000", 2, 2), 0);
  EXPECT_EQ(ParseAmount("5", 2, 2), 5);
  EXPECT_EQ(ParseAmount(" 12,5 ", 2, 2), 1250);
  EXPECT_EQ(ParseAmount("-3", 0, 2), -300);
  EXPECT_EQ(ParseAmount("1.234,56", 2, 2), std::nullopt);
  EXPECT_EQ(ParseAmount("12a", 2, 2), std::nullopt);
  EXPECT_EQ(ParseAmount("", 2, 2), std::nullopt);
  EXPECT_EQ(ParseAmount(",", 2, 2), std::nullopt);
  EXPECT_EQ(ParseAmount("9999999999999", 0, 2), std::nullopt);  // past 12 digits
}

TEST(ParseIntegerTest, ReadsMomentsAndNegatives) {
  EXPECT_EQ(ParseInteger("20261207101500"), 20261207101500LL);
  EXPECT_EQ(ParseInteger("-3600"), -3600);
  EXPECT_EQ(ParseInteger("1,5"), std::nullopt);
  EXPECT_EQ(ParseInteger("-"), std::nullopt);
}

TEST(CopyOutTest, PadsAndCutsToTheWidthOnly) {
  std::string buffer = "XXXXXXXX##";
  CopyOut(buffer.data(), "abc", 8);
  EXPECT_EQ(buffer, "abc     ##");
  CopyOut(buffer.data(), "0123456789", 8);
  EXPECT_EQ(buffer, "01234567##");
  CopyOut(nullptr, "abc", 8);  // ignored
}

TEST(CodePageTest, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
  EXPECT_EQ(Cp1252ToUtf8("\x80\xe7"), "\xe2\x82\xac\xc3\xa7");  // euro sign, c cedilla
  EXPECT_EQ(Utf8ToCp1252("\xe4\xb8\xad"), "?");                 // not in the code page
  EXPECT_EQ(Utf8ToCp1252("a\xc3"), "a?");                       // cut sequence
}

TEST(WrapLinesTest, SplitsAtLineFeedsAndWidth) {
  EXPECT_EQ(WrapLines("ab\r\ncd\n", 48), (std::vector<std::string>{"ab", "cd"}));
  EXPECT_EQ(WrapLines("abcdef", 4), (std::vector<std::string>{"abcd", "ef"}));
  EXPECT_EQ(WrapLines("a\n\nb", 4), (std::vector<std::string>{"a", "", "b"}));
}

TEST(DateTest, ReadsTheHostForms) {
  EXPECT_EQ(ParseDate("311299"), 20991231);
  EXPECT_EQ(ParseDate("01/02/2031"), 20310201);
  EXPECT_EQ(ParseDate("32/01/31"), std::nullopt);
  EXPECT_EQ(ParseTime("23:59:59"), 235959);
  EXPECT_EQ(ParseTime("246000"), std::nullopt);
  EXPECT_EQ(Ddmmyy(20261207), "071226");
  EXPECT_EQ(Ddmmyy(0), "000000");
}

class StateStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/ecfsim_store_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string dir_;
};

TEST_F(StateStoreTest, EverythingComesBack) {
  PrinterState s = FactoryState();
  s.identity.owner_name = "PADARIA S\xc3O JO\xc3O";
  s.counters = Counters{12, 3, 2, 9, 7, 1, 4, 2, 5, 1, 1, 2};
  s.grand_total = 123456789;
  s.rates[2] = TaxRate{false, 0, false, 0};
  s.rates[9] = TaxRate{true, 350, true, 1200};
  s.totalizers[4] = NonFiscalTotalizer{"CONTRA-VALE", 500, 2};
  s.payment_forms[1] = PaymentForm{"Cart\xe3o", true, 9900};
  s.day.gross_sales = 4321;
  s.day.first_coo = 10;
  s.movement_date = 20261207;
  s.last_reduced_date = 20261206;
  s.document = DocumentState::kCouponPaying;
  s.coupon.items.push_back(
      CouponItem{"1", "LINHA\nDUAS\\", "01", "UN", 1500, 200, 300, 10, true, 5});
  s.coupon.payments.push_back(CouponPayment{1, 100});
  s.coupon.shares.push_back(RateShare{"FF", -7});
  s.linkable_payments.push_back(CouponPayment{1, 100});
  s.tables["12"].push_back(TableItem{"123", "AGUA", "01", "UN", 2000, 150, 0});
  s.menu.push_back(TableItem{"123", "AGUA", "01", "UN", 1000, 150, 0});
  ReductionRecord r;
  r.crz = 3;
  r.grand_total = 999;
  r.day.discounts = 77;
  r.rates[0] = TaxRate{true, 1800, false, 1234};
  r.payment_forms[0] = PaymentForm{"Dinheiro", false, 555};
  s.reductions.push_back(r);
  s.clock_offset_seconds = -3600;
  s.paper_out_commands = -1;

  ASSERT_TRUE(SaveState(dir_, s));
  PrinterState loaded;
  ASSERT_EQ(LoadState(dir_, loaded).status, LoadStatus::kLoaded);
  EXPECT_EQ(loaded.identity.owner_name, s.identity.owner_name);
  EXPECT_EQ(loaded.counters.coo, 12);
  EXPECT_EQ(loaded.counters.owner_substitutions, 2);
  EXPECT_EQ(loaded.grand_total, s.grand_total);
  EXPECT_FALSE(loaded.rates[2].programmed);  // freed factory position stays free
  EXPECT_EQ(loaded.rates[9].day_base, 1200);
  EXPECT_TRUE(loaded.rates[9].iss);
  EXPECT_EQ(loaded.totalizers[4].day_count, 2);
  EXPECT_EQ(loaded.payment_forms[1].name, "Cart\xe3o");
  EXPECT_TRUE(loaded.payment_forms[1].linked_allowed);
  EXPECT_EQ(loaded.day.first_coo, 10);
  EXPECT_EQ(loaded.document, DocumentState::kCouponPaying);
  ASSERT_EQ(loaded.coupon.items.size(), 1u);
  EXPECT_EQ(loaded.coupon.items[0].description, "LINHA\nDUAS\\");
  EXPECT_TRUE(loaded.coupon.items[0].cancelled);
  EXPECT_EQ(loaded.coupon.items[0].surcharge, 5);
  EXPECT_EQ(loaded.coupon.shares[0].amount, -7);
  EXPECT_EQ(loaded.linkable_payments.size(), 1u);
  EXPECT_EQ(loaded.tables["12"][0].quantity, 2000);
  EXPECT_EQ(loaded.menu.size(), 1u);
  ASSERT_EQ(loaded.reductions.size(), 1u);
  EXPECT_EQ(loaded.reductions[0].day.discounts, 77);
  EXPECT_EQ(loaded.reductions[0].rates[0].day_base, 1234);
  EXPECT_FALSE(loaded.reductions[0].rates[1].programmed);
  EXPECT_EQ(loaded.reductions[0].payment_forms[0].day_total, 555);
  EXPECT_EQ(loaded.clock_offset_seconds, -3600);
  EXPECT_EQ(loaded.paper_out_commands, -1);
}

TEST_F(StateStoreTest, MissingFileIsAFactoryPrinter) {
  PrinterState s;
  s.counters.coo = 99;
  EXPECT_EQ(LoadState(dir_, s).status, LoadStatus::kMissing);
  EXPECT_EQ(s.counters.coo, 0);
  EXPECT_EQ(s.payment_forms[0].name, "Dinheiro");
  EXPECT_TRUE(s.rates[4].iss);
}

TEST_F(StateStoreTest, DetailTapeReadsBackTheDocuments) {
  Tape tape(dir_);
  tape.Print(5, "CF", 20261207101500,
             {"CUPOM",
              "A\xc7\xda"
              "CAR"});
  tape.Print(6, "LX", 20261207101600, {"LEITURA X"});
  tape.Print(6, "LX", 20261207101601, {"fim"});
  std::vector<PrintedDocument> documents = LoadDetailTape(dir_);
  ASSERT_EQ(documents.size(), 2u);
  EXPECT_EQ(documents[0].coo, 5);
  EXPECT_EQ(documents[0].kind, "CF");
  EXPECT_EQ(documents[0].printed_at, 20261207101500);
  EXPECT_EQ(documents[0].lines, (std::vector<std::string>{"CUPOM",
                                                          "A\xc7\xda"
                                                          "CAR"}));
  EXPECT_EQ(documents[1].lines.size(), 2u);
  std::ifstream paper(tape.TapePath());
  std::string first, second;
  std::getline(paper, first);
  std::getline(paper, second);
  EXPECT_EQ(second,
            "A\xc3\x87\xc3\x9a"
            "CAR");
  EXPECT_TRUE(LoadDetailTape(dir_ + "/nowhere").empty());
}

TEST_F(StateStoreTest, HandEditedFileKeepsUnnamedFiguresAtFactoryValues) {
  std::ofstream(MemoryPath(dir_))
      << "# edited\ncounters.coo=41\r\nunknown.key=1\nno equals sign\nend=\n";
  PrinterState s;
  ASSERT_EQ(LoadState(dir_, s).status, LoadStatus::kLoaded);
  EXPECT_EQ(s.counters.coo, 41);
  EXPECT_EQ(s.counters.cro, 1);
  EXPECT_EQ(s.rates[0].rate, 1800);
}

// Every way a memory file can be damaged is refused, leaving a factory
// state that the printer will not use, with a reason a person can act on.
TEST_F(StateStoreTest, DamagedMemoryIsRefusedNeverLoadedWithDefaults) {
  PrinterState saved = FactoryState();
  saved.counters.coo = 57;
  ASSERT_TRUE(SaveState(dir_, saved));
  std::string whole;
  {
    std::ifstream in(MemoryPath(dir_), std::ios::binary);
    whole.assign(std::istreambuf_iterator<char>(in), {});
  }
  const std::size_t seal = whole.rfind("end=");
  const struct {
    const char* what;
    std::string bytes;
    const char* reason;
  } cases[] = {
      {"cut short", whole.substr(0, whole.size() / 2), "incompleto"},
      {"seal cut off", whole.substr(0, seal), "incompleto"},
      {"a figure altered",
       std::string(whole).replace(whole.find("counters.coo=57"), 15, "counters.coo=58"), "soma"},
      {"absurd list count", "reduction.count=2000000000\nend=\n", "reduction.count"},
      {"absurd item count", "coupon.item.count=100000000\nend=\n", "coupon.item.count"},
      {"counter past 2^31", "counters.coo=2147483648\nend=\n", "counters.coo"},
      {"not a number", "grand_total=12x\nend=\n", "grand_total"},
  };
  for (const auto& c : cases) {
    std::ofstream(MemoryPath(dir_), std::ios::binary | std::ios::trunc) << c.bytes;
    PrinterState s;
    const MemoryLoad load = LoadState(dir_, s);
    EXPECT_EQ(load.status, LoadStatus::kDamaged) << c.what;
    EXPECT_NE(load.problem.find(c.reason), std::string::npos) << c.what << ": " << load.problem;
    EXPECT_EQ(s.counters.coo, 0) << c.what;
    EXPECT_TRUE(s.reductions.empty()) << c.what;
  }
}

}  // namespace
}  // namespace ecfsim
