// Type-E files by COO range and by date range, through the loaded driver,
// the simulated printer's download and the detail-tape file stand-in.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "fiscal_menu_fixture.h"
#include "host/codepage.h"
#include "zel/variant.h"

namespace zel {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::SizeIs;
using ::testing::StartsWith;

using TypeEOp = std::string(const std::string&, const std::string&, const std::string&,
                            const std::string&, const std::string&);

constexpr char kTypeEName[] = "c:\\MenuFiscal\\AC17-0420261207100507.txt";
// A range of dates that holds every document the printer prints today.
constexpr char kFirstDate[] = "01/01/2000";
constexpr char kLastDate[] = "31/12/2099";

class TypeEFilesTest : public FiscalMenuFixture {
 protected:
  std::string TypeE(const std::string& first, const std::string& last, const std::string& kind) {
    return Op<TypeEOp>("geraRegistroTipoE")(first, last, kind, "ZEL PDV", "0.1");
  }
  std::vector<std::string> Lines(const std::string& path) { return env_.ReadLines(path); }
  std::vector<std::string> Records(const std::string& path, const std::string& kind) {
    std::vector<std::string> records;
    for (const std::string& line : Lines(path)) {
      if (line.starts_with(kind)) records.push_back(line);
    }
    return records;
  }
  // No working file of either variant is left behind.
  void ExpectNoWorkingFiles() {
    for (const char* file : {"C:\\Download.MFD", "Download.MFD", "Espelho.TXT", "EspelhoTMP.TXT"}) {
      EXPECT_FALSE(env_.FileExists(file)) << file;
    }
  }
};

TEST_F(TypeEFilesTest, CooRangeTakesItsDatesFromTheMirrorAndCleansUp) {
  PrintSupplies(3);
  const long long last_coo = SimFigure("coo");
  const std::string first = std::to_string(last_coo - 1);
  const std::string last = std::to_string(last_coo);

  EXPECT_EQ(TypeE(first, last, "1"), kTypeEName);

  EXPECT_THAT(SimJournal(),
              Contains("Bematech_FI_DownloadMFD|c:\\Download.MFD|2|" + first + "|" + last + "|1"));
  const std::vector<std::string> header = Records(kTypeEName, "E01");
  ASSERT_THAT(header, SizeIs(1));
  // Serial number, then both dates (yyyymmdd) of today, then the software.
  EXPECT_THAT(header[0], StartsWith("E01BE0912SIM000001"));
  const std::string first_date = header[0].substr(63, 8);
  EXPECT_EQ(header[0].substr(71, 8), first_date);
  EXPECT_EQ(header[0].substr(79, 7), "ZEL PDV");
  EXPECT_THAT(Records(kTypeEName, "E14"), SizeIs(2));
  EXPECT_THAT(Lines(kTypeEName).back(), StartsWith("E99"));
  ExpectNoWorkingFiles();
}

TEST_F(TypeEFilesTest, DateRangePassesTheDatesThroughAndCleansUp) {
  PrintSupplies(2);
  ClearSimJournal();

  EXPECT_EQ(TypeE(kFirstDate, kLastDate, "2"), kTypeEName);

  EXPECT_THAT(SimJournal(), ElementsAre(std::string("Bematech_FI_DownloadMFD|Download.MFD|1|") +
                                        kFirstDate + "|" + kLastDate + "|1"));
  EXPECT_THAT(Records(kTypeEName, "E14"), SizeIs(2));
  ExpectNoWorkingFiles();
}

TEST_F(TypeEFilesTest, OtherRangeKindsDoNothing) {
  for (const char* kind : {"", "0", "3", "01"}) {
    EXPECT_EQ(TypeE("1", "2", kind), "") << kind;
  }
  EXPECT_THAT(SimJournal(), IsEmpty());
  EXPECT_THAT(MenuFiles(), IsEmpty());
}

// Two files within one second used to share a name, the second replacing
// the first.
TEST_F(TypeEFilesTest, SecondFileInTheSameSecondGetsItsOwnName) {
  PrintSupplies(1);
  ASSERT_EQ(TypeE(kFirstDate, kLastDate, "2"), kTypeEName);
  const std::string first_file = env_.ReadFile(kTypeEName);
  PrintSupplies(1);

  EXPECT_EQ(TypeE(kFirstDate, kLastDate, "2"), "c:\\MenuFiscal\\AC17-0420261207100507_2.txt");

  EXPECT_EQ(env_.ReadFile(kTypeEName), first_file);
  EXPECT_THAT(MenuFiles(), SizeIs(2));
}

// Every failure is an "ERRO_" answer with its reason, with no type-E file
// and no working file left (the generation's answer used to go unread).
TEST_F(TypeEFilesTest, FailuresAnswerErroWithTheReasonAndLeaveNothing) {
  struct Case {
    const char* name;
    std::string first, last, kind;
    std::function<void()> arrange;
    const char* reason;
  };
  const std::vector<Case> cases = {
      {"COO that is no number", "abc", "5", "1", [] {}, "O COO inicial"},
      {"download refused", kFirstDate, kLastDate, "2",
       [this] { FailEntry("Bematech_FI_DownloadMFD", -2); }, "download"},
      {"dates the printer does not read", "ontem", "hoje", "2", [] {}, "download"},
      {"no library", "1", "5", "1",
       [this] { env_.InjectFailure(EnvOperation::kOpenLibrary, 1, "BemaMFD2"); }, "BemaMFD2.dll"},
      {"no document in the range", "900000", "900001", "1", [] {}, ""},
      {"no fiscal-menu directory", kFirstDate, kLastDate, "2",
       [this] { std::filesystem::remove(env_.MapPath("C:\\MenuFiscal")); }, "tipo E"},
  };
  PrintSupplies(1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.arrange();

    const std::string result = TypeE(c.first, c.last, c.kind);

    EXPECT_THAT(result, StartsWith("ERRO_"));
    EXPECT_THAT(Cp1252ToUtf8(result), HasSubstr(c.reason));
    ExpectNoWorkingFiles();
    if (env_.DirectoryExists("C:\\MenuFiscal")) {
      EXPECT_THAT(MenuFiles(), IsEmpty());
    }
    env_.ClearFailures();
  }
}

TEST_F(TypeEFilesTest, CatGenericaDoesNothingAndSucceeds) {
  EXPECT_TRUE(CallArrayOp("GeraCatGenerica", MenuArray({{0, "001"}})));
  EXPECT_THAT(SimJournal(), IsEmpty());
}

}  // namespace
}  // namespace zel
