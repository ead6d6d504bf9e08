// Reading the lists the printer returns when it is asked what it has been
// programmed with: the tax-rate table, the non-fiscal totalizers and the
// payment forms. Pure text work, no printer calls, so the operations that
// program the printer stay short and these rules can be tested alone.
//
// Texts are Windows-1252 bytes, as the printer writes them. Stateless apart
// from the decimal separator of the current FormatSettings (rates); call
// from the host's thread, as the rest of the driver.
#ifndef ZEL_PROGRAMMING_PRINTER_LISTS_H_
#define ZEL_PROGRAMMING_PRINTER_LISTS_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

// One programmed position of the printer's tax-rate table.
struct ProgrammedRate {
  int position = 0;          // 1-based
  double rate = 0;           // percent: 18.00
  bool service_tax = false;  // also found in the service-tax (ISS) list
};

// The rates of a tax-rate list: entries of four digits (two integer and two
// decimal digits) each followed by one separator character. Free positions
// (rate 0) and entries that do not read as a number are left out but still
// counted, so a rate keeps the position the printer addresses it by. A rate
// whose four digits are an entry of `service_rates` (same layout) is a
// service-tax rate. Blanks around either list are ignored.
std::vector<ProgrammedRate> ReadRateList(std::string_view rates, std::string_view service_rates);

// The names of a non-fiscal totalizer list, one per position (1-based
// position = vector index + 1): 19 characters each, trimmed, each followed
// by one separator character. Blank positions give empty names. Every
// started entry counts, so a 179-character buffer gives 9 names.
std::vector<std::string> ReadTotalizerNames(std::string_view list);

// The printer's own spelling of the payment form named `name` (compared
// ignoring case and trailing blanks) in the payment-form list `forms`, whose
// entries start with a 16-character name field. Only a whole name matches:
// "Cartao" is not found in a list holding only "Cartao Credito". Empty when
// the form is not in the list or `name` is blank.
std::optional<std::string> FindPaymentForm(std::string_view forms, std::string_view name);

// `text` in upper case, accented letters included.
std::string UpperCase(std::string_view text);

// `number` as two digits, zero-padded: 4 gives "04"; 123 gives "123".
std::string TwoDigits(int number);

// `text` without blanks (code 32 or below) on either side.
std::string TrimBlanks(std::string_view text);

}  // namespace zel

#endif  // ZEL_PROGRAMMING_PRINTER_LISTS_H_
