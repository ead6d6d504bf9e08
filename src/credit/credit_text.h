// What the consumer-credit documents share: their 48-column lines, money
// and number texts, the checks made on the host's datasets before anything
// is printed, the report frame and the way a report's text reaches the
// printer. Texts are Windows-1252. Host thread only, like every operation.
#ifndef ZEL_CREDIT_CREDIT_TEXT_H_
#define ZEL_CREDIT_CREDIT_TEXT_H_

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

#include "nonfiscal/text_pieces.h"
#include "zel/dataset.h"

namespace zel {

inline constexpr int kCreditWidth = 48;

// `width` dashes.
std::string Rule(int width = kCreditWidth);
// The first `width` characters of `text`.
std::string CutTo(std::string_view text, int width = kCreditWidth);
// Currency text of the regional settings ("R$ 12,50").
std::string Money(double value);
// Fixed notation with two decimals and `precision` significant digits.
std::string Fixed(double value, int precision = 15);
// The clock's now in a date mask ("dd/mm/yyyy hh:nn").
std::string NowText(std::string_view mask);
// The clock's now as the short date, a blank and the long time.
std::string NowDateTimeText();
// The software maker's line that ends the printed documents.
std::string FooterLine();

// Raises zel::Error naming the dataset and the field when one of `fields`
// is not among its fields, so a document never stops half printed.
void RequireFields(const Dataset& dataset, std::initializer_list<std::string_view> fields);
// Sum of a float field over every row, from the first.
double SumField(Dataset& dataset, std::string_view field);

// A filter expression comparing `field` with a text: FIELD = 'text', a quote
// in the text doubled so it cannot end the text early.
std::string EqualsText(std::string_view field, std::string_view text);

// Puts a dataset's filter back as it was when the guard was made.
class FilterGuard {
 public:
  explicit FilterGuard(Dataset& dataset);
  ~FilterGuard();
  FilterGuard(const FilterGuard&) = delete;
  FilterGuard& operator=(const FilterGuard&) = delete;

 private:
  Dataset& dataset_;
  std::string filter_;
  bool filtered_;
};

// The reports' frame: the one-cent receipt on the report totalizer, its
// number, the linked receipt opened against it. Its verdict.
bool OpenReportFrame(const std::string& colour_scheme);

// Sends a text in pieces of whole lines of at most `limit` characters (a
// line longer than that is split), so no line of a long report is lost.
// True when every piece was accepted; an empty text sends nothing.
bool SendText(std::string_view text, std::size_t limit = kReportPieceLength);

}  // namespace zel

#endif  // ZEL_CREDIT_CREDIT_TEXT_H_
