// Deposit receipts through the loaded driver: on the fiscal printer (linked
// receipt and payment receipts), on the simulated receipt printer through
// its library, and straight through a pseudo-terminal for the serial model.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "credit_fixture.h"
#include "zel/error.h"

namespace zel {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

using S = const std::string&;
using CredPessoalFn = bool(S, S, S, S, S, S, std::string&, std::string&, Dataset&, double, S, S, S,
                           S, S, S, S, S, S, S, S, S, S, S, bool, S, S);
using Mp100Fn = bool(std::string&, Dataset&, double, S, S, S, S, S, S, S, bool);
using NfiscFn = bool(std::string&, Dataset&, double, S, S, S, S, S, S, S, S, S, S, S, S, S, S, S,
                     bool);
using ModelFn = void(std::uint8_t&, std::string&, std::string&, S);
using SerialWriteFn = std::string(S, S);

// The unit-qualified names of the two operations exported only so.
constexpr char kMp100Symbol[] =
    "_ZN8Zel0010125Compr_Cred_Bematech_MP100ERNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE"
    "RN3zel7DatasetEdRKS5_SB_SB_SB_SB_SB_SB_b";

const std::string kBlank48(48, ' ');
// Why the serial model's tests skip under wine.
constexpr char kNoPseudoTerminal[] =
    "no pseudo-terminal to stand in for COM5: a Windows program has none, even under wine";
const std::string kRule48(48, '-');

Dataset Payments(std::initializer_list<std::vector<Variant>> rows) {
  return MakeTable("cdsPagamentos",
                   {{"VRMOVIVEND", FieldType::kFloat, 0}, {"NMTIPORECE", FieldType::kText, 40}},
                   rows);
}

// The body every deposit receipt of 48 columns carries.
std::string DepositBody(const std::string& consumer, const std::string& total,
                        const std::string& final_balance) {
  return "\n" + std::string(15, ' ') + "COMPRA DE CREDITO" + std::string(16, ' ') + "\n" + kRule48 +
         "\n\nNr.Deposito: 000123\n" + kBlank48 + "\n" + "Consumidor..: " + consumer +
         "\nFamilia.....: SILVA\nValor ......: " + total + "\nSaldo Final : " + final_balance +
         "\n";
}

class CreditReceiptsTest : public CreditFixture {
 protected:
  bool CredPessoal(Dataset& payments, const std::string& consumer = "MARIA SILVA") {
    std::string p7, p8;
    return Op<CredPessoalFn>("Compr_CredPessoal")("", "03", "", "", "", "006", p7, p8, payments,
                                                  10.0, consumer, "000123", "", "", "", "", "", "",
                                                  "", "", "", "", "", "", false, "SILVA", "");
  }
  bool Mp100(Dataset& payments, const std::string& copies, const std::string& port = "COM5") {
    std::string p1;
    return Symbol<Mp100Fn>(kMp100Symbol)(p1, payments, 10.0, "MARIA SILVA", "000123", "SILVA",
                                         copies, "", port, "", false);
  }
  bool Nfisc(Dataset& payments, const std::string& copies, const std::string& layout,
             const std::string& model, const std::string& port = "COM5") {
    std::string p1;
    return Symbol<NfiscFn>(NfiscSymbol())(
        p1, payments, 10.0, "MARIA SILVA", "000123", "SILVA", copies, layout, model, port, "000456",
        "PADARIA BOA", "RUA UM, 10", "CENTRO", "SAO PAULO", "12345", "SN9876", "Obrigado!", false);
  }
  static std::string NfiscSymbol() {
    // Zel00101::Compr_Cred_Bematech_NFISC(string&, Dataset&, double, 15 x const string&, bool)
    std::string symbol =
        "_ZN8Zel0010125Compr_Cred_Bematech_NFISCERNSt7__cxx1112basic_stringIcSt11char_"
        "traitsIcESaIcEEERN3zel7DatasetEdRKS5_";
    for (int i = 0; i < 14; ++i) symbol += "SB_";
    return symbol + "b";
  }
};

TEST_F(CreditReceiptsTest, FiscalPrinterPrintsTwoCopiesThenOneReceiptPerPayment) {
  Dataset payments = Payments({{20.0, "Dinheiro"}, {5.5, "Cartao"}});

  EXPECT_TRUE(CredPessoal(payments));

  const std::string body = DepositBody("MARIA SILVA", "R$ 25,50", "R$ 35,50");
  std::string first_copy = body;
  for (int i = 0; i < 4; ++i) first_copy += kBlank48 + "\n";
  EXPECT_THAT(PrintedPieces(), ElementsAre(first_copy, body));
  EXPECT_THAT(FiscalCalls("Bematech_FI_RecebimentoNaoFiscal"),
              ElementsAre("Bematech_FI_RecebimentoNaoFiscal|02|00000000000001|Rel Gerencial",
                          "Bematech_FI_RecebimentoNaoFiscal|03|00000000002000|Dinheiro",
                          "Bematech_FI_RecebimentoNaoFiscal|03|00000000000550|Cartao"));
  EXPECT_EQ(FiscalCalls("Bematech_FI_FechaRelatorioGerencial").size(), 1u);
  EXPECT_THAT(FiscalTape(), Contains(HasSubstr("Saldo Final : R$ 35,50")));
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(CreditReceiptsTest, EmptyPaymentsPrintAZeroDepositAndAnswerFalse) {
  Dataset payments = Payments({});

  EXPECT_FALSE(CredPessoal(payments));

  const std::string body = DepositBody("MARIA SILVA", "R$ 0,00", "R$ 10,00");
  EXPECT_EQ(PrintedPieces().size(), 2u);
  EXPECT_EQ(PrintedPieces().back(), body);
  EXPECT_EQ(FiscalCalls("Bematech_FI_RecebimentoNaoFiscal").size(), 1u) << "only the one cent";
}

TEST_F(CreditReceiptsTest, LongLinesAreCutAt48NotWrapped) {
  Dataset payments = Payments({{1.0, "Dinheiro"}});
  const std::string name(60, 'N');

  CredPessoal(payments, name);

  const std::string cut = "Consumidor..: " + std::string(34, 'N') + "\n";
  EXPECT_THAT(PrintedPieces().back(), HasSubstr(cut));
  EXPECT_THAT(PrintedPieces().back(), Not(HasSubstr(std::string(35, 'N'))));
}

TEST_F(CreditReceiptsTest, APaymentThePrinterRefusesMakesTheAnswerFalse) {
  Dataset payments = Payments({{20.0, "Dinheiro"}, {5.0, "Vale Inexistente"}});

  EXPECT_FALSE(CredPessoal(payments));

  EXPECT_EQ(FiscalCalls("Bematech_FI_RecebimentoNaoFiscal").size(), 3u);
}

TEST_F(CreditReceiptsTest, ReceiptPrinterGetsTheAskedCopiesThroughItsLibrary) {
  Dataset payments = Payments({{20.0, "Dinheiro"}, {5.5, "Cartao"}});

  EXPECT_TRUE(Mp100(payments, "2"));

  const std::string body = DepositBody("MARIA SILVA", "R$ 25,50", "R$ 35,50") + "\n\r";
  const std::string feed = "\n\r\n\r\n\r\n\r\n\r\n\r";
  EXPECT_THAT(ReceiptJournal(),
              ElementsAre("IniciaPorta|COM5", "FormataTX|" + body + "|3|0|0|0|1",
                          "FormataTX|" + feed + "|3|0|0|0|1", "FormataTX|" + body + "|3|0|0|0|1",
                          "FormataTX|" + feed + "|3|0|0|0|1", "FechaPorta"));
  const std::vector<std::string> tape = ReceiptTape();
  EXPECT_EQ(std::count(tape.begin(), tape.end(), "Saldo Final : R$ 35,50"), 2);
  EXPECT_THAT(SimJournal(), IsEmpty()) << "the fiscal printer is not involved";
}

// Nothing reached the printer: the answer is false (not the true a host
// would take for a printed receipt).
TEST_F(CreditReceiptsTest, ReceiptPrinterThatCannotPrintAnswersFalse) {
  Dataset payments = Payments({{20.0, "Dinheiro"}});

  env_.InjectFailure(EnvOperation::kOpenSerialPort, 1, "COM5");
  EXPECT_FALSE(Mp100(payments, "1"));
  EXPECT_THAT(ReceiptJournal(), IsEmpty()) << "an absent port is never handed to the library";

  Receipt<void(int)>("NfSim_SetAttached")(0);
  EXPECT_FALSE(Mp100(payments, "1"));
  EXPECT_THAT(ReceiptJournal(), ElementsAre("IniciaPorta|COM5", "FechaPorta"));

  Receipt<void(int)>("NfSim_SetAttached")(1);
  Receipt<void()>("NfSim_JournalClear")();
  Receipt<void(const char*, int, int)>("NfSim_FailEntry")("FormataTX", 0, -1);
  EXPECT_FALSE(Mp100(payments, "1"));
  EXPECT_THAT(ReceiptTape(), IsEmpty());
}

TEST_F(CreditReceiptsTest, BadInputRaisesBeforeAnythingIsPrinted) {
  Dataset payments = Payments({{20.0, "Dinheiro"}});
  Dataset no_amount = MakeTable("cdsPagamentos", {{"VALOR", FieldType::kFloat, 0}}, {{1.0}});
  struct Case {
    const char* what;
    std::function<void()> call;
  };
  const std::vector<Case> cases = {
      {"copies not a number", [&] { Mp100(payments, "dois"); }},
      {"no copies", [&] { Mp100(payments, "0"); }},
      {"empty copies", [&] { Nfisc(payments, "", "01", "2"); }},
      {"a device path as port", [&] { Mp100(payments, "1", "/dev/null"); }},
      {"a parallel port", [&] { Nfisc(payments, "1", "01", "2", "LPT1"); }},
      {"port COM0", [&] { Mp100(payments, "1", "COM0"); }},
      {"a path behind COM", [&] { Nfisc(payments, "1", "01", "7", "COM1/../x"); }},
      {"unknown model", [&] { Nfisc(payments, "1", "01", "MP4200"); }},
      {"missing amount field", [&] { Mp100(no_amount, "1"); }},
      {"missing payment name",
       [&] {
         Dataset only_amount =
             MakeTable("cdsPagamentos", {{"VRMOVIVEND", FieldType::kFloat, 0}}, {{1.0}});
         CredPessoal(only_amount);
       }},
      {"negative payment",
       [&] {
         Dataset negative = Payments({{-5.0, "Dinheiro"}});
         CredPessoal(negative);
       }},
      {"serial write to a path",
       [&] { Op<SerialWriteFn>("Formata_Bematech_MP100")("x", "../COM5"); }},
  };
  for (const Case& c : cases) {
    EXPECT_THROW(c.call(), Error) << c.what;
  }
  EXPECT_THAT(ReceiptJournal(), IsEmpty());
  EXPECT_THAT(SimJournal(), IsEmpty());
  if (port_.available()) {
    EXPECT_EQ(port_.ReceiveAll(std::chrono::milliseconds(50)), "");
  }
}

TEST_F(CreditReceiptsTest, ModelParametersFollowTheModelsTable) {
  struct Row {
    const char* model;
    int width;
    const char* line_end;
    const char* cut;
  };
  for (const Row& row : std::vector<Row>{{"2", 42, "\n", "\x1bw"},
                                         {"5", 42, "\n", "\x1bm"},
                                         {"6", 42, "\n", "\x1bm"},
                                         {"7", 40, "\n", "\x1bw"},
                                         {"1", 48, "\r\n", "\x1bw"},
                                         {"", 48, "\r\n", "\x1bw"}}) {
    std::uint8_t width = 0;
    std::string line_end, cut;
    Op<ModelFn>("DefineParametrosImpressora")(width, line_end, cut, row.model);
    EXPECT_EQ(width, row.width) << row.model;
    EXPECT_EQ(line_end, row.line_end) << row.model;
    EXPECT_EQ(cut, row.cut) << row.model;
  }
}

// `text` centred in `width` columns, the odd blank on the right; a longer
// text keeps its first `width` characters.
std::string Centred(const std::string& text, int width) {
  if (static_cast<int>(text.size()) >= width)
    return text.substr(0, static_cast<std::size_t>(width));
  const int room = width - static_cast<int>(text.size());
  return std::string(static_cast<std::size_t>(room / 2), ' ') + text +
         std::string(static_cast<std::size_t>(room - room / 2), ' ');
}

// Layout, width, line end and cut of each kind of receipt printer; every
// copy is printed once, then one cut.
TEST_F(CreditReceiptsTest, NonFiscalLayoutsOnTheReceiptPrinter) {
  struct Case {
    const char* layout;
    const char* model;
    int width;
    const char* line_end;
    const char* cut;
    const char* cut_mark;
    std::vector<std::string> lines;  // the tape of one copy
  };
  const std::string rule42(42, '-');
  const std::vector<Case> cases = {
      {"01",
       "2",
       42,
       "\n",
       "\x1bw",
       "= CORTE =",
       {Centred("PADARIA BOA", 42), Centred("RUA UM, 10", 42), Centred("CENTRO", 42),
        Centred("SAO PAULO", 42), Centred("Insc.Municipal 12345", 42), rule42,
        "Nr.Serie     SN9876", "Data/Hora    07/12/2026 10:05:07", "Nr.Cupom     000456",
        "Nr.Deposito  000123", rule42, "Recarga SILVA", "Consumidor..: MARIA SILVA",
        "Valor ......: R$ 20,00", "Saldo Final : R$ 30,00", rule42, Centred("Obrigado!", 42),
        Centred("Zelvora PDV (11)5555-0123 www.zelvora.example", 42)}},
      {"02",
       "5",
       42,
       "\n",
       "\x1bm",
       "- CORTE PARCIAL -",
       {Centred("PADARIA BOA", 42), Centred("RUC: 12345", 42), Centred("CENTRO", 42),
        Centred("PUNTO DE VENTA: PADARIA BOA", 42), rule42, "NR.SERIE...: SN9876 CAJA: 07",
        "NR.TICKET..: 000456", "FECHA......: 07/12/2026 HORA: 10:05:07", "NR.DEPOSITO: 000123",
        rule42, "RECARGA SILVA", "CONSUMIDOR..: MARIA SILVA", "VALOR ......: R$ 20,00",
        "SALDO FINAL.: R$ 30,00", rule42, "Obrigado!",
        Centred("Zelvora PDV (11)5555-0123 www.zelvora.example", 42)}},
      {"09",
       "0",
       48,
       "\r\n",
       "\x1bw",
       "= CORTE =",
       {"", Centred("COMPRA DE CREDITO", 48), kRule48, "Nr.Deposito: 000123", kBlank48,
        "Consumidor..: MARIA SILVA", "Familia.....: SILVA", "Valor ......: R$ 20,00",
        "Saldo Final : R$ 30,00", kRule48, Centred("Data/Hora 07/12/2026 10:05:07", 48),
        Centred("Zelvora PDV (11)5555-0123 www.zelvora.example", 48)}},
  };
  Var<std::string>("stAtuCaixa") = "07";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.layout);
    Receipt<void()>("NfSim_Reset")();
    Receipt<void(int)>("NfSim_SetColumns")(c.width);
    Dataset payments = Payments({{20.0, "Dinheiro"}});

    EXPECT_TRUE(Nfisc(payments, "2", c.layout, c.model));

    std::string text;
    for (const std::string& line : c.lines) text += line + c.line_end;
    for (int i = 0; i < 6; ++i) text += c.line_end;
    const std::string printed = "FormataTX|" + text + "|3|0|0|0|1";
    EXPECT_THAT(ReceiptJournal(),
                ElementsAre("IniciaPorta|COM5", printed, printed,
                            "ComandoTX|" + std::string(c.cut) + "|2", "FechaPorta"));
    std::vector<std::string> one_copy = c.lines;
    one_copy.resize(one_copy.size() + 6);
    std::vector<std::string> expected = one_copy;
    expected.insert(expected.end(), one_copy.begin(), one_copy.end());
    std::vector<std::string> tape = ReceiptTape();
    ASSERT_FALSE(tape.empty());
    EXPECT_THAT(tape.back(), HasSubstr(c.cut_mark));
    tape.pop_back();
    EXPECT_THAT(tape, ElementsAreArray(expected));
  }
  Var<std::string>("stAtuCaixa").clear();
}

