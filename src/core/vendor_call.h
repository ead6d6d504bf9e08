// The shape of every printer call. An operation
//   1. fills each out-buffer with blanks of the entry's width    Blanks(6)
//   2. calls the entry through the vendor entry table            CallVendor(...)
//   3. writes the debug-log line of the call                     LogCall / LogReply
//   4. hands the status to the return analysis                   AnalisaRetorno(...)
// and the verdict decides whether it goes on. For example:
//
//   std::string coo = Blanks(6);
//   const int status = CallVendor(Zel00101::Bematech_FI_NumeroCupom, coo);
//   LogReply("Bematech_FI_NumeroCupom", coo);
//   return Zel00101::AnalisaRetorno(EsquemaCor, status, true, true, false);
//
// CallVendor takes the operation's own values and passes each the way the
// entry's parameter wants it:
//   const char*  a text (std::string or a literal); an empty text goes as a
//                null pointer, as the library expects;
//   char*        an out-buffer: a std::string lvalue, already blank-filled
//                to the entry's width; the entry writes into it in place;
//   int*         an out-integer: an int lvalue, preset by the caller;
//   int          an int.
// Anything else does not compile, so a temporary cannot be passed as an
// out-buffer and a std::string_view (not zero-terminated) cannot be passed
// at all.
//
// An empty pointer (library not bound, or StopImpFiscal ran) is never
// called: the call answers like a printer that does not answer, leaving the
// buffers as they were. The host's thread only, like every operation.
#ifndef ZEL_CORE_VENDOR_CALL_H_
#define ZEL_CORE_VENDOR_CALL_H_

#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "core/vendor_table.h"
#include "zel/operations.h"

namespace zel {

// What a call through an empty pointer returns: the fiscal library's "no
// reply" status (the return analysis reports ErroComunicacao for it).
inline constexpr int kVendorNoAnswer = 0;
// The same for the older interface, where 0 means success and 1 no reply.
inline constexpr int kOlderInterfaceNoAnswer = 1;

// `width` blanks: an out-buffer ready for an entry.
std::string Blanks(int width);

namespace vendor_call_internal {

inline const char* InText(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }
inline const char* InText(const char* text) {
  return text == nullptr || *text == '\0' ? nullptr : text;
}

template <typename Parameter, typename Argument>
Parameter Pass(Argument&& argument) {
  using Value = std::remove_reference_t<Argument>;
  if constexpr (std::is_same_v<Parameter, const char*>) {
    return InText(argument);
  } else if constexpr (std::is_same_v<Parameter, char*>) {
    static_assert(std::is_lvalue_reference_v<Argument> && std::is_same_v<Value, std::string>,
                  "an out-buffer must be a std::string variable");
    return argument.data();
  } else if constexpr (std::is_same_v<Parameter, int*>) {
    static_assert(std::is_lvalue_reference_v<Argument> && std::is_same_v<Value, int>,
                  "an out-integer must be an int variable");
    return &argument;
  } else {
    static_assert(std::is_same_v<Parameter, int> && std::is_integral_v<std::remove_cv_t<Value>>,
                  "an entry takes texts, buffers and integers only");
    return static_cast<int>(argument);
  }
}

template <int kNoAnswer, typename... Parameters, typename... Arguments>
int Call(int (*entry)(Parameters...), Arguments&&... arguments) {
  static_assert(sizeof...(Parameters) == sizeof...(Arguments),
                "pass exactly one value per parameter of the entry");
  if (entry == nullptr) return kNoAnswer;
  return entry(Pass<Parameters>(std::forward<Arguments>(arguments))...);
}

}  // namespace vendor_call_internal

// Calls an entry of the fiscal library; kVendorNoAnswer when it is empty.
template <typename... Parameters, typename... Arguments>
int CallVendor(int (*entry)(Parameters...), Arguments&&... arguments) {
  return vendor_call_internal::Call<kVendorNoAnswer>(entry, std::forward<Arguments>(arguments)...);
}

// Calls an entry of the older interface; kOlderInterfaceNoAnswer when it is
// empty, so an unbound entry never passes for a success.
template <typename... Parameters, typename... Arguments>
int CallOlderInterface(int (*entry)(Parameters...), Arguments&&... arguments) {
  return vendor_call_internal::Call<kOlderInterfaceNoAnswer>(entry,
                                                             std::forward<Arguments>(arguments)...);
}

// The debug-log texts of a call:
//   CallLine("Bematech_FI_LeituraX", {})            "Bematech_FI_LeituraX"
//   CallLine("Bematech_FI_Suprimento", {v, f})      "Bematech_FI_Suprimento : " v " - " f
//   ReplyLine("Bematech_FI_NumeroCaixa", number)    "Bematech_FI_NumeroCaixa" CR LF
//                                                   "Retorno da Impressora : " number
// An empty argument still counts: CallLine("E", {""}) is "E : ". Lines of
// another shape are written with ImpFisDebug directly.
std::string CallLine(std::string_view entry, std::initializer_list<std::string_view> arguments);
std::string ReplyLine(std::string_view entry, std::string_view reply);

// Write those lines to the debug log.
void LogCall(std::string_view entry, std::initializer_list<std::string_view> arguments = {});
void LogReply(std::string_view entry, std::string_view reply);

}  // namespace zel

#endif  // ZEL_CORE_VENDOR_CALL_H_
