// The host's stored grand total seen from inside the driver.
#ifndef ZEL_CORE_GRAND_TOTAL_H_
#define ZEL_CORE_GRAND_TOTAL_H_

#include <optional>
#include <string>

namespace zel {

// The keys of a register's row in the host's configuration (Ploteva.cds).
// The host's own keys (stAtuFili, stAtuCaixa, stSerieAtu) come first; where
// the host has not set one yet, the key given here is used.
struct RegisterKeys {
  std::string branch;
  std::string cash_register;
  std::string serial;
};

// Whether this register's stored grand total equals the printer's, without
// any dialog and without writing; nullopt when it cannot be told (no
// configuration, no row, check disabled, no stored total, an error).
std::optional<bool> StoredTotalMatchesPrinter(const RegisterKeys& keys);

}  // namespace zel

#endif  // ZEL_CORE_GRAND_TOTAL_H_
