// Status bytes, conditions set through the control API, the journal, and
// the out-buffers the printer writes into.
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "printer_fixture.h"

namespace ecfsim_test {
namespace {

using StatusTest = PrinterTest;

constexpr int kGuard = 16;

// Calls `entry` with buffers of the given widths followed by guard bytes and
// checks that no guard byte changed and no terminator was written inside.
void ExpectWithinWidths(const std::string& name, const std::vector<int>& widths,
                        const std::function<int(std::vector<char*>&)>& entry) {
  std::vector<std::string> buffers;
  for (int width : widths) buffers.push_back(std::string(width, ' ') + std::string(kGuard, '#'));
  std::vector<char*> pointers;
  for (std::string& b : buffers) pointers.push_back(b.data());
  EXPECT_EQ(entry(pointers), 1) << name;
  for (std::size_t i = 0; i < widths.size(); ++i) {
    EXPECT_EQ(buffers[i].substr(widths[i]), std::string(kGuard, '#')) << name << " buffer " << i;
    EXPECT_EQ(buffers[i].find('\0'), std::string::npos) << name << " buffer " << i;
  }
}

// A printer with every list full: 16 rates, 30 totalizers, 20 forms, and
// figures on all of them.
void FillEveryList() {
  for (int i = 1; i <= 16; ++i) EcfSim_SetTaxRate(i, 100 * i, i % 2);
  for (int i = 1; i <= 30; ++i) {
    std::string name = "TOTALIZADOR NUM " + std::to_string(100 + i);
    ASSERT_EQ(Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms(i, name.c_str()), 1);
  }
  for (int i = 2; i <= 20; ++i) {
    std::string name = "FORMA DE PAGT " + std::to_string(10 + i);
    ASSERT_EQ(Bematech_FI_ProgramaFormaPagamentoMFD(name.c_str(), "1"), 1);
  }
  ASSERT_EQ(Bematech_FI_AbreCupomMFD(nullptr, nullptr, nullptr), 1);
  ASSERT_EQ(Bematech_FI_VendeItemDepartamento("1", "X", "16", "999999,990", "9999,000", "00",
                                              "0000", "01", "UN"),
            1);
  ASSERT_EQ(Bematech_FI_IniciaFechamentoCupom("d", "$", "0"), 1);
  ASSERT_EQ(Bematech_FI_EfetuaFormaPagamento("Dinheiro", "9999999999,99"), 1);
  ASSERT_EQ(Bematech_FI_TerminaFechamentoCupom("fim"), 1);
  ASSERT_EQ(Bematech_FI_ReducaoZ(nullptr, nullptr), 1);
  ASSERT_EQ(BemaFormataTX("\x1b|27|\x1b"), 0);
}

TEST_F(StatusTest, OutBuffersAreNeverWrittenPastTheirWidth) {
  FillEveryList();
  using One = int (*)(char*);
  const std::vector<std::pair<std::string, std::pair<One, int>>> single = {
      {"DataMovimento", {Bematech_FI_DataMovimento, 6}},
      {"NumeroCaixa", {Bematech_FI_NumeroCaixa, 4}},
      {"NumeroSerie", {Bematech_FI_NumeroSerie, 15}},
      {"NumeroSerieMFD", {Bematech_FI_NumeroSerieMFD, 15}},
      {"NumeroCupom", {Bematech_FI_NumeroCupom, 6}},
      {"GrandeTotal", {Bematech_FI_GrandeTotal, 18}},
      {"RetornoAliquotas", {Bematech_FI_RetornoAliquotas, 79}},
      {"VerificaAliquotasIss", {Bematech_FI_VerificaAliquotasIss, 79}},
      {"VerificaTotalizadoresNaoFiscais", {Bematech_FI_VerificaTotalizadoresNaoFiscais, 179}},
      {"VerificaFormasPagamento", {Bematech_FI_VerificaFormasPagamento, 3016}},
      {"DadosUltimaReducao", {Bematech_FI_DadosUltimaReducao, 1278}},
      {"DadosUltimaReducaoMFD", {Bematech_FI_DadosUltimaReducaoMFD, 1278}},
      {"ContadorCupomFiscalMFD", {Bematech_FI_ContadorCupomFiscalMFD, 6}},
      {"NumeroSubstituicoesProprietario", {Bematech_FI_NumeroSubstituicoesProprietario, 4}},
      {"NumeroOperacoesNaoFiscais", {Bematech_FI_NumeroOperacoesNaoFiscais, 6}},
      {"NumeroIntervencoes", {Bematech_FI_NumeroIntervencoes, 4}},
      {"NumeroReducoes", {Bematech_FI_NumeroReducoes, 4}},
      {"VendaBruta", {Bematech_FI_VendaBruta, 18}},
      {"Cancelamentos", {Bematech_FI_Cancelamentos, 14}},
      {"Descontos", {Bematech_FI_Descontos, 14}},
      {"Acrescimos", {Bematech_FI_Acrescimos, 14}},
      {"ContadorRelatoriosGerenciaisMFD", {Bematech_FI_ContadorRelatoriosGerenciaisMFD, 6}},
      {"ContadorComprovantesCreditoMFD", {Bematech_FI_ContadorComprovantesCreditoMFD, 6}},
      {"NumeroCuponsCancelados", {Bematech_FI_NumeroCuponsCancelados, 4}},
      {"VersaoFirmwareMFD", {Bematech_FI_VersaoFirmwareMFD, 6}},
      {"VerificaTotalizadoresParciais", {Bematech_FI_VerificaTotalizadoresParciais, 329}},
      {"VerificaRecebimentoNaoFiscal", {Bematech_FI_VerificaRecebimentoNaoFiscal, 1319}},
      {"VerificaRecebimentoNaoFiscalMFD", {Bematech_FI_VerificaRecebimentoNaoFiscalMFD, 1319}},
  };
  for (const auto& [name, entry] : single) {
    ExpectWithinWidths(name, {entry.second}, [&](auto& b) { return entry.first(b[0]); });
  }
  ExpectWithinWidths("BemaLe_Variaveis", {3000},
                     [](auto& b) { return BemaLe_Variaveis(b[0]) == 0 ? 1 : 0; });
  ExpectWithinWidths("BemaRetorna_ASCII", {3000},
                     [](auto& b) { return BemaRetorna_ASCII(b[0]) == 0 ? 1 : 0; });
  ExpectWithinWidths("DataHoraImpressora", {6, 6},
                     [](auto& b) { return Bematech_FI_DataHoraImpressora(b[0], b[1]); });
  ExpectWithinWidths("DataHoraGravacao", {20, 20, 5}, [](auto& b) {
    return Bematech_FI_DataHoraGravacaoUsuarioSWBasicoMFAdicional(b[0], b[1], b[2]);
  });
  ExpectWithinWidths("MarcaModeloTipo", {15, 20, 7}, [](auto& b) {
    return Bematech_FI_MarcaModeloTipoImpressoraMFD(b[0], b[1], b[2]);
  });
  ExpectWithinWidths("InicioFimCOOs", {6, 6},
                     [](auto& b) { return Bematech_FI_InicioFimCOOsMFD(b[0], b[1]); });
  // The totalizer list shows the nine positions the 179 characters hold.
  std::string names = Out(Bematech_FI_VerificaTotalizadoresNaoFiscais, 179);
  EXPECT_EQ(names.substr(0, 20), "TOTALIZADOR NUM 101,");
  EXPECT_EQ(names.substr(160), "TOTALIZADOR NUM 109");
}

TEST_F(StatusTest, PaperOutRefusesPrintingAndReportsSt1Bit128) {
  EcfSim_SetPaperOut(3);
  EXPECT_EQ(Bematech_FI_AbreCupomMFD(nullptr, nullptr, nullptr), -27);
  EXPECT_EQ(LastStatus().st1, 128);
  EXPECT_EQ(Figure("coo"), 0);
  std::string coo(6, ' ');
  EXPECT_EQ(Bematech_FI_NumeroCupom(coo.data()), 1);  // queries still answer
  EXPECT_EQ(LastStatus().st1, 128);
  EXPECT_EQ(Bematech_FI_LeituraX(), -27);
  ASSERT_EQ(Bematech_FI_AbreCupomMFD(nullptr, nullptr, nullptr), 1);  // paper is back
  EXPECT_EQ(LastStatus().st1, 2);
}

TEST_F(StatusTest, PaperLowOnlyWarns) {
  EcfSim_SetPaperLow(-1);
  ASSERT_EQ(Bematech_FI_LeituraX(), 1);
  EXPECT_EQ(LastStatus().st1, 64);
  ASSERT_EQ(Bematech_FI_LeituraX(), 1);
  EXPECT_EQ(LastStatus().st1, 64);
  EcfSim_SetPaperLow(0);
  ASSERT_EQ(Bematech_FI_LeituraX(), 1);
  EXPECT_EQ(LastStatus().st1, 0);
}

TEST_F(StatusTest, ForcedCodeSkipsTheCommandOnce) {
  EcfSim_FailEntry("Bematech_FI_LeituraX", -1, 1);
  EXPECT_EQ(Bematech_FI_LeituraX(), -1);
  EXPECT_EQ(Figure("coo"), 0);
  EXPECT_EQ(Bematech_FI_LeituraX(), 1);
  EXPECT_EQ(Figure("coo"), 1);
  EcfSim_FailEntry("*", 0, -1);
  EXPECT_EQ(Bematech_FI_LeituraX(), 0);
  int ack = -1, st1 = -1, st2 = -1;
  EXPECT_EQ(Bematech_FI_RetornoImpressora(&ack, &st1, &st2), 0);  // "*" covers it too
  EcfSim_ClearFaults();
  EXPECT_EQ(LastStatus().ack, 0);  // the last command had no reply
  EXPECT_EQ(Bematech_FI_LeituraX(), 1);
}

TEST_F(StatusTest, ForcedStatusBytes) {
  EcfSim_SetEntryStatus("Bematech_FI_LeituraX", 21, 0, 0, 1);  // NAK: not carried out
  EXPECT_EQ(Bematech_FI_LeituraX(), -27);
  Status s = LastStatus();
  EXPECT_EQ(s.ack, 21);
  EXPECT_EQ(Figure("coo"), 0);
  EcfSim_SetEntryStatus("Bematech_FI_LeituraX", 6, 64, 0, -1);  // only a warning
  EXPECT_EQ(Bematech_FI_LeituraX(), 1);
  EXPECT_EQ(LastStatus().st1, 64);
  EXPECT_EQ(Figure("coo"), 1);
  EcfSim_SetEntryStatus("Bematech_FI_LeituraX", 0, 0, 0, 0);  // removed
  EXPECT_EQ(Bematech_FI_LeituraX(), 1);
  EXPECT_EQ(LastStatus().st1, 0);
}

TEST_F(StatusTest, DroppedReplyWasCarriedOut) {
  EcfSim_DropReply("Bematech_FI_AbreCupomMFD", 1);
  EXPECT_EQ(Bematech_FI_AbreCupomMFD(nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(LastStatus().ack, 0);
  EXPECT_EQ(Figure("coo"), 1);
  EXPECT_EQ(Figure("document"), 1);
  int ack = 0, st1 = 0, st2 = 0;
  ASSERT_EQ(Bematech_FI_VerificaEstadoImpressora(&ack, &st1, &st2), 1);
  EXPECT_EQ(ack, 6);
  EXPECT_EQ(st1, 2);
}

TEST_F(StatusTest, PrinterSwitchedOff) {
  EcfSim_SetPower(0);
  EXPECT_EQ(Bematech_FI_VerificaImpressoraLigada(), -6);
  EXPECT_EQ(Bematech_FI_LeituraX(), 0);
  EXPECT_EQ(BemaFormataTX("\x1b|19|\x1b"), 1);
  EcfSim_SetPower(1);
  EXPECT_EQ(Bematech_FI_VerificaImpressoraLigada(), 1);
  EXPECT_EQ(Figure("coo"), 0);
}

TEST_F(StatusTest, JournalKeepsEveryCallWithItsArguments) {
  EcfSim_JournalClear();
  ASSERT_EQ(Bematech_FI_AbreCupomMFD(nullptr, "Ana", ""), 1);
  Sell("01", "1,000", "2,000");
  LastStatus();
  std::vector<std::string> calls = Journal();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0], "Bematech_FI_AbreCupomMFD||Ana|");
  EXPECT_EQ(calls[1], "Bematech_FI_VendeItemDepartamento|789|PRODUTO|01|1,000|2,000|00|0000|01|UN");
  EXPECT_EQ(calls[2], "Bematech_FI_RetornoImpressora");
  char small[8];
  EXPECT_EQ(EcfSim_JournalGet(0, small, sizeof small), static_cast<int>(calls[0].size()));
  EXPECT_STREQ(small, "Bematec");
  EXPECT_EQ(EcfSim_JournalGet(3, small, sizeof small), -1);
  EcfSim_JournalClear();
  EXPECT_EQ(EcfSim_JournalCount(), 0);
}

TEST_F(StatusTest, ExtendedStatusFollowsTheOpenDocument) {
  int status = -1;
  ASSERT_EQ(Bematech_FI_StatusEstendidoMFD(&status), 1);
  EXPECT_EQ(status, 0);
  ASSERT_EQ(Bematech_FI_RelatorioGerencial(" "), 1);
  ASSERT_EQ(Bematech_FI_StatusEstendidoMFD(&status), 1);
  EXPECT_EQ(status, 4);
  ASSERT_EQ(Bematech_FI_FechaRelatorioGerencial(), 1);
  OpenCoupon();
  ASSERT_EQ(Bematech_FI_StatusEstendidoMFD(&status), 1);
  EXPECT_EQ(status, 1);
}

TEST_F(StatusTest, LatencySlowsEveryCommand) {
  EcfSim_SetLatency(40);
  auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(Bematech_FI_LeituraX(), 1);
  ASSERT_EQ(Bematech_FI_LeituraX(), 1);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(80));
  EcfSim_SetLatency(0);
}

TEST_F(StatusTest, DrawerOpensAndReportsItsState) {
  int state = -1;
  ASSERT_EQ(Bematech_FI_VerificaEstadoGaveta(&state), 1);
  EXPECT_EQ(state, 0);
  ASSERT_EQ(Bematech_FI_AcionaGaveta(), 1);
  ASSERT_EQ(Bematech_FI_VerificaEstadoGaveta(&state), 1);
  EXPECT_EQ(state, 1);
  EcfSim_SetDrawerOpen(0);
  ASSERT_EQ(Bematech_FI_VerificaEstadoGaveta(&state), 1);
  EXPECT_EQ(state, 0);
}

}  // namespace
}  // namespace ecfsim_test
