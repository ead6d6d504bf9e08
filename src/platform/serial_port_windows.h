// Serial ports of Windows, behind Env::OpenSerialPort and
// Env::CanOpenSerialPort. Internal to src/platform.
#ifndef ZEL_PLATFORM_SERIAL_PORT_WINDOWS_H_
#define ZEL_PLATFORM_SERIAL_PORT_WINDOWS_H_

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "zel/env.h"

namespace zel {

// The device for a port name: "COMn" (any case, optional trailing ':') is
// ZEL_COMn when set, else \\.\COMn (so ports above COM9 open too); a name
// with a '/' or '\' is the device itself. nullopt for any other name.
std::optional<std::string> WindowsSerialDevice(std::string_view port_name);

std::unique_ptr<SerialPort> OpenWindowsSerialPort(std::string_view port_name,
                                                  const SerialTimeouts& timeouts);
bool CanOpenWindowsSerialPort(std::string_view port_name);

}  // namespace zel

#endif  // ZEL_PLATFORM_SERIAL_PORT_WINDOWS_H_
