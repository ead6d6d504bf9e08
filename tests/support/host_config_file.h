// The host's fiscal configuration file (Ploteva.cds and its alternative
// name) as a test host writes it: one row per register, texts stored as the
// host stores them (the serial and the total already enciphered by the
// caller, so a test can also store a total that does not decipher).
#ifndef ZEL_TESTS_SUPPORT_HOST_CONFIG_FILE_H_
#define ZEL_TESTS_SUPPORT_HOST_CONFIG_FILE_H_

#include <string>
#include <vector>

namespace zel {

struct HostConfigRow {
  std::string branch;         // CDFILIAL
  std::string cash_register;  // CDCAIXA
  std::string serial_field;   // NRSERIEECF
  std::string site;           // IDSITECFIMPF ("A": active)
  std::string check;          // CAMPO01 ("S": check the grand total)
  std::string total_field;    // CAMPO02
};

// Writes the rows as a dataset file at `path` (a real path).
void WriteHostConfigFile(const std::string& path, const std::vector<HostConfigRow>& rows);

}  // namespace zel

#endif  // ZEL_TESTS_SUPPORT_HOST_CONFIG_FILE_H_
