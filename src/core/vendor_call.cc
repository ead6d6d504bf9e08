#include "core/vendor_call.h"

#include "host/string_functions.h"
#include "zel/debug_log.h"

namespace zel {

std::string Blanks(int width) { return Replicate(" ", width); }

std::string CallLine(std::string_view entry, std::initializer_list<std::string_view> arguments) {
  std::string line(entry);
  const char* separator = " : ";
  for (std::string_view argument : arguments) {
    line += separator;
    line += argument;
    separator = " - ";
  }
  return line;
}

std::string ReplyLine(std::string_view entry, std::string_view reply) {
  std::string line(entry);
  line += "\r\nRetorno da Impressora : ";
  line += reply;
  return line;
}

void LogCall(std::string_view entry, std::initializer_list<std::string_view> arguments) {
  Zel00101::ImpFisDebug(CallLine(entry, arguments));
}

void LogReply(std::string_view entry, std::string_view reply) {
  Zel00101::ImpFisDebug(ReplyLine(entry, reply));
}

}  // namespace zel
