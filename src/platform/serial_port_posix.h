// Serial ports on POSIX terminals, behind Env::OpenSerialPort and
// Env::CanOpenSerialPort. Internal to src/platform.
#ifndef ZEL_PLATFORM_SERIAL_PORT_POSIX_H_
#define ZEL_PLATFORM_SERIAL_PORT_POSIX_H_

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/env.h"

namespace zel {

// The device for a Windows port name: "COMn" (any case, optional trailing
// ':') is ZEL_COMn when set, else /dev/ttyS<n-1>; a name with a '/' is the
// device itself. nullopt for any other name.
std::optional<std::string> SerialDevicePath(std::string_view port_name);

std::unique_ptr<SerialPort> OpenPosixSerialPort(std::string_view port_name,
                                                const SerialTimeouts& timeouts);
bool CanOpenPosixSerialPort(std::string_view port_name);

}  // namespace zel

#endif  // ZEL_PLATFORM_SERIAL_PORT_POSIX_H_
