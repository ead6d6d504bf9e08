// Every return code and every status bit the return analysis knows, driven
// through real operations of the loaded driver against the simulated
// printer: what is logged, what the operator is shown, when TEF mode is
// left, when an open coupon is cancelled, and the verdict.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "host/codepage.h"
#include "support/driver_fixture.h"
#include "zel/variant.h"

namespace zel {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;

using ReadingOp = bool(const std::string&, const std::string&, const std::string&);
using CloseReportOp = bool(const std::string&, bool, bool);
using DrawerOp = std::string(const std::string&);
using ParamsOp = bool(Variant&);

constexpr char kScheme[] = "027";
constexpr char kReading[] = "Bematech_FI_LeituraX";
constexpr char kCloseReport[] = "Bematech_FI_FechaRelatorioGerencial";
constexpr char kDrawerState[] = "Bematech_FI_VerificaEstadoGaveta";
constexpr char kStatus[] = "Bematech_FI_RetornoImpressora";
constexpr char kLeaveTef[] = "Bematech_FI_FinalizaModoTEF";
constexpr char kCancelCoupon[] = "Bematech_FI_CancelaCupom";
constexpr int kAck = 6;
constexpr int kNak = 21;

constexpr char kPrinterError[] = "Impressora fiscal com erro.";
constexpr char kPaperOut[] = "Impressora fiscal sem papel.";
constexpr char kPaperLow[] = "Impressora fiscal com pouco papel.";
constexpr char kCouponOpen[] = "Cupom aberto.";

// A notice of the return analysis: no question, dialog kind 0, the
// caller's colours.
RecordedDialog Notice(const std::string& utf8_text) {
  return RecordedDialog{Utf8ToCp1252(utf8_text), "", "N", "N", 0, "", kScheme, 0, false};
}

std::string Logged(const std::string& utf8_text) { return "ERRO!!! " + utf8_text; }

class ReturnAnalysisTest : public DriverFixture {
 protected:
  void SetUp() override {
    DriverFixture::SetUp();
    BindPrinterEntries();
    ClearSimJournal();
  }

  void FailEntry(const char* entry, int code, int times = 1) {
    Sim<void(const char*, int, int)>("EcfSim_FailEntry")(entry, code, times);
  }
  void SetEntryStatus(const char* entry, int ack, int st1, int st2, int times = 1) {
    Sim<void(const char*, int, int, int, int)>("EcfSim_SetEntryStatus")(entry, ack, st1, st2,
                                                                        times);
  }
  // The printer's own side: a fiscal coupon left open.
  void OpenCouponOnThePrinter() {
    ASSERT_EQ(Sim<int(const char*)>("Bematech_FI_AbreCupom")(""), 1);
    ASSERT_EQ(SimFigure("document"), 1);
    ClearSimJournal();
  }

  // Analyses with dialogs, without cancelling or the low-paper notice.
  bool LeituraX() { return Op<ReadingOp>("Leitura_X_Imp")("", kScheme, ""); }
  // Analyses with the flags given.
  bool FechRelatGerenc(bool show, bool cancel_open) {
    return Op<CloseReportOp>("FechRelatGerenc")(kScheme, show, cancel_open);
  }
  // Analyses with dialogs and cancels an open coupon; "" on failure.
  std::string EstadoGaveta() { return Op<DrawerOp>("Estado_Gaveta_Imp")(kScheme); }

