#include "core/return_analysis.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/data_module.h"
#include "core/messages.h"
#include "fake_fiscal_entries.h"
#include "host/codepage.h"
#include "support/recording_host.h"
#include "support/test_env.h"
#include "zel/driver_state.h"
#include "zel/operations.h"

namespace zel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr char kScheme[] = "007";

// The dialog the analysis shows for a problem: a plain notice of kind 0.
RecordedDialog Notice(const std::string& utf8_text) {
  return RecordedDialog{Utf8ToCp1252(utf8_text), "", "N", "N", 0, "", kScheme, 0, false};
}

std::string Shown(const std::string& utf8_text) { return "Mensagem: " + utf8_text; }

class ReturnAnalysisTest : public ::testing::Test {
 protected:
  ReturnAnalysisTest() {
    EnsureDataModule();
    Zel00101::stImpDebug.clear();
  }
  ~ReturnAnalysisTest() override { Zel00101::stImpDebug.clear(); }

  bool Analyse(int retorno, bool mostra, bool cancela_aberto = false, bool avisa = false) {
    return Zel00101::AnalisaRetorno(kScheme, retorno, mostra, cancela_aberto, avisa);
  }
  std::vector<std::string> Log() { return DebugLogEntries(env_); }

  TestEnv env_;
  ScopedCurrentEnv use_env_{&env_};
  JournalingHost host_;
  ScopedHost use_host_{&host_};
  FakeFiscalPrinter printer_;
};

// --- Return codes ----------------------------------------------------------

struct CodeRow {
  int code;
  std::string text;  // UTF-8
};

class ReturnCodeTest : public ReturnAnalysisTest, public ::testing::WithParamInterface<CodeRow> {};

TEST_P(ReturnCodeTest, WithDialogsLeavesTefModeShowsTheTextThenReadsTheStatus) {
  EXPECT_FALSE(Analyse(GetParam().code, true));
  EXPECT_THAT(Log(), ElementsAre("", "ERRO!!! " + GetParam().text));
  EXPECT_THAT(printer_.journal,
              ElementsAre("FinalizaModoTEF", Shown(GetParam().text), "RetornoImpressora"));
  EXPECT_THAT(host_.dialogs, ElementsAre(Notice(GetParam().text)));
}

INSTANTIATE_TEST_SUITE_P(
    EveryCode, ReturnCodeTest,
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
        CodeRow{-18, "Não foi possível abrir arquivo INTPOS.001."},
        CodeRow{-19, "Número inválido de parâmetros do comando da impressora fiscal."},
        CodeRow{-20, "Transação cancelada pelo operador."},
        CodeRow{-21, "A Transação não foi aprovada."},
        CodeRow{-22, "Não foi possível terminar a impressão."},
        CodeRow{-23, "Não foi possível terminar a operação."},
        CodeRow{-24, "Forma de pagamento não programada."},
        CodeRow{-25, "Totalizador não fiscal não programado."},
        CodeRow{-26, "Transação já efetuada."},
        CodeRow{-28, "Não há informações para serem impressas."}));

TEST_F(ReturnAnalysisTest, RecordingErrorWithoutAMessageRowStillNamesTheProblem) {
  const std::string text = Cp1252ToUtf8(MissingMessageText("ErroGravacao"));
  ASSERT_NE(text.find("ErroGravacao"), std::string::npos);
  EXPECT_FALSE(Analyse(-8, true));
  EXPECT_THAT(Log(), ElementsAre("", "ERRO!!! " + text));
  EXPECT_THAT(host_.dialogs, ElementsAre(Notice(text)));
}

TEST_F(ReturnAnalysisTest, SuccessAndCodesOutsideTheTableRaiseNothing) {
  for (int code : {1, -9, -10, -11, -12, -13, -14, -15, -16, -17, -27, -29, 2, 100}) {
    EXPECT_TRUE(Analyse(code, true)) << code;
  }
  // Only the (empty) pending line of each call.
  EXPECT_EQ(Log(), std::vector<std::string>(14, ""));
  EXPECT_THAT(host_.dialogs, IsEmpty());
  EXPECT_EQ(ReturnCodeKey(1), "");
  EXPECT_EQ(ReturnCodeKey(-27), "");
}

// --- Status bytes ------------------------------------------------------------

struct BitRow {
  bool st2;
  int value;
  std::string text;  // UTF-8
  bool fails;
};

class StatusBitTest : public ReturnAnalysisTest, public ::testing::WithParamInterface<BitRow> {
 protected:
  void SetBit() {
    printer_.SetStatus(GetParam().st2 ? FakeStatus{.st2 = GetParam().value}
                                      : FakeStatus{.st1 = GetParam().value});
  }
};

