#include "core/return_analysis.h"

#include <array>
#include <string>

#include "core/data_module.h"
#include "core/dialogs.h"
#include "core/vendor_call.h"
#include "zel/debug_log.h"
#include "zel/driver_state.h"
#include "zel/host_services.h"
#include "zel/operations.h"

namespace zel {
namespace {

struct ReturnCode {
  int code;
  std::string_view key;
};

// "ErroGravacao" is in neither message table; the lookup then gives a text
// naming the key, which is still better than silence for a failed write.
constexpr std::array<ReturnCode, 19> kReturnCodes{{
    {0, "ErroComunicacao"}, {-1, "ErroExecucao"},  {-2, "ParamInvalido"}, {-3, "AliqNProg"},
    {-4, "ErroArqIni"},     {-5, "ErroPorta"},     {-6, "ImpDeslig"},     {-7, "BancoNCad"},
    {-8, "ErroGravacao"},   {-18, "ErroAbrirArq"}, {-19, "ParamErro"},    {-20, "TransCanc"},
    {-21, "TransAprov"},    {-22, "ImpNConcl"},    {-23, "OperNConcl"},   {-24, "FormPgtoNProg"},
    {-25, "TotNFisNProg"},  {-26, "TransEfet"},    {-28, "InfNImpre"},
}};

constexpr std::array<StatusBit, 16> kStatusBits{{
    {StatusByte::kSt1, 128, "FimPapel", StatusMeaning::kFailure},
    {StatusByte::kSt1, 64, "PoucoPapel", StatusMeaning::kLowPaper},
    {StatusByte::kSt1, 32, "ErroRelogio", StatusMeaning::kFailure},
    {StatusByte::kSt1, 16, "ImpErro", StatusMeaning::kFailure},
    {StatusByte::kSt1, 8, "SyntaxErro", StatusMeaning::kFailure},
    {StatusByte::kSt1, 4, "ComandoErro", StatusMeaning::kFailure},
    {StatusByte::kSt1, 2, "CupomAberto", StatusMeaning::kCouponOpen},
    {StatusByte::kSt1, 1, "ParamErro", StatusMeaning::kFailure},
    {StatusByte::kSt2, 128, "TipoParamErro", StatusMeaning::kFailure},
    {StatusByte::kSt2, 64, "MemLotada", StatusMeaning::kFailure},
    {StatusByte::kSt2, 32, "MemRAMErro", StatusMeaning::kFailure},
    {StatusByte::kSt2, 16, "AliqNProg", StatusMeaning::kFailure},
    {StatusByte::kSt2, 8, "AliqLotada", StatusMeaning::kFailure},
    {StatusByte::kSt2, 4, "CancNPermitido", StatusMeaning::kFailure},
    {StatusByte::kSt2, 2, "CGCIENProg", StatusMeaning::kFailure},
    {StatusByte::kSt2, 1, "ComandoNExec", StatusMeaning::kFailure},
}};

// A problem that fails the verdict: logged, and with `show` told to the
// operator after leaving TEF mode, so the dialog is not hidden behind a
// card transaction still in progress.
void ReportFailure(const std::string& colour_scheme, bool show, std::string_view logged,
                   const std::string& shown) {
  LogProblem(logged);
  if (!show) return;
  CallVendor(Zel00101::Bematech_FI_FinalizaModoTEF);
  ShowDialog(shown, colour_scheme, kNoticeDialog);
}

// "  x y  " -> "x y": blanks and control characters at both ends go.
std::string Trim(std::string_view text) {
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

}  // namespace

std::string_view ReturnCodeKey(int code) {
  for (const ReturnCode& entry : kReturnCodes) {
    if (entry.code == code) return entry.key;
  }
  return {};
}

std::span<const StatusBit> StatusBits() { return kStatusBits; }

}  // namespace zel

namespace Zel00101 {

bool AnalisaRetorno(const std::string& EsquemaCor, std::int32_t Retorno, bool Mostra,
                    bool CancelaAberto, bool AvisaPoucoPapel) {
  using namespace zel;
  bool verdict = true;

  ImpFisDebug(stImpDebug);
  stImpDebug.clear();

  if (const std::string_view key = ReturnCodeKey(Retorno); !key.empty()) {
    const std::string text = MsgPadrao(key);
    ReportFailure(EsquemaCor, Mostra, text, text);
    verdict = false;
  }

  int ack = 0, st1 = 0, st2 = 0;
  if (CallVendor(Bematech_FI_RetornoImpressora, ack, st1, st2) != kVendorDone) {
    ReportFailure(EsquemaCor, Mostra, "Ret recebido", MsgPadrao("ImpErro"));
    return false;
  }
  if (ack == kNak) {
    ReportFailure(EsquemaCor, Mostra, "NAK recebido", MsgPadrao("ImpErro"));
    return false;
  }

  // Each byte is read from its highest bit down, each bit found taken off
  // a running value.
  for (const StatusBit& bit : StatusBits()) {
    int& running = bit.byte == StatusByte::kSt1 ? st1 : st2;
    if (running < bit.value) continue;
    running -= bit.value;
    const std::string text = MsgPadrao(bit.key);
    switch (bit.meaning) {
      case StatusMeaning::kLowPaper:
        LogProblem(text);
        if (Mostra && AvisaPoucoPapel) ShowDialog(text, EsquemaCor, kNoticeDialog);
        break;
      case StatusMeaning::kCouponOpen:
        LogProblem(text);
        if (CancelaAberto) {
          const int status = CallVendor(Bematech_FI_CancelaCupom);
          AnalisaRetorno(EsquemaCor, status, false, false, false);
        }
        break;
      case StatusMeaning::kFailure:
        ReportFailure(EsquemaCor, Mostra, text, text);
        verdict = false;
        break;
    }
  }
  return verdict;
}

std::string RetornoImpFiscal(const std::string& Cmd, bool Apara) {
  std::string reply = zel::Blanks(3000);
  zel::CallOlderInterface(BemaLe_Variaveis, reply);
  std::string result;
  if (Cmd == "3529" || Cmd == "23") {
    result = reply.substr(0, 2);
  } else {
    result = Apara ? zel::Trim(reply) : reply;
  }
  ImpFisDebug("Retorno da Impressora " + result);
  return result;
}

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(std::string, RetornoImpFiscal, (const std::string& Cmd, bool Apara),
                      (Cmd, Apara))
