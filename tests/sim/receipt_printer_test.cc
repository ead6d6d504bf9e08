// The simulated non-fiscal receipt printer (libMp2032.so), through its
// entries and control API: what opens the port, what reaches the paper, the
// cut marks, the faults and the journal.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <string>
#include <vector>

#include "mp2032.h"
#include "support/temp_dir.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class ReceiptPrinterSimTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("NFSIM_DIR", (dir_.path() + "/nfsim").c_str(), 1);
    NfSim_Reset();
  }
  void TearDown() override { ::unsetenv("NFSIM_DIR"); }

  std::vector<std::string> Tape() {
    std::ifstream file(dir_.path() + "/nfsim/tape.txt");
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
  }
  std::vector<std::string> Journal() {
    std::vector<std::string> calls;
    for (int i = 0; i < NfSim_JournalCount(); ++i) {
      char buffer[256];
      NfSim_JournalGet(i, buffer, sizeof buffer);
      calls.emplace_back(buffer);
    }
    return calls;
  }

  zel::TempDir dir_;
};

TEST_F(ReceiptPrinterSimTest, PortNamesTheLibraryKnows) {
  struct Case {
    const char* port;
    int answer;
  };
  for (const Case& c :
       {Case{"COM1", 1}, Case{"com12", 1}, Case{"LPT1", 1}, Case{"usb", 1}, Case{"COM0", -1},
        Case{"COM", -1}, Case{"/dev/ttyS0", -1}, Case{"", -1}, Case{"COM1:", -1}}) {
    EXPECT_EQ(IniciaPorta(c.port), c.answer) << c.port;
  }
  NfSim_SetAttached(0);
  EXPECT_EQ(IniciaPorta("COM1"), 0) << "no printer on the port";
}

TEST_F(ReceiptPrinterSimTest, NothingIsPrintedWhileThePortIsClosed) {
  EXPECT_EQ(FormataTX("antes\n", 3, 0, 0, 0, 1), 0);
  EXPECT_EQ(ComandoTX("\x1bw", 2), 0);
  ASSERT_EQ(IniciaPorta("COM2"), 1);
  EXPECT_EQ(FechaPorta(), 1);
  EXPECT_EQ(FormataTX("depois\n", 3, 0, 0, 0, 1), 0);

  EXPECT_THAT(Tape(), IsEmpty());
  EXPECT_THAT(Journal(),
              ElementsAre("FormataTX|antes\n|3|0|0|0|1", "ComandoTX|\x1bw|2", "IniciaPorta|COM2",
                          "FechaPorta", "FormataTX|depois\n|3|0|0|0|1"));
}

TEST_F(ReceiptPrinterSimTest, PaperWrapsAtTheColumnsAndShowsCuts) {
  NfSim_SetColumns(10);
  ASSERT_EQ(IniciaPorta("COM1"), 1);

  EXPECT_EQ(FormataTX("abcdefghijKLM\r\n\n\rfim", 3, 0, 0, 0, 1), 1);
  EXPECT_EQ(ComandoTX("\x1bm", 2), 1);
  EXPECT_EQ(ComandoTX("\x1bw", 2), 1);
  EXPECT_EQ(ComandoTX("\x1b@", 2), 1) << "other commands leave no mark";
  EXPECT_EQ(FormataTX("\xc7"
                      "ao\n",
                      3, 0, 0, 0, 1),
            1);

  EXPECT_THAT(Tape(), ElementsAre("abcdefghij", "KLM", "", "fim", "----------", "= CORTE ==",
                                  "\xc3\x87"
                                  "ao"));
}

TEST_F(ReceiptPrinterSimTest, FaultsAnswerWithoutPrintingForTheCallsAsked) {
  ASSERT_EQ(IniciaPorta("COM1"), 1);
  NfSim_FailEntry("FormataTX", -5, 2);

  EXPECT_EQ(FormataTX("a\n", 3, 0, 0, 0, 1), -5);
  EXPECT_EQ(FormataTX("b\n", 3, 0, 0, 0, 1), -5);
  EXPECT_EQ(FormataTX("c\n", 3, 0, 0, 0, 1), 1);

  EXPECT_THAT(Tape(), ElementsAre("c"));
  EXPECT_EQ(NfSim_JournalCount(), 4) << "refused calls are journaled too";
  NfSim_JournalClear();
  EXPECT_EQ(NfSim_JournalCount(), 0);
  EXPECT_EQ(NfSim_JournalGet(0, nullptr, 0), -1);
}

}  // namespace
