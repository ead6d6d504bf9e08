// The host's fiscal configuration file, Ploteva.cds in the working folder:
// this register's row with the printer's serial number and the grand total
// the driver stores enciphered. The driver checks the printer against it
// (Atu_TotGeral, VerificaSerialImp); this host creates it the first time it
// meets a printer and refreshes the stored total after every job that
// moves it, as a point-of-sale host keeps its configuration in step.
#ifndef ECFHOST_FISCAL_CONFIG_H_
#define ECFHOST_FISCAL_CONFIG_H_

#include <string>

#include "session.h"

namespace ecfhost {

inline constexpr char kBranch[] = "0001";
inline constexpr char kCashRegister[] = "001";

// The configuration file's path in the working folder.
std::string ConfigurationPath(const Session& session);

// The printer serial number this register's row holds, deciphered; empty
// when there is no configuration yet. Raises zel::Error naming the file and
// the cause when the file does not load or lacks this register's row.
std::string StoredPrinterSerial(const Session& session);

// Writes a configuration holding this register with the printer `serial`
// and has the driver store the printer's grand total in it.
void RegisterPrinter(Session& session, const std::string& serial);

// The driver's verdict on the printer: its grand total and serial number
// against the configuration. False after the driver's own dialog.
bool PrinterMatchesConfiguration(Session& session, const std::string& serial);

// Has the driver store the printer's current grand total.
void RefreshStoredGrandTotal(Session& session);

}  // namespace ecfhost

#endif  // ECFHOST_FISCAL_CONFIG_H_
