// The raw command channel: frames of the older printer interface sent with
// BemaFormataTX, and the four status values read with BemaStatus_Mp20FI
// (reply flag, ACK, ST1, ST2), whose bits mean what they mean for the
// fiscal library (core/return_analysis.h).
#include <span>
#include <string>

#include "core/data_module.h"
#include "core/dialogs.h"
#include "core/return_analysis.h"
#include "core/vendor_call.h"
#include "zel/debug_log.h"
#include "zel/driver_state.h"
#include "zel/host_services.h"
#include "zel/operations.h"

namespace zel {
namespace {

constexpr char kEscape = 27;
// Reply flag of a status read that got no valid answer.
constexpr int kNoValidReply = 1;
// ST2 bit the printer keeps up while it is still working on a command.
constexpr int kStillWorking = 64;
// A printer that never drops that bit (its memory really is full) must not
// hold the host forever: after this many re-reads the status is taken as
// it stands, and ImpressoraOK reports it.
constexpr int kMaxWorkingRereads = 50;

struct OlderStatus {
  int reply = 0;
  int ack = 0;
  int st1 = 0;
  int st2 = 0;
};

std::string Frame(std::string_view command, std::span<const std::string> parameters) {
  std::string frame{kEscape, '|'};
  frame += command;
  for (const std::string& parameter : parameters) {
    frame += '|';
    frame += parameter;
  }
  frame += '|';
  frame += kEscape;
  return frame;
}

// Asks the printer for its status; the answer is read with ReadStatus.
void SendStatusRequest() {
  static const std::string kStatusRequest = Frame("19", {});
  CallOlderInterface(Zel00101::BemaFormataTX, kStatusRequest);
}

// The four values, each preset to 0. An entry that cannot answer at all
// (unbound, or failing) counts as "no valid reply", never as a clean status.
OlderStatus ReadStatus() {
  OlderStatus status;
  if (CallOlderInterface(Zel00101::BemaStatus_Mp20FI, status.reply, status.ack, status.st1,
                         status.st2) != 0) {
    status.reply = kNoValidReply;
  }
  return status;
}

// Logs and shows the paper-out notice, asks again and reads again, until
// the printer has paper: the operator's confirmation is the only pacing.
OlderStatus WaitForPaper(const std::string& colour_scheme) {
  OlderStatus status;
  do {
    const std::string text = MsgPadrao("FimPapel");
    LogProblem(text);
    ShowDialog(text, colour_scheme, kNoticeDialog);
    SendStatusRequest();
    status = ReadStatus();
  } while (status.st1 >= 128);
  return status;
}

// Clears boComando however EnviaComando leaves, exceptions included.
class BusyChannel {
 public:
  BusyChannel() { Zel00101::boComando = true; }
  ~BusyChannel() { Zel00101::boComando = false; }
  BusyChannel(const BusyChannel&) = delete;
  BusyChannel& operator=(const BusyChannel&) = delete;
};

}  // namespace
}  // namespace zel

