// What the host hands the receipt printer operations is checked before
// anything is printed: port names, numbers of copies, model codes, and the
// texts put into dataset filters.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "credit/credit_text.h"
#include "credit/receipt_printer.h"
#include "zel/error.h"

namespace zel {
namespace {

TEST(ReceiptPortName, OnlyNumberedSerialPortsPass) {
  for (const char* good : {"COM1", "com5", "Com12", "COM256"}) {
    EXPECT_NO_THROW(CheckReceiptPortName(good)) << good;
  }
  for (const char* bad : {"", "COM", "COM0", "COM01", "COM1:", "COM1/../x", "/dev/ttyS0", "LPT1",
                          "USB", "COMX", "COM1000", " COM1", "..\\COM1"}) {
    EXPECT_THROW(CheckReceiptPortName(bad), Error) << bad;
  }
}

TEST(ReceiptCopies, DecimalDigitsOfOneOrMore) {
  EXPECT_EQ(ParseCopies("1"), 1);
  EXPECT_EQ(ParseCopies("03"), 3);
  for (const char* bad : {"", "0", "-1", "2.0", "dois", " 2", "99999"}) {
    EXPECT_THROW(ParseCopies(bad), Error) << bad;
  }
}

TEST(ReceiptModel, AModelCodeIsOneOrTwoDigits) {
  EXPECT_EQ(ModelFor("7").width, 40);
  EXPECT_EQ(ModelFor("5").cut_command, "\x1bm");
  EXPECT_EQ(ModelFor("10").line_end, "\r\n");
  for (const char* bad : {"", "MP4200", "7a", "100", " 7"}) {
    EXPECT_THROW(ModelFor(bad), Error) << bad;
  }
  // The table itself answers every code, as the exported helper must.
  EXPECT_EQ(ModelParameters("MP4200").width, 48);
}

TEST(FilterText, AQuoteInTheValueCannotEndTheText) {
  EXPECT_EQ(EqualsText("CDFAMILISALD", "12"), "CDFAMILISALD = '12'");
  EXPECT_EQ(EqualsText("NMTIPOCONS", "D'AVILA"), "NMTIPOCONS = 'D''AVILA'");
  Dataset table("t");
  table.AddField("NMTIPOCONS", FieldType::kText, 20);
  table.CreateDataSet();
  for (const char* name : {"D'AVILA", "OUTRO"}) {
    table.Append();
    table.SetValue("NMTIPOCONS", name);
    table.Post();
  }
  table.SetFilter(EqualsText("NMTIPOCONS", "D'AVILA"));
  table.SetFiltered(true);
  EXPECT_EQ(table.RecordCount(), 1);
}

}  // namespace
}  // namespace zel