TEST_F(CreditReceiptsTest, SerialModelGetsOneCopyStraightThroughThePort) {
  if (!port_.available()) GTEST_SKIP() << kNoPseudoTerminal;
  Dataset payments = Payments({{20.0, "Dinheiro"}});

  EXPECT_TRUE(Nfisc(payments, "3", "09", "7"));

  const std::string bytes = port_.ReceiveAll();
  EXPECT_EQ(bytes.substr(0, 2 + 40),
            "\n" + std::string(11, ' ') + "COMPRA DE CREDITO" + std::string(12, ' ') + "\n");
  EXPECT_THAT(bytes, HasSubstr("\nSaldo Final : R$ 30,00\n"));
  EXPECT_EQ(bytes.substr(bytes.size() - 11), "\n" + std::string(10, '\n'));
  std::size_t copies = 0;
  for (std::size_t at = bytes.find("COMPRA DE CREDITO"); at != std::string::npos;
       at = bytes.find("COMPRA DE CREDITO", at + 1)) {
    ++copies;
  }
  EXPECT_EQ(copies, 1u);
  EXPECT_THAT(ReceiptJournal(), IsEmpty()) << "the library is not used for this model";
}

TEST_F(CreditReceiptsTest, SerialWriteSendsTheTextAsItIs) {
  if (!port_.available()) GTEST_SKIP() << kNoPseudoTerminal;
  EXPECT_EQ(Op<SerialWriteFn>("Formata_Bematech_MP100")("linha 1\nlinha 2\n\x1bw", "COM5"), "");
  EXPECT_EQ(port_.ReceiveAll(), "linha 1\nlinha 2\n\x1bw");
  EXPECT_TRUE(port_.Is19200EightNoneOne());

  env_.InjectFailure(EnvOperation::kOpenSerialPort, 1, "COM5");
  Dataset payments = Payments({{20.0, "Dinheiro"}});
  EXPECT_FALSE(Nfisc(payments, "1", "09", "7")) << "nothing reached the printer";
  EXPECT_THAT(LogEntries(), Contains(HasSubstr("ERRO!!! Injected failure of OpenSerialPort")));
}

}  // namespace
}  // namespace zel