  long CallsOf(const std::string& entry) {
    const std::vector<std::string> journal = SimJournal();
    return std::count(journal.begin(), journal.end(), entry);
  }
};

// --- Return codes --------------------------------------------------------------

struct CodeRow {
  int code;
  const char* text;  // UTF-8
};

void PrintTo(const CodeRow& row, std::ostream* os) { *os << row.code << " \"" << row.text << '"'; }

class ReturnCodeRowTest : public ReturnAnalysisTest,
                          public ::testing::WithParamInterface<CodeRow> {};

TEST_P(ReturnCodeRowTest, WithDialogsLeavesTefModeShowsLogsAndFails) {
  const CodeRow& row = GetParam();
  FailEntry(kReading, row.code);

  EXPECT_FALSE(LeituraX());

  EXPECT_THAT(LogEntries(), ElementsAre(kReading, "", Logged(row.text)));
  EXPECT_THAT(host_.dialogs, ElementsAre(Notice(row.text)));
  // TEF mode is left before the dialog, and the status is read after it.
  EXPECT_THAT(SimJournal(), ElementsAre(kReading, kLeaveTef, kStatus));
}

TEST_P(ReturnCodeRowTest, WithoutDialogsOnlyLogsAndFails) {
  const CodeRow& row = GetParam();
  FailEntry(kCloseReport, row.code);

  EXPECT_FALSE(FechRelatGerenc(false, false));

  EXPECT_THAT(LogEntries(), ElementsAre(kCloseReport, "", Logged(row.text)));
  EXPECT_THAT(host_.dialogs, IsEmpty());
  EXPECT_THAT(SimJournal(), ElementsAre(kCloseReport, kStatus));
}

std::string CodeRowName(const ::testing::TestParamInfo<CodeRow>& info) {
  const int code = info.param.code;
  return code < 0 ? "Minus" + std::to_string(-code) : std::to_string(code);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ReturnCodeRowTest,
    ::testing::Values(
        CodeRow{0, "Erro de comunicação."}, CodeRow{-1, "Erro de execução na função."},
        CodeRow{-2, "Parâmetro inválido."},
        CodeRow{-3, "Alíquota não programada na impressora fiscal."},
        CodeRow{-4,
                "O arquivo de inicialização da impressora não foi encontrada no diretório de "
                "sistema do Windows."},
        CodeRow{-5, "Erro ao abrir porta de comunicação."},
        CodeRow{-6, "Impressora desligada ou desconectada."},
        CodeRow{-7, "Banco não cadastrado no arquivo de inicializção da impressora."},
        // The key of -8 is in neither message table: the operator is still
        // told which message is missing rather than shown an empty dialog.
        CodeRow{-8, "Mensagem não cadastrada (ErroGravacao)."},
        CodeRow{-18, "Não foi possível abrir arquivo INTPOS.001."},
        CodeRow{-19, "Número inválido de parâmetros do comando da impressora fiscal."},
        CodeRow{-20, "Transação cancelada pelo operador."},
        CodeRow{-21, "A Transação não foi aprovada."},
        CodeRow{-22, "Não foi possível terminar a impressão."},
        CodeRow{-23, "Não foi possível terminar a operação."},
        CodeRow{-24, "Forma de pagamento não programada."},
        CodeRow{-25, "Totalizador não fiscal não programado."},
        CodeRow{-26, "Transação já efetuada."},
        CodeRow{-28, "Não há informações para serem impressas."}),
    CodeRowName);

TEST_F(ReturnAnalysisTest, CodesOutsideTheTableRaiseNothingByThemselves) {
  for (int code : {1, 2, -9, -12, -17, -27, -29}) {
    SCOPED_TRACE(code);
    FailEntry(kReading, code);
    EXPECT_TRUE(LeituraX());
  }
  EXPECT_THAT(LogEntries(), Not(Contains(StartsWith("ERRO!!!"))));
  EXPECT_THAT(host_.dialogs, IsEmpty());
  EXPECT_EQ(CallsOf(kLeaveTef), 0);
}

TEST_F(ReturnAnalysisTest, ALostReplyIsACommunicationError) {
  Sim<void(const char*, int)>("EcfSim_DropReply")(kReading, 1);

  EXPECT_FALSE(LeituraX());

  EXPECT_THAT(LogEntries(), ElementsAre(kReading, "", Logged("Erro de comunicação.")));
  EXPECT_THAT(host_.dialogs, ElementsAre(Notice("Erro de comunicação.")));
}

// --- Status bytes ----------------------------------------------------------------

struct StatusRow {
  int st1, st2;
  const char* text;  // UTF-8
  bool fails;
};

void PrintTo(const StatusRow& row, std::ostream* os) {
  *os << "ST1 " << row.st1 << " ST2 " << row.st2 << " \"" << row.text << '"';
}

class StatusRowTest : public ReturnAnalysisTest, public ::testing::WithParamInterface<StatusRow> {};

TEST_P(StatusRowTest, WithDialogsEachFailureIsShownAfterLeavingTefMode) {
  const StatusRow& row = GetParam();
  SetEntryStatus(kReading, kAck, row.st1, row.st2);

  EXPECT_EQ(LeituraX(), !row.fails);

  EXPECT_THAT(LogEntries(), ElementsAre(kReading, "", Logged(row.text)));
  if (row.fails) {
    EXPECT_THAT(host_.dialogs, ElementsAre(Notice(row.text)));
    EXPECT_THAT(SimJournal(), ElementsAre(kReading, kStatus, kLeaveTef));
  } else {
    // Low paper without its notice asked for, and an open coupon without
    // the cancellation asked for, are only logged.
    EXPECT_THAT(host_.dialogs, IsEmpty());
    EXPECT_THAT(SimJournal(), ElementsAre(kReading, kStatus));
  }
}

TEST_P(StatusRowTest, WithoutDialogsOnlyLogs) {
  const StatusRow& row = GetParam();
  SetEntryStatus(kCloseReport, kAck, row.st1, row.st2);

  EXPECT_EQ(FechRelatGerenc(false, false), !row.fails);

  EXPECT_THAT(LogEntries(), ElementsAre(kCloseReport, "", Logged(row.text)));
  EXPECT_THAT(host_.dialogs, IsEmpty());
  EXPECT_THAT(SimJournal(), ElementsAre(kCloseReport, kStatus));
}

// The status table, in the order the analysis walks it.
const std::vector<StatusRow>& StatusTable() {
  static const std::vector<StatusRow> rows{
      {128, 0, kPaperOut, true},
      {64, 0, kPaperLow, false},
      {32, 0, "Erro no relógio da impressora fiscal.", true},
      {16, 0, kPrinterError, true},
      {8, 0, "Erro de sintaxe no comando enviado para a impressora fiscal.", true},
      {4, 0, "Comando para a impressora fiscal inexistente.", true},
      {2, 0, kCouponOpen, false},
      {1, 0, "Número inválido de parâmetros do comando da impressora fiscal.", true},
      {0, 128, "Tipo incorreto do parâmetro enviado para a impressora fiscal.", true},
      {0, 64, "Memória da impressora fiscal lotada.", true},
      {0, 32, "Erro na memória da impressora fiscal.", true},
      {0, 16, "Alíquota não programada na impressora fiscal.", true},
      {0, 8, "Capacidade de alíquotas da impressora fiscal lotada.", true},
      {0, 4, "Cancelamento não permitido pela impressora fiscal.", true},
      {0, 2, "CGC/IE do proprietário não programados na impressora fiscal.", true},
      {0, 1, "Comando não executado pela impressora fiscal.", true},
  };
  return rows;
}

std::string StatusRowName(const ::testing::TestParamInfo<StatusRow>& info) {
  return info.param.st1 != 0 ? "St1Bit" + std::to_string(info.param.st1)
                             : "St2Bit" + std::to_string(info.param.st2);
}

INSTANTIATE_TEST_SUITE_P(Bits, StatusRowTest, ::testing::ValuesIn(StatusTable()), StatusRowName);

TEST_F(ReturnAnalysisTest, AllBitsAtOnceAreReportedInTableOrder) {
  SetEntryStatus(kReading, kAck, 255, 255);

  EXPECT_FALSE(LeituraX());

  std::vector<std::string> logged{kReading, ""};
  std::vector<RecordedDialog> shown;
  for (const StatusRow& row : StatusTable()) {
    logged.push_back(Logged(row.text));
    if (row.fails) shown.push_back(Notice(row.text));
  }
  EXPECT_THAT(LogEntries(), ElementsAreArray(logged));
  EXPECT_THAT(host_.dialogs, ElementsAreArray(shown));
  EXPECT_EQ(CallsOf(kLeaveTef), 14);
  EXPECT_EQ(CallsOf(kCancelCoupon), 0);
}

TEST_F(ReturnAnalysisTest, NakStopsTheAnalysisBeforeTheStatusBits) {
  SetEntryStatus(kReading, kNak, 128, 255);

  EXPECT_FALSE(LeituraX());

  EXPECT_THAT(LogEntries(), ElementsAre(kReading, "", "ERRO!!! NAK recebido"));
  EXPECT_THAT(host_.dialogs, ElementsAre(Notice(kPrinterError)));
  EXPECT_THAT(SimJournal(), ElementsAre(kReading, kStatus, kLeaveTef));
}

TEST_F(ReturnAnalysisTest, UnreadableStatusFailsWhateverTheCommandReturned) {
  FailEntry(kStatus, 0);

  EXPECT_FALSE(LeituraX());

  EXPECT_THAT(LogEntries(), ElementsAre(kReading, "", "ERRO!!! Ret recebido"));
  EXPECT_THAT(host_.dialogs, ElementsAre(Notice(kPrinterError)));
  EXPECT_THAT(SimJournal(), ElementsAre(kReading, kStatus, kLeaveTef));
}

TEST_F(ReturnAnalysisTest, ReturnCodeMessageComesBeforeTheStatusMessage) {
  const std::string port = "Erro ao abrir porta de comunicação.";
  FailEntry(kReading, -5);
  FailEntry(kStatus, 0);

  EXPECT_FALSE(LeituraX());

  EXPECT_THAT(LogEntries(), ElementsAre(kReading, "", Logged(port), "ERRO!!! Ret recebido"));
  EXPECT_THAT(host_.dialogs, ElementsAre(Notice(port), Notice(kPrinterError)));
  EXPECT_THAT(SimJournal(), ElementsAre(kReading, kLeaveTef, kStatus, kLeaveTef));
}

TEST_F(ReturnAnalysisTest, ReturnCodeThenAnOpenCouponWithoutCancelling) {
  OpenCouponOnThePrinter();
  FailEntry(kReading, -2);

  EXPECT_FALSE(LeituraX());

  EXPECT_THAT(LogEntries(),
              ElementsAre(kReading, "", Logged("Parâmetro inválido."), Logged(kCouponOpen)));
  EXPECT_THAT(host_.dialogs, ElementsAre(Notice("Parâmetro inválido.")));
  EXPECT_EQ(CallsOf(kCancelCoupon), 0);
  EXPECT_EQ(SimFigure("document"), 1);
}

// --- The open coupon and the low-paper notice ----------------------------------

TEST_F(ReturnAnalysisTest, OpenCouponIsCancelledWhenAskedAndTheVerdictStands) {
  OpenCouponOnThePrinter();

  EXPECT_EQ(EstadoGaveta(), "00");

  // The cancellation's own analysis runs without dialogs; its pending log
  // line is the empty one.
  EXPECT_THAT(LogEntries(),
              ElementsAre("Bematech_FI_VerificaEstadoGaveta: 0", "", Logged(kCouponOpen), ""));
  EXPECT_THAT(host_.dialogs, IsEmpty());
  EXPECT_THAT(SimJournal(), ElementsAre(kDrawerState, kStatus, kCancelCoupon, kStatus));
  EXPECT_EQ(SimFigure("document"), 0);
}

TEST_F(ReturnAnalysisTest, PaperOutIsShownFirstThenTheOpenCouponIsCancelled) {
  OpenCouponOnThePrinter();
  SetEntryStatus(kDrawerState, kAck, 130, 0);

  EXPECT_EQ(EstadoGaveta(), "");

  const std::vector<std::string> log = LogEntries();
  ASSERT_EQ(log.size(), 5u);
  EXPECT_THAT(log[0], StartsWith("Bematech_FI_VerificaEstadoGaveta: "));
  EXPECT_THAT(std::vector<std::string>(log.begin() + 1, log.end()),
              ElementsAre("", Logged(kPaperOut), Logged(kCouponOpen), ""));
  EXPECT_THAT(host_.dialogs, ElementsAre(Notice(kPaperOut)));
  EXPECT_THAT(SimJournal(), ElementsAre(kDrawerState, kStatus, kLeaveTef, kCancelCoupon, kStatus));
  EXPECT_EQ(SimFigure("document"), 0);
}

TEST_F(ReturnAnalysisTest, AFailedCancellationIsOnlyLoggedAndLeavesTheVerdict) {
  OpenCouponOnThePrinter();
  FailEntry(kCancelCoupon, -1);

  EXPECT_EQ(EstadoGaveta(), "00");

  // The coupon is still open after the failed cancellation, and the inner
  // analysis does not try again.
  EXPECT_THAT(LogEntries(),
              ElementsAre("Bematech_FI_VerificaEstadoGaveta: 0", "", Logged(kCouponOpen), "",
                          Logged("Erro de execução na função."), Logged(kCouponOpen)));
  EXPECT_THAT(host_.dialogs, IsEmpty());
  EXPECT_EQ(CallsOf(kCancelCoupon), 1);
  EXPECT_EQ(SimFigure("document"), 1);
}

TEST_F(ReturnAnalysisTest, LowPaperNoticeOnlyWhereTheCallerAsksForIt) {
  Variant params = MakeParams({{"ESQUEMACOR", kScheme},
                               {"INTTEFERRO", 0},
                               {"INCLUICPF", ""},
                               {"INCLUINOME", ""},
                               {"INCLUIENDERECO", ""},
                               {"CUPNR", "000001"},
                               {"CONTCUPOM", "1"},
                               {"IDUTILTEF", "N"},
                               {"UTILTEF", false}});
  SetEntryStatus("Bematech_FI_AbreCupomMFD", kAck, 64, 0);

  EXPECT_TRUE(Op<ParamsOp>("AbreCupom")(params));

  EXPECT_THAT(LogEntries(), Contains(Logged(kPaperLow)));
  EXPECT_THAT(host_.dialogs, ElementsAre(Notice(kPaperLow)));
  EXPECT_EQ(CallsOf(kLeaveTef), 0);
  EXPECT_EQ(SimFigure("document"), 1);
}

}  // namespace
}  // namespace zel
