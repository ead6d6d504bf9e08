// The older printer interface: raw command frames and their status.
//
// A frame is ESC "|" command {"|" parameter} "|" ESC. The printer knows:
//   19        status request
//   14        cancel the open (or last) fiscal coupon
//   27        read the partial totals (reply: as VerificaTotalizadoresParciais)
//   10        non-fiscal receipt: totalizer index, value (14 digits, cents)
//   62|50     surcharge on the open coupon's subtotal: value (10 digits, cents)
//   74        payment-form reversal: from form, to form (names or 2-digit
//             positions), value (4 digits, cents); printed as a receipt
//   80|...    restaurant tables (tables.h)
// Any other command is refused with ST1 4. The reply variables of a frame
// are the command's answer: the status for 19 ("06" ST1 ST2, three digits
// each), the totals for 27, the COO for the others.
#include <string>
#include <vector>

#include "bemafi32.h"
#include "coupon.h"
#include "figures.h"
#include "nonfiscal.h"
#include "tables.h"
#include "text.h"

namespace ecfsim {
namespace {

constexpr char kEsc = 27;
constexpr int kReplyWidth = 3000;
constexpr int kAnswered = 0;  // the older interface's success
constexpr int kNotAnswered = 1;

// The fields between the escapes, or none when `frame` is not a frame.
std::vector<std::string> FrameFields(const std::string& frame) {
  if (frame.size() < 4 || frame.front() != kEsc || frame.back() != kEsc || frame[1] != '|' ||
      frame[frame.size() - 2] != '|') {
    return {};
  }
  std::string inner = frame.substr(2, frame.size() - 4);
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (true) {
    std::size_t bar = inner.find('|', start);
    fields.push_back(inner.substr(start, bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  return fields;
}

// A refusal of the older interface is only told by the status bytes.
Outcome Answered(Outcome o) {
  if (o.code != kOk && o.st1 == 0 && o.st2 == 0) {
    o.st2 = o.code == kBadParameter ? st2::kParameterType : st2::kNotExecuted;
  }
  o.code = kAnswered;
  return o;
}

Outcome Reversal(Printer& p, const std::vector<std::string>& f) {
  if (f.size() != 4) return Refuse(st1::kParameterCount, 0);
  PrinterState& s = p.state();
  auto form_of = [&s](const std::string& text) {
    auto position = ParseCount(text);
    if (position && Trim(text).size() == 2) {
      int i = *position - 1;
      return i >= 0 && i < kPaymentFormSlots && !s.payment_forms[i].name.empty() ? i : -1;
    }
    return FindPaymentForm(s, text);
  };
  int from = form_of(f[1]), to = form_of(f[2]);
  auto amount = ParseAmount(f[3], 2, 2);
  if (!amount || *amount <= 0) return Refuse(0, st2::kParameterType);
  if (from < 0 || to < 0 || from == to || s.payment_forms[from].day_total < *amount ||
      p.DocumentOpen()) {
    return NotNow();
  }
  if (Outcome day = p.CheckDay(); day.code != kOk) return day;
  p.OpenDayIfNeeded();
  p.StartDocument("CNF", "ESTORNO DE FORMA DE PAGAMENTO");
  ++s.counters.gnf;
  s.payment_forms[from].day_total -= *amount;
  s.payment_forms[to].day_total += *amount;
  p.Print(Spread("DE: " + s.payment_forms[from].name, "-" + Money(*amount), kTapeWidth));
  p.Print(Spread("PARA: " + s.payment_forms[to].name, "+" + Money(*amount), kTapeWidth));
  p.FinishDocument();
  return Done();
}

Outcome Command(Printer& p, const std::vector<std::string>& f) {
  const std::string& command = f[0];
  Outcome outcome;
  if (command == "19") {
    outcome = f.size() == 1 ? Done() : Refuse(st1::kParameterCount, 0);
  } else if (command == "14") {
    outcome = f.size() == 1 ? CancelCoupon(p) : Refuse(st1::kParameterCount, 0);
  } else if (command == "27") {
    outcome = f.size() == 1 ? Done() : Refuse(st1::kParameterCount, 0);
  } else if (command == "10") {
    outcome = f.size() == 3 ? RegisterReceipt(p, f[1], f[2], "") : Refuse(st1::kParameterCount, 0);
  } else if (command == "62" && f.size() > 1 && f[1] == "50") {
    auto amount = f.size() == 3 ? ParseAmount(f[2], 2, 2) : std::nullopt;
    if (f.size() != 3) {
      outcome = Refuse(st1::kParameterCount, 0);
    } else if (!amount || *amount <= 0) {
      outcome = Refuse(0, st2::kParameterType);
    } else if (p.state().document != DocumentState::kCouponItems) {
      outcome = NotNow();
    } else {
      outcome = AdjustSubtotal(p, *amount);
    }
  } else if (command == "74") {
    outcome = Reversal(p, f);
  } else if (command == "80") {
    outcome = TableCommand(p, f);
  } else {
    outcome = Refuse(st1::kUnknownCommand, 0);
  }
  p.last_reply() = command == "27" ? PartialTotals(p.state()) : Digits(p.state().counters.coo, 6);
  return Answered(outcome);
}

bool Prints(const std::vector<std::string>& f) {
  if (f.empty() || f[0] == "19" || f[0] == "27") return false;
  if (f[0] == "80") return f.size() > 1 && TableCommandPrints(f[1]);
  return true;
}

std::string StatusReply(const StatusBytes& s) {
  return Digits(s.ack, 2) + Digits(s.st1, 3) + Digits(s.st2, 3);
}

}  // namespace
}  // namespace ecfsim

using ecfsim::CommandKind;
using ecfsim::Outcome;
using ecfsim::Printer;
using ecfsim::Run;

int BemaIniPortaStr(const char* port) {
  return Run(
      "BemaIniPortaStr", {ecfsim::Arg(port)}, CommandKind::kQuery,
      [](Printer&) { return Outcome{ecfsim::kAnswered}; }, ecfsim::kNotAnswered);
}

int BemaFechaPorta() {
  return Run(
      "BemaFechaPorta", {}, CommandKind::kQuery,
      [](Printer& p) {
        p.ReleasePort();
        return Outcome{ecfsim::kAnswered};
      },
      ecfsim::kNotAnswered);
}

int BemaFormataTX(const char* frame) {
  std::string text = ecfsim::Arg(frame);
  std::vector<std::string> fields = ecfsim::FrameFields(text);
  CommandKind kind = ecfsim::Prints(fields) ? CommandKind::kPrinting : CommandKind::kQuery;
  int code = Run(
      "BemaFormataTX", {text}, kind,
      [&](Printer& p) {
        if (fields.empty() || fields[0].empty()) return ecfsim::BadParameter();
        return ecfsim::Command(p, fields);
      },
      ecfsim::kNotAnswered);
  if (!fields.empty() && fields[0] == "19") {
    ecfsim::WithPrinter([](Printer& p) { p.last_reply() = ecfsim::StatusReply(p.last_status()); });
  }
  // A refusal by the printer was still an answer; its status tells the rest.
  return code == ecfsim::kRefused ? ecfsim::kAnswered : code;
}

int BemaStatus_Mp20FI(int* reply, int* ack, int* st1, int* st2) {
  return Run("BemaStatus_Mp20FI", {}, CommandKind::kStatusRead, [&](Printer& p) {
    const ecfsim::StatusBytes& s = p.last_status();
    if (reply) *reply = s.replied ? 0 : 1;
    if (ack) *ack = s.ack;
    if (st1) *st1 = s.st1;
    if (st2) *st2 = s.st2;
    return Outcome{ecfsim::kAnswered};
  });
}

int BemaLe_Variaveis(char* reply3000) {
  return Run("BemaLe_Variaveis", {}, CommandKind::kStatusRead, [&](Printer& p) {
    ecfsim::CopyOut(reply3000, p.last_reply(), ecfsim::kReplyWidth);
    return Outcome{ecfsim::kAnswered};
  });
}

int BemaRetorna_ASCII(char* reply3000) {
  return Run("BemaRetorna_ASCII", {}, CommandKind::kStatusRead, [&](Printer& p) {
    std::string codes;
    for (char c : p.last_reply()) {
      if (!codes.empty()) codes += " ";
      codes += ecfsim::Digits(static_cast<unsigned char>(c), 3);
    }
    ecfsim::CopyOut(reply3000, codes, ecfsim::kReplyWidth);
    return Outcome{ecfsim::kAnswered};
  });
}