namespace Zel00101 {

bool EnviaComando(const std::string& EsquemaCor, const std::string& Comando,
                  std::span<const std::string> Parametros, bool Mostra, bool /*Reservado*/) {
  using namespace zel;
  EnsureDataModule();
  if (boComando) return false;
  const BusyChannel busy;

  SendStatusRequest();
  OlderStatus status = ReadStatus();
  if (Mostra && status.st1 >= 128) status = WaitForPaper(EsquemaCor);

  const std::string frame = Frame(Comando, Parametros);
  ImpFisDebug("Comando : " + frame);
  const bool accepted = CallOlderInterface(BemaFormataTX, frame) == 0;

  for (int reread = 0; accepted && reread <= kMaxWorkingRereads; ++reread) {
    status = ReadStatus();
    if ((status.st2 & kStillWorking) == 0) break;
    SendStatusRequest();
  }

  if (!accepted) {
    // A frame that never reached the printer is a failure whatever the
    // status of the previous command says.
    LogProblem("Comando : " + frame);
    if (Mostra && ImpressoraOK(EsquemaCor, true, false, false)) {
      ShowDialog(MsgPadrao("ErroComando"), EsquemaCor, kStartDialog);
    }
    return false;
  }
  return ImpressoraOK(EsquemaCor, Mostra, Comando != "14", Comando == "00");
}

bool ImpressoraOK(const std::string& EsquemaCor, bool Mostra, bool CancelaAberto,
                  bool AvisaPoucoPapel) {
  using namespace zel;
  EnsureDataModule();
  OlderStatus status = ReadStatus();
  if (status.reply == kNoValidReply || status.ack == kNak) {
    LogProblem(status.reply == kNoValidReply ? "Ret recebido" : "NAK recebido");
    if (Mostra) ShowDialog(MsgPadrao("ImpErro"), EsquemaCor, kNoticeDialog);
    return false;
  }

  bool verdict = true;
  for (const StatusBit& bit : StatusBits()) {
    int& running = bit.byte == StatusByte::kSt1 ? status.st1 : status.st2;
    if (running < bit.value) continue;
    running -= bit.value;
    if (bit.byte == StatusByte::kSt1 && bit.value == 128) {
      verdict = false;
      if (Mostra) {
        status = WaitForPaper(EsquemaCor);
        status.st1 = 0;  // the rest of ST1 was before the paper came back
      }
      continue;
    }
    const std::string text = MsgPadrao(bit.key);
    switch (bit.meaning) {
      case StatusMeaning::kLowPaper:
        if (Mostra && AvisaPoucoPapel) {
          LogProblem(text);
          ShowDialog(text, EsquemaCor, kNoticeDialog);
        }
        break;
      case StatusMeaning::kCouponOpen:
        LogProblem(text);
        if (CancelaAberto) EnviaComando(EsquemaCor, "14", {}, false, false);
        break;
      case StatusMeaning::kFailure:
        if (Mostra) {
          LogProblem(text);
          ShowDialog(text, EsquemaCor, kNoticeDialog);
        }
        verdict = false;
        break;
    }
  }
  return verdict;
}

bool EstImpressora(const std::string& EsquemaCor, bool Mostra, bool CancelaAberto,
                   bool AvisaPoucoPapel) {
  return ImpressoraOK(EsquemaCor, Mostra, CancelaAberto, AvisaPoucoPapel);
}

bool Estado_Imp(const std::string& EsquemaCor, bool /*Reservado1*/, bool /*Reservado2*/) {
  try {
    int ack = 0, st1 = 0, st2 = 0;
    const int status = zel::CallVendor(Bematech_FI_RetornoImpressora, ack, st1, st2);
    return AnalisaRetorno(EsquemaCor, status, true, false, false);
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(bool, EnviaComando,
                      (const std::string& EsquemaCor, const std::string& Comando,
                       std::span<const std::string> Parametros, bool Mostra, bool Reservado),
                      (EsquemaCor, Comando, Parametros, Mostra, Reservado))
ZEL_EXPORT_PLAIN_NAME(bool, ImpressoraOK,
                      (const std::string& EsquemaCor, bool Mostra, bool CancelaAberto,
                       bool AvisaPoucoPapel),
                      (EsquemaCor, Mostra, CancelaAberto, AvisaPoucoPapel))
ZEL_EXPORT_PLAIN_NAME(bool, EstImpressora,
                      (const std::string& EsquemaCor, bool Mostra, bool CancelaAberto,
                       bool AvisaPoucoPapel),
                      (EsquemaCor, Mostra, CancelaAberto, AvisaPoucoPapel))
ZEL_EXPORT_PLAIN_NAME(bool, Estado_Imp,
                      (const std::string& EsquemaCor, bool Reservado1, bool Reservado2),
                      (EsquemaCor, Reservado1, Reservado2))
