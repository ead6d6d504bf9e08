#include "core/start_support.h"

#include "host/codepage.h"
#include "zel/host_services.h"

namespace zel {

std::string ParameterErrorText(std::string_view error_text, std::string_view operation) {
  static const std::string prefix = Utf8ToCp1252("Erro no recebimento dos parâmetros da função: ");
  std::string text(error_text);
  text += '\r';
  text += prefix;
  text += operation;
  text += " - Zel_00100.bpl";
  return text;
}

std::string ParamText(const Variant& params, std::string_view name) {
  return RecebeParams(params, name).AsText();
}

std::string Trim(std::string_view text) {
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

}  // namespace zel
