// TableFixture: a SaleFixture for the restaurant operations. The printer
// comes ready for table documents (rate 01 at 18 %, totalizer 02 and the
// report payment form named "Rel Gerencial", IdTotRelatorio "02") and the
// host's data directory (dsDirCad) is the test's host folder. Reads back
// the frames of the raw command channel, the pieces of linked receipts and
// the paper tape. One test thread.
#ifndef ZEL_TESTS_RESTAURANT_TABLE_FIXTURE_H_
#define ZEL_TESTS_RESTAURANT_TABLE_FIXTURE_H_

#include <string>
#include <vector>

#include "support/sale_fixture.h"
#include "zel/dataset.h"
#include "zel/variant.h"

namespace zel {

class TableFixture : public SaleFixture {
 protected:
  void SetUp() override;

  // The frames the driver sent through BemaFormataTX, without the status
  // requests and the escapes: "|80|48|12|...|".
  std::vector<std::string> FramesSent();
  // The texts of the linked receipts' pieces, in order.
  std::vector<std::string> PiecesSent();
  // The pieces joined: the whole text of the documents printed.
  std::string TextSent();
  // The paper tape, line by line (UTF-8).
  std::vector<std::string> Tape();
  // The texts of the dialogs shown (UTF-8).
  std::vector<std::string> Dialogs();
  // The folder dsDirCad names (a real path, with its separator).
  std::string HostFolder();
};

// A host table of `fields` holding `rows` (one value per field, in order).
Dataset HostTable(const std::vector<FieldDef>& fields,
                  const std::vector<std::vector<Variant>>& rows);

}  // namespace zel

#endif  // ZEL_TESTS_RESTAURANT_TABLE_FIXTURE_H_
