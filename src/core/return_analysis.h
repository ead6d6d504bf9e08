// What the printer's answers mean: the status codes the fiscal library's
// entries return and the bits of the printer's status bytes ST1 and ST2,
// each with the message key that names it. Zel00101::AnalisaRetorno
// (zel/operations.h) applies them after every call; the raw command channel
// reads the same bits from the older interface.
//
// Keys are those of the data module's standard message table. Constant
// tables; safe from any thread.
#ifndef ZEL_CORE_RETURN_ANALYSIS_H_
#define ZEL_CORE_RETURN_ANALYSIS_H_

#include <span>
#include <string_view>

namespace zel {

// Status of an entry that did its work.
inline constexpr int kVendorDone = 1;
// ACK value of a printer that refused the last command.
inline constexpr int kNak = 21;

// The message key a status code raises ("ErroComunicacao" for 0,
// "ErroAbrirArq" for -18...), or an empty view for codes that raise nothing
// by themselves (1, -9 to -17, -27, any other value).
std::string_view ReturnCodeKey(int code);

enum class StatusByte { kSt1, kSt2 };

// What a status bit does to the verdict of the analysis.
enum class StatusMeaning {
  kFailure,     // fails the verdict
  kLowPaper,    // only a notice
  kCouponOpen,  // the printer has a fiscal coupon open; may be cancelled
};

struct StatusBit {
  StatusByte byte;
  int value;  // 128, 64, ... 1
  std::string_view key;
  StatusMeaning meaning;
};

// ST1's bits and then ST2's, each from the highest down: the order in which
// problems are logged and shown.
std::span<const StatusBit> StatusBits();

}  // namespace zel

#endif  // ZEL_CORE_RETURN_ANALYSIS_H_