TEST_P(StatusBitTest, IsLoggedJudgedAndWhenAFailureShownAfterLeavingTefMode) {
  SetBit();
  EXPECT_EQ(Analyse(1, true), !GetParam().fails);
  EXPECT_THAT(Log(), ElementsAre("", "ERRO!!! " + GetParam().text));
  if (GetParam().fails) {
    EXPECT_THAT(printer_.journal,
                ElementsAre("RetornoImpressora", "FinalizaModoTEF", Shown(GetParam().text)));
    EXPECT_THAT(host_.dialogs, ElementsAre(Notice(GetParam().text)));
  } else {
    // Low paper needs AvisaPoucoPapel too; an open coupon is never shown.
    EXPECT_THAT(printer_.journal, ElementsAre("RetornoImpressora"));
    EXPECT_THAT(host_.dialogs, IsEmpty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryBit, StatusBitTest,
    ::testing::Values(
        BitRow{false, 128, "Impressora fiscal sem papel.", true},
        BitRow{false, 64, "Impressora fiscal com pouco papel.", false},
        BitRow{false, 32, "Erro no relógio da impressora fiscal.", true},
        BitRow{false, 16, "Impressora fiscal com erro.", true},
        BitRow{false, 8, "Erro de sintaxe no comando enviado para a impressora fiscal.", true},
        BitRow{false, 4, "Comando para a impressora fiscal inexistente.", true},
        BitRow{false, 2, "Cupom aberto.", false},
        BitRow{false, 1, "Número inválido de parâmetros do comando da impressora fiscal.", true},
        BitRow{true, 128, "Tipo incorreto do parâmetro enviado para a impressora fiscal.", true},
        BitRow{true, 64, "Memória da impressora fiscal lotada.", true},
        BitRow{true, 32, "Erro na memória da impressora fiscal.", true},
        BitRow{true, 16, "Alíquota não programada na impressora fiscal.", true},
        BitRow{true, 8, "Capacidade de alíquotas da impressora fiscal lotada.", true},
        BitRow{true, 4, "Cancelamento não permitido pela impressora fiscal.", true},
        BitRow{true, 2, "CGC/IE do proprietário não programados na impressora fiscal.", true},
        BitRow{true, 1, "Comando não executado pela impressora fiscal.", true}));

TEST_F(ReturnAnalysisTest, WithoutMostraProblemsAreOnlyLogged) {
  printer_.SetStatus({.st1 = 255 - 2, .st2 = 255});
  EXPECT_FALSE(Analyse(-2, false, false, true));
  EXPECT_EQ(Log().size(), 1u + 1u + 15u);
  EXPECT_THAT(printer_.journal, ElementsAre("RetornoImpressora"));  // no TEF exit
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(ReturnAnalysisTest, StatusIsReadWithItsOutValuesPresetToZero) {
  printer_.SetStatus({.ack = 6, .st1 = 2, .st2 = 0});
  Analyse(1, false, true);  // the nested analysis of the cancel reads it again
  EXPECT_THAT(printer_.status_presets, ElementsAre("0,0,0", "0,0,0"));
}

TEST_F(ReturnAnalysisTest, EveryBitOfBothBytesIsReportedFromTheHighestDown) {
  printer_.SetStatus({.st1 = 255 - 2, .st2 = 255});
  EXPECT_FALSE(Analyse(1, true));
  const std::vector<std::string> log = Log();
  ASSERT_EQ(log.size(), 1u + 15u);
  EXPECT_EQ(log[1], "ERRO!!! Impressora fiscal sem papel.");
  EXPECT_EQ(log[2], "ERRO!!! Impressora fiscal com pouco papel.");
  EXPECT_EQ(log[7], "ERRO!!! Número inválido de parâmetros do comando da impressora fiscal.");
  EXPECT_EQ(log[8], "ERRO!!! Tipo incorreto do parâmetro enviado para a impressora fiscal.");
  EXPECT_EQ(log[15], "ERRO!!! Comando não executado pela impressora fiscal.");
  // Fourteen failures shown, each after its own TEF exit; no low-paper notice.
  EXPECT_EQ(host_.dialogs.size(), 14u);
  EXPECT_EQ(host_.dialogs.front(), Notice("Impressora fiscal sem papel."));
  EXPECT_EQ(host_.dialogs.back(), Notice("Comando não executado pela impressora fiscal."));
  EXPECT_EQ(std::count(printer_.journal.begin(), printer_.journal.end(), "FinalizaModoTEF"), 14);
}

TEST_F(ReturnAnalysisTest, ReturnCodeMessageComesBeforeTheStatusMessages) {
  printer_.SetStatus({.st2 = 16});
  EXPECT_FALSE(Analyse(-3, true));
  EXPECT_THAT(Log(), ElementsAre("", "ERRO!!! Alíquota não programada na impressora fiscal.",
                                 "ERRO!!! Alíquota não programada na impressora fiscal."));
  EXPECT_THAT(printer_.journal,
              ElementsAre("FinalizaModoTEF", Shown("Alíquota não programada na impressora fiscal."),
                          "RetornoImpressora", "FinalizaModoTEF",
                          Shown("Alíquota não programada na impressora fiscal.")));
}

// --- Low paper and open coupon -------------------------------------------------

TEST_F(ReturnAnalysisTest, LowPaperIsANoticeShownOnlyWithBothFlags) {
  for (int flags = 0; flags < 8; ++flags) {
    const bool mostra = flags & 1, cancela = flags & 2, avisa = flags & 4;
    SCOPED_TRACE("Mostra " + std::to_string(mostra) + " CancelaAberto " + std::to_string(cancela) +
                 " AvisaPoucoPapel " + std::to_string(avisa));
    host_.dialogs.clear();
    printer_.journal.clear();
    printer_.SetStatus({.st1 = 64});
    EXPECT_TRUE(Analyse(1, mostra, cancela, avisa));
    if (mostra && avisa) {
      EXPECT_THAT(host_.dialogs, ElementsAre(Notice("Impressora fiscal com pouco papel.")));
    } else {
      EXPECT_THAT(host_.dialogs, IsEmpty());
    }
    // No TEF exit for a notice, no cancellation.
    if (mostra && avisa) {
      EXPECT_THAT(printer_.journal,
                  ElementsAre("RetornoImpressora", Shown("Impressora fiscal com pouco papel.")));
    } else {
      EXPECT_THAT(printer_.journal, ElementsAre("RetornoImpressora"));
    }
  }
  const std::vector<std::string> log = Log();
  ASSERT_EQ(log.size(), 16u);
  for (std::size_t i = 0; i < log.size(); i += 2) {
    EXPECT_EQ(log[i], "");
    EXPECT_EQ(log[i + 1], "ERRO!!! Impressora fiscal com pouco papel.");
  }
}

TEST_F(ReturnAnalysisTest, OpenCouponAloneIsOnlyLoggedWhenNotToBeCancelled) {
  printer_.SetStatus({.st1 = 2});
  EXPECT_TRUE(Analyse(1, true, false));
  EXPECT_THAT(Log(), ElementsAre("", "ERRO!!! Cupom aberto."));
  EXPECT_THAT(printer_.journal, ElementsAre("RetornoImpressora"));
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(ReturnAnalysisTest, PaperOutComesFirstThenTheOpenCouponIsCancelledAndAnalysedSilently) {
  // The cancel fails and the printer then reports a parameter error: both
  // are logged by the nested analysis, neither is shown.
  printer_.ScriptStatuses({{.st1 = 130}, {.st2 = 128}});
  printer_.cancel_result = -2;
  EXPECT_FALSE(Analyse(1, true, true));
  EXPECT_THAT(Log(), ElementsAre("", "ERRO!!! Impressora fiscal sem papel.",
                                 "ERRO!!! Cupom aberto.", "", "ERRO!!! Parâmetro inválido.",
                                 "ERRO!!! Tipo incorreto do parâmetro enviado para a impressora "
                                 "fiscal."));
  EXPECT_THAT(printer_.journal, ElementsAre("RetornoImpressora", "FinalizaModoTEF",
                                            Shown("Impressora fiscal sem papel."), "CancelaCupom",
                                            "RetornoImpressora"));
  EXPECT_THAT(host_.dialogs, ElementsAre(Notice("Impressora fiscal sem papel.")));
}

TEST_F(ReturnAnalysisTest, AFailedCancellationDoesNotChangeTheVerdict) {
  printer_.ScriptStatuses({{.st1 = 2}, {.st1 = 16}});
  printer_.cancel_result = 0;
  EXPECT_TRUE(Analyse(1, true, true));
  EXPECT_THAT(host_.dialogs, IsEmpty());
  EXPECT_THAT(printer_.journal,
              ElementsAre("RetornoImpressora", "CancelaCupom", "RetornoImpressora"));
}

// --- Status that cannot be read -----------------------------------------------------

TEST_F(ReturnAnalysisTest, StatusReadFailureFailsWhateverTheReturnAndStopsThere) {
  printer_.SetStatus({.result = 0, .st1 = 128, .st2 = 1});
  EXPECT_FALSE(Analyse(1, true, true, true));
  EXPECT_THAT(Log(), ElementsAre("", "ERRO!!! Ret recebido"));
  EXPECT_THAT(printer_.journal, ElementsAre("RetornoImpressora", "FinalizaModoTEF",
                                            Shown("Impressora fiscal com erro.")));
  EXPECT_THAT(host_.dialogs, ElementsAre(Notice("Impressora fiscal com erro.")));
}

TEST_F(ReturnAnalysisTest, NakFailsAndStopsThere) {
  printer_.SetStatus({.ack = 21, .st1 = 2});
  EXPECT_FALSE(Analyse(1, false, true));
  EXPECT_THAT(Log(), ElementsAre("", "ERRO!!! NAK recebido"));
  EXPECT_THAT(printer_.journal, ElementsAre("RetornoImpressora"));  // no cancellation
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(ReturnAnalysisTest, CommunicationErrorWithAGoodStatusIsOneProblem) {
  printer_.SetStatus({.ack = 6});
  EXPECT_FALSE(Analyse(0, true));
  EXPECT_THAT(Log(), ElementsAre("", "ERRO!!! Erro de comunicação."));
  EXPECT_THAT(host_.dialogs, ElementsAre(Notice("Erro de comunicação.")));
}

TEST_F(ReturnAnalysisTest, PendingLineIsWrittenFirstAndThenEmptied) {
  Zel00101::stImpDebug = "Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms : 02 - Cred Pessoal";
  EXPECT_FALSE(Analyse(-25, false));
  EXPECT_EQ(Zel00101::stImpDebug, "");
  EXPECT_TRUE(Analyse(1, false));
  EXPECT_THAT(Log(), ElementsAre("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms : 02 - Cred Pessoal",
                                 "ERRO!!! Totalizador não fiscal não programado.", ""));
}

TEST_F(ReturnAnalysisTest, UnboundLibraryFailsLikeAPrinterThatDoesNotAnswer) {
  Zel00101::StopImpFiscal();
  EXPECT_FALSE(Analyse(1, true, true, true));
  EXPECT_THAT(Log(), ElementsAre("", "ERRO!!! Ret recebido"));
  EXPECT_THAT(host_.dialogs, ElementsAre(Notice("Impressora fiscal com erro.")));
  // No printer call reached the fakes, which are no longer in the table.
  EXPECT_THAT(printer_.journal, ElementsAre(Shown("Impressora fiscal com erro.")));
}

// --- Reply variables of the older interface -------------------------------------------

TEST_F(ReturnAnalysisTest, ReplyVariablesAreReadIntoThreeThousandBlanks) {
  printer_.reply_variables = "  1234 ab";
  EXPECT_EQ(Zel00101::RetornoImpFiscal("40", true), "1234 ab");
  EXPECT_EQ(printer_.reply_buffer_received, std::string(3000, ' '));
  EXPECT_THAT(Log(), ElementsAre("Retorno da Impressora 1234 ab"));
}

TEST_F(ReturnAnalysisTest, UntrimmedReplyKeepsTheWholeBuffer) {
  printer_.reply_variables = "1234";
  const std::string reply = Zel00101::RetornoImpFiscal("40", false);
  EXPECT_EQ(reply, "1234" + std::string(2996, ' '));
  EXPECT_THAT(Log(), ElementsAre("Retorno da Impressora " + reply));
}

TEST_F(ReturnAnalysisTest, CommandsTwentyThreeAndThirtyFiveTwentyNineGiveTwoCharacters) {
  printer_.reply_variables = "0731  ";
  EXPECT_EQ(Zel00101::RetornoImpFiscal("23", false), "07");
  EXPECT_EQ(Zel00101::RetornoImpFiscal("23", true), "07");
  EXPECT_EQ(Zel00101::RetornoImpFiscal("3529", false), "07");
  EXPECT_EQ(Zel00101::RetornoImpFiscal("235", false).size(), 3000u);
  EXPECT_THAT(Log(), testing::Contains("Retorno da Impressora 07").Times(3));
}

TEST_F(ReturnAnalysisTest, UnboundReplyEntryGivesBlanks) {
  Zel00101::StopImpFiscal();
  EXPECT_EQ(Zel00101::RetornoImpFiscal("40", true), "");
  EXPECT_EQ(Zel00101::RetornoImpFiscal("23", true), "  ");
  EXPECT_THAT(Log(), ElementsAre("Retorno da Impressora ", "Retorno da Impressora   "));
}

}  // namespace
}  // namespace zel
