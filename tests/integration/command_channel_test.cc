// The raw command channel and the status queries, through the loaded driver
// against the simulated printer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "host/codepage.h"
#include "support/driver_fixture.h"
#include "zel/error.h"

namespace zel {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

using EnviaComandoFn = bool(const std::string&, const std::string&, std::span<const std::string>,
                            bool, bool);
using StatusFn = bool(const std::string&, bool, bool, bool);

constexpr char kScheme[] = "007";
const std::string kEsc = "\x1b";

std::string FrameSent(const std::string& inner) { return "BemaFormataTX|" + kEsc + inner + kEsc; }
const std::string kStatusRequestSent = FrameSent("|19|");
constexpr char kStatusRead[] = "BemaStatus_Mp20FI";

RecordedDialog Notice(const std::string& utf8_text, int kind = 0) {
  return RecordedDialog{Utf8ToCp1252(utf8_text), "", "N", "N", kind, "", kScheme, 0, false};
}

class CommandChannelTest : public DriverFixture {
 protected:
  void SetUp() override {
    DriverFixture::SetUp();
    BindPrinterEntries();
  }

  bool Envia(const std::string& command, std::vector<std::string> parameters, bool mostra) {
    return Op<EnviaComandoFn>("EnviaComando")(kScheme, command, parameters, mostra, false);
  }
  bool ImpressoraOK(bool mostra, bool cancela_aberto, bool avisa_pouco_papel) {
    return Op<StatusFn>("ImpressoraOK")(kScheme, mostra, cancela_aberto, avisa_pouco_papel);
  }
  // The printer's own side: a status request whose answer ImpressoraOK
  // then reads, reporting these bytes when given.
  void PrinterAnswersStatus(int ack, int st1, int st2) {
    Sim<void(const char*, int, int, int, int)>("EcfSim_SetEntryStatus")("BemaFormataTX", ack, st1,
                                                                        st2, 1);
    PrinterAnswersStatus();
  }
  void PrinterAnswersStatus() {
    const std::string request = kEsc + "|19|" + kEsc;
    ASSERT_EQ(Sim<int(const char*)>("BemaFormataTX")(request.c_str()), 0);
  }
  void OpenCoupon() {
    ASSERT_EQ(Sim<int(const char*)>("Bematech_FI_AbreCupom")(""), 1);
    ASSERT_NE(SimFigure("document"), 0);
  }
  void SetPaperOut(int commands) { Sim<void(int)>("EcfSim_SetPaperOut")(commands); }
  void FailEntry(const char* entry, int code, int times) {
    Sim<void(const char*, int, int)>("EcfSim_FailEntry")(entry, code, times);
  }
  bool Busy() { return Var<bool>("boComando"); }
};

// --- Frames ---------------------------------------------------------------------

TEST_F(CommandChannelTest, ParametersFollowTheCommandBetweenBars) {
  ClearSimJournal();
  Envia("26", {"A", "B"}, false);

  EXPECT_THAT(SimJournal(), ElementsAre(kStatusRequestSent, kStatusRead, FrameSent("|26|A|B|"),
                                        kStatusRead, kStatusRead));
  EXPECT_THAT(LogEntries(), ElementsAre("Comando : " + kEsc + "|26|A|B|" + kEsc));
}

TEST_F(CommandChannelTest, CommandWithoutParametersCancelsTheOpenCoupon) {
  OpenCoupon();
  ClearSimJournal();

  EXPECT_TRUE(Envia("14", {}, true));

  EXPECT_THAT(SimJournal(), Contains(FrameSent("|14|")));
  EXPECT_EQ(SimFigure("document"), 0) << "the coupon is still open";
  EXPECT_THAT(host_.dialogs, IsEmpty());
  EXPECT_FALSE(Busy());
}

TEST_F(CommandChannelTest, CommandThePrinterRefusesFailsAndIsExplainedWithMostra) {
  EXPECT_FALSE(Envia("26", {}, true));

  EXPECT_THAT(host_.dialogs, ElementsAre(Notice("Comando para a impressora fiscal inexistente.")));
  EXPECT_THAT(LogEntries(), ElementsAre("Comando : " + kEsc + "|26|" + kEsc,
                                        "ERRO!!! Comando para a impressora fiscal inexistente."));
}

// --- A frame that never reached the printer --------------------------------------

TEST_F(CommandChannelTest, UnacceptedFrameWithMostraShowsErroComandoWhenTheStatusIsClean) {
  // Both the status request and the command get no reply; the status of the
  // last command the printer saw stays clean.
  FailEntry("BemaFormataTX", 1, 2);

  EXPECT_FALSE(Envia("27", {}, true));

  const std::string frame = kEsc + "|27|" + kEsc;
  EXPECT_THAT(LogEntries(), ElementsAre("Comando : " + frame, "ERRO!!! Comando : " + frame));
  EXPECT_THAT(host_.dialogs, ElementsAre(Notice("Erro ao enviar comando para a impressora.", 3)));
}

TEST_F(CommandChannelTest, UnacceptedFrameWithoutMostraIsNeverASuccess) {
  FailEntry("BemaFormataTX", 1, 2);

  EXPECT_FALSE(Envia("27", {}, false));

  const std::string frame = kEsc + "|27|" + kEsc;
  EXPECT_THAT(LogEntries(), ElementsAre("Comando : " + frame, "ERRO!!! Comando : " + frame));
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(CommandChannelTest, UnboundOlderInterfaceFailsWithoutCrashing) {
  Op<void()>("StopImpFiscal")();

  EXPECT_FALSE(Envia("19", {}, false));
  EXPECT_FALSE(ImpressoraOK(true, false, false));

  EXPECT_THAT(host_.dialogs, ElementsAre(Notice("Impressora fiscal com erro.")));
  EXPECT_THAT(SimJournal(), IsEmpty());
}

// --- Busy channel ------------------------------------------------------------------

TEST_F(CommandChannelTest, CancellationFromInsideTheStatusCheckIsRefused) {
  OpenCoupon();
  ClearSimJournal();

  // Command 19 is not 14, so its status check asks for the open coupon to be
  // cancelled: that command 14 would re-enter the channel and is refused.
  EXPECT_TRUE(Envia("19", {}, false));

  EXPECT_THAT(SimJournal(), Not(Contains(FrameSent("|14|"))));
  EXPECT_NE(SimFigure("document"), 0) << "the coupon was cancelled";
  EXPECT_THAT(LogEntries(),
              ElementsAre("Comando : " + kEsc + "|19|" + kEsc, "ERRO!!! Cupom aberto."));
  EXPECT_FALSE(Busy());
}

// A host whose dialog calls back into the driver, as a host's user
// interface can while a modal dialog waits.
class ReenteringHost : public RecordingHost {
 public:
  std::function<void()> on_dialog;
  bool Mensagem(const std::string& text, const std::string& caption, const std::string& letter_n,
                const std::string& question, int kind, const std::string& extra,
                const std::string& colour_scheme, int number, Dataset* dataset) override {
    const bool answer = RecordingHost::Mensagem(text, caption, letter_n, question, kind, extra,
                                                colour_scheme, number, dataset);
    if (on_dialog) on_dialog();
    return answer;
  }
};

TEST_F(CommandChannelTest, SecondCommandWhileTheFirstWaitsIsRefusedUnsent) {
  ReenteringHost host;
  Op<void(HostServices*)>("ZelRegistraHost")(&host);
  std::vector<bool> inner_results;
  host.on_dialog = [&] { inner_results.push_back(Envia("27", {}, true)); };
  SetPaperOut(1);
  ClearSimJournal();

  EXPECT_TRUE(Envia("19", {}, true));

  EXPECT_THAT(inner_results, ElementsAre(false));
  EXPECT_THAT(SimJournal(), Not(Contains(FrameSent("|27|"))));
  EXPECT_THAT(LogEntries(), ElementsAre("ERRO!!! Impressora fiscal sem papel.",
                                        "Comando : " + kEsc + "|19|" + kEsc));
  EXPECT_FALSE(Busy());
}

TEST_F(CommandChannelTest, ChannelIsFreedWhenTheHostRaises) {
  ReenteringHost host;
  Op<void(HostServices*)>("ZelRegistraHost")(&host);
  host.on_dialog = [] { throw Error("host dialog failed"); };
  SetPaperOut(1);

  EXPECT_THROW(Envia("19", {}, true), Error);

  EXPECT_FALSE(Busy());
  host.on_dialog = nullptr;
  EXPECT_TRUE(Envia("19", {}, true)) << "the channel stayed busy";
}

// --- Paper out ------------------------------------------------------------------------

TEST_F(CommandChannelTest, PaperOutWithMostraWaitsWithOneDialogPerStatusRead) {
  SetPaperOut(3);  // three status requests find the printer without paper
  ClearSimJournal();

  EXPECT_TRUE(Envia("27", {}, true));

  const RecordedDialog paper_out = Notice("Impressora fiscal sem papel.");
  EXPECT_THAT(host_.dialogs, ElementsAre(paper_out, paper_out, paper_out));
  EXPECT_THAT(SimJournal(),
              ElementsAre(kStatusRequestSent, kStatusRead, kStatusRequestSent, kStatusRead,
                          kStatusRequestSent, kStatusRead, kStatusRequestSent, kStatusRead,
                          FrameSent("|27|"), kStatusRead, kStatusRead));
  const std::string logged = "ERRO!!! Impressora fiscal sem papel.";
  EXPECT_THAT(LogEntries(),
              ElementsAre(logged, logged, logged, "Comando : " + kEsc + "|27|" + kEsc));
}

TEST_F(CommandChannelTest, PaperOutWithoutMostraDoesNotWait) {
  SetPaperOut(1);
  ClearSimJournal();

  EXPECT_TRUE(Envia("27", {}, false));

  EXPECT_THAT(host_.dialogs, IsEmpty());
  EXPECT_THAT(SimJournal(), ElementsAre(kStatusRequestSent, kStatusRead, FrameSent("|27|"),
                                        kStatusRead, kStatusRead));
}

TEST_F(CommandChannelTest, PrinterStillWorkingIsAskedAgain) {
  // The first two frames report ST2 64: the status request, then the command.
  Sim<void(const char*, int, int, int, int)>("EcfSim_SetEntryStatus")("BemaFormataTX", 6, 0, 64, 2);
  ClearSimJournal();

  EXPECT_TRUE(Envia("19", {}, false));

  EXPECT_THAT(SimJournal(), ElementsAre(kStatusRequestSent, kStatusRead, kStatusRequestSent,
                                        kStatusRead, kStatusRequestSent, kStatusRead, kStatusRead));
}

TEST_F(CommandChannelTest, PrinterThatNeverStopsWorkingDoesNotHoldTheHost) {
  Sim<void(const char*, int, int, int, int)>("EcfSim_SetEntryStatus")("BemaFormataTX", 6, 0, 64,
                                                                      -1);

  EXPECT_FALSE(Envia("19", {}, true));

  EXPECT_THAT(host_.DialogTexts(),
              ElementsAre(Utf8ToCp1252("Memória da impressora fiscal lotada.")));
  EXPECT_FALSE(Busy());
}

// --- ImpressoraOK ----------------------------------------------------------------------

struct StatusRow {
  int st1;
  int st2;
  const char* text;  // UTF-8
  bool verdict;
  bool shown;
};

class ImpressoraOKBitTest : public CommandChannelTest,
                            public ::testing::WithParamInterface<StatusRow> {};

TEST_P(ImpressoraOKBitTest, EachBitWithMostraAndLowPaperNotice) {
  const StatusRow& row = GetParam();
  PrinterAnswersStatus(6, row.st1, row.st2);

  EXPECT_EQ(ImpressoraOK(true, false, true), row.verdict);

  EXPECT_THAT(LogEntries(), ElementsAre("ERRO!!! " + std::string(row.text)));
  if (row.shown) {
    EXPECT_THAT(host_.dialogs, ElementsAre(Notice(row.text)));
  } else {
    EXPECT_THAT(host_.dialogs, IsEmpty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    StatusBits, ImpressoraOKBitTest,
    ::testing::Values(
        StatusRow{128, 0, "Impressora fiscal sem papel.", false, true},
        StatusRow{64, 0, "Impressora fiscal com pouco papel.", true, true},
        StatusRow{32, 0, "Erro no relógio da impressora fiscal.", false, true},
        StatusRow{16, 0, "Impressora fiscal com erro.", false, true},
        StatusRow{8, 0, "Erro de sintaxe no comando enviado para a impressora fiscal.", false,
                  true},
        StatusRow{4, 0, "Comando para a impressora fiscal inexistente.", false, true},
        StatusRow{2, 0, "Cupom aberto.", true, false},
        StatusRow{1, 0, "Número inválido de parâmetros do comando da impressora fiscal.", false,
                  true},
        StatusRow{0, 128, "Tipo incorreto do parâmetro enviado para a impressora fiscal.", false,
                  true},
        StatusRow{0, 64, "Memória da impressora fiscal lotada.", false, true},
        StatusRow{0, 32, "Erro na memória da impressora fiscal.", false, true},
        StatusRow{0, 16, "Alíquota não programada na impressora fiscal.", false, true},
        StatusRow{0, 8, "Capacidade de alíquotas da impressora fiscal lotada.", false, true},
        StatusRow{0, 4, "Cancelamento não permitido pela impressora fiscal.", false, true},
        StatusRow{0, 2, "CGC/IE do proprietário não programados na impressora fiscal.", false,
                  true},
        StatusRow{0, 1, "Comando não executado pela impressora fiscal.", false, true}));

TEST_F(CommandChannelTest, WithoutMostraFailuresAreNeitherLoggedNorShown) {
  PrinterAnswersStatus(6, 16, 1);

  EXPECT_FALSE(ImpressoraOK(false, false, false));

  EXPECT_THAT(LogEntries(), IsEmpty());
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(CommandChannelTest, LowPaperNeedsBothMostraAndTheNoticeFlag) {
  PrinterAnswersStatus(6, 64, 0);

  EXPECT_TRUE(ImpressoraOK(true, false, false));

  EXPECT_THAT(LogEntries(), IsEmpty());
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(CommandChannelTest, SeveralBitsAreReportedHighestFirst) {
  PrinterAnswersStatus(6, 32 + 1, 4);

  EXPECT_FALSE(ImpressoraOK(true, false, false));

  EXPECT_THAT(host_.DialogTexts(),
              ElementsAre(Utf8ToCp1252("Erro no relógio da impressora fiscal."),
                          Utf8ToCp1252("Número inválido de parâmetros do comando da impressora "
                                       "fiscal."),
                          Utf8ToCp1252("Cancelamento não permitido pela impressora fiscal.")));
}

TEST_F(CommandChannelTest, NoValidReplyAndNakFailBeforeTheBits) {
  Sim<void(const char*, int)>("EcfSim_DropReply")("BemaFormataTX", 1);
  Sim<int(const char*)>("BemaFormataTX")((kEsc + "|19|" + kEsc).c_str());
  EXPECT_FALSE(ImpressoraOK(true, false, false));

  PrinterAnswersStatus(21, 2, 0);
  EXPECT_FALSE(ImpressoraOK(false, true, false));

  EXPECT_THAT(LogEntries(), ElementsAre("ERRO!!! Ret recebido", "ERRO!!! NAK recebido"));
  EXPECT_THAT(host_.dialogs, ElementsAre(Notice("Impressora fiscal com erro.")));
}

TEST_F(CommandChannelTest, OpenCouponCalledDirectlyIsCancelledByCommand14) {
  OpenCoupon();
  PrinterAnswersStatus();
  ClearSimJournal();

  EXPECT_TRUE(ImpressoraOK(false, true, false));

  EXPECT_THAT(SimJournal(), Contains(FrameSent("|14|")));
  EXPECT_EQ(SimFigure("document"), 0) << "the coupon is still open";
  EXPECT_THAT(LogEntries(),
              ElementsAre("ERRO!!! Cupom aberto.", "Comando : " + kEsc + "|14|" + kEsc));
}

TEST_F(CommandChannelTest, PaperOutWaitLeavesTheRestOfST1Unexamined) {
  OpenCoupon();
  SetPaperOut(2);  // this status request and the first one asked while waiting
  PrinterAnswersStatus();
  ClearSimJournal();

  EXPECT_FALSE(ImpressoraOK(true, true, false));

  const RecordedDialog paper_out = Notice("Impressora fiscal sem papel.");
  EXPECT_THAT(host_.dialogs, ElementsAre(paper_out, paper_out));
  EXPECT_THAT(SimJournal(), Not(Contains(FrameSent("|14|"))));
  EXPECT_NE(SimFigure("document"), 0);
}

TEST_F(CommandChannelTest, EstImpressoraIsImpressoraOK) {
  PrinterAnswersStatus(6, 0, 16);

  EXPECT_FALSE(Op<StatusFn>("EstImpressora")(kScheme, true, false, false));

  EXPECT_THAT(host_.DialogTexts(),
              ElementsAre(Utf8ToCp1252("Alíquota não programada na impressora fiscal.")));
}

// --- Estado_Imp ---------------------------------------------------------------------------

using EstadoImpFn = bool(const std::string&, bool, bool);

TEST_F(CommandChannelTest, EstadoImpAnalysesTheFiscalLibraryStatusWithDialogs) {
  EXPECT_TRUE(Op<EstadoImpFn>("Estado_Imp")(kScheme, false, false));
  EXPECT_THAT(host_.dialogs, IsEmpty());

  Op<void()>("StopImpFiscal")();
  EXPECT_FALSE(Op<EstadoImpFn>("Estado_Imp")(kScheme, false, false));
  EXPECT_THAT(host_.dialogs,
              ElementsAre(Notice("Erro de comunicação."), Notice("Impressora fiscal com erro.")));
}

TEST_F(CommandChannelTest, EstadoImpTurnsAnErrorInsideIntoFalse) {
  ReenteringHost host;
  Op<void(HostServices*)>("ZelRegistraHost")(&host);
  host.on_dialog = [] { throw Error("host dialog failed"); };
  Op<void()>("StopImpFiscal")();

  EXPECT_FALSE(Op<EstadoImpFn>("Estado_Imp")(kScheme, false, false));
}

}  // namespace
}  // namespace zel
