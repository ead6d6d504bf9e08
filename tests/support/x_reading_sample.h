// A serial X reading ("Retorno.txt") written by hand in the printer
// library's layout, for programs that feed the Z-reduction export a file
// of their choosing (tests, the benchmark, the fuzz target's seed). Free of
// any test framework. Texts are Windows-1252; lines have no line breaks.
#ifndef ZEL_TESTS_SUPPORT_X_READING_SAMPLE_H_
#define ZEL_TESTS_SUPPORT_X_READING_SAMPLE_H_

#include <string>
#include <vector>

namespace zel {

// `label` on the left, `value` ending at column 48.
std::string ReadingLine(const std::string& label, const std::string& value);
// `label` on the left, `amount` right-aligned in columns 29-48.
std::string ReadingAmountLine(const std::string& label, const std::string& amount);
// A 48-column banner with the title (UTF-8) centred among hyphens.
std::string ReadingBanner(const char* utf8_title);
// A tax-rate line: position cols 1-2, rate 5-9, base 15-29, tax 31-48.
std::string ReadingRateLine(const std::string& position, const std::string& rate,
                            const std::string& base, const std::string& tax);

// A whole reading: counters CRO 0002, CRZ 0041, COO 000120, GNF 000015,
// CFC 0003, first and last documents 000100 and 000119; grand total
// "1.234,56" and gross sales "123456" (both money styles); taxed rates 01
// (18,00 on 1.000,00) and 02 (12,00 on 500,00), service-tax rate 05;
// payment forms 01 (1.000,00), 03 (100,00) and 02 (122,56); the
// withdrawal and supply totalizers; times 01:02:03 and 00:10:20; 1759
// reductions free. `extra` more payment-form lines (index 04 on, 1,00 each)
// and as many more taxed-rate lines make the reading longer.
std::vector<std::string> SampleXReading(int extra = 0);

}  // namespace zel

#endif  // ZEL_TESTS_SUPPORT_X_READING_SAMPLE_H_
