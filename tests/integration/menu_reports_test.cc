// The fiscal-menu reports, through the loaded driver: every line the
// printer received, in order, inside its linked receipt.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fiscal_menu_fixture.h"
#include "host/cipher.h"
#include "host/codepage.h"
#include "zel/dataset.h"

namespace zel {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using ::testing::Not;

using TipoReceOp = void(const std::string&, const std::string&, const std::string&, const Variant&);
using DadosPafOp = void(std::span<const Variant>, Variant&);

constexpr char kScheme[] = "007";
constexpr char kUse[] = "Bematech_FI_UsaComprovanteNaoFiscalVinculado|";

std::string Blanks(int n) { return std::string(n, ' '); }

struct PaymentRow {
  int day;
  const char* code;
  const char* name;
  double amount;
};

Variant PaymentPacket(const std::vector<PaymentRow>& rows) {
  Dataset data("cdsTipoReceHomolog");
  data.AddField("DTMOVIMCAIXA", FieldType::kDateTime);
  data.AddField("CDTIPORECE", FieldType::kText, 3);
  data.AddField("NMTIPORECE", FieldType::kText, 20);
  data.AddField("VRMOVIVEND", FieldType::kFloat);
  data.CreateDataSet();
  for (const PaymentRow& row : rows) {
    data.Append();
    data.SetValue("DTMOVIMCAIXA", EncodeDateTime({.year = 2026, .month = 12, .day = row.day}));
    data.SetValue("CDTIPORECE", row.code);
    data.SetValue("NMTIPORECE", row.name);
    data.SetValue("VRMOVIVEND", row.amount);
    data.Post();
  }
  return data.Data();
}

class MenuReportsTest : public FiscalMenuFixture {
 protected:
  void SetUp() override {
    FiscalMenuFixture::SetUp();
    ASSERT_EQ(Sim<int(int, const char*)>("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms")(
                  2, "Rel Gerencial"),
              1);
    ASSERT_EQ(Sim<int(const char*, const char*)>("Bematech_FI_ProgramaFormaPagamentoMFD")(
                  "Rel Gerencial", "1"),
              1);
    Var<std::string>("IdTotRelatorio") = "02";
    ClearSimJournal();
  }
  // The texts of the report's lines as the printer received them (UTF-8).
  std::vector<std::string> PrintedLines() {
    std::vector<std::string> lines;
    for (const std::string& call : SimJournal()) {
      if (call.starts_with(kUse)) lines.push_back(Cp1252ToUtf8(call.substr(sizeof kUse - 1)));
    }
    return lines;
  }
  void TipoRece(const Variant& packet) {
    Op<TipoReceOp>("imprimeTipoRece")("a", "b", kScheme, packet);
  }
  void DadosPaf(const Variant& software, const Variant& printers) {
    std::vector<Variant> params = {"x", "y", kScheme, software, printers};
    Variant untouched;
    Op<DadosPafOp>("ImprimeDadosPaf")(params, untouched);
  }
  Variant SoftwarePacket(const std::string& laudo_cipher) {
    Dataset data("cdsDadosPaf");
    const char* fields[] = {"NRLAUDO",       "NRCNPJQUARVEL", "DSRAZAOSOCIQRV",  "DSENDEQUARVEL",
                            "DSTELEFONEQRV", "NMRESPONSIST",  "DSNOMECOMERCIAL", "DSVERSAOPLOTEVA",
                            "NMEXEPLOTEVA",  "DSCODPLOTEVA"};
    const char* values[] = {"LAUDO-42",          "12.345.678/0001-90",
                            "Zel Sistemas Ltda", "Rua A, 1",
                            "1130000000",        "Técnico",
                            "Zel PDV",           "1.0",
                            "zelpdv.exe",        "ABCDEF"};
    for (const char* field : fields) data.AddField(field, FieldType::kText, 200);
    data.CreateDataSet();
    data.Append();
    for (int i = 0; i < 10; ++i)
      data.SetValue(fields[i], i == 0 ? laudo_cipher : Cripto(Utf8ToCp1252(values[i]), kCipherKey));
    data.Post();
    return data.Data();
  }
  Variant PrinterPacket(const std::vector<std::string>& serials) {
    Dataset data("cdsBuscaNrSerieEcf");
    data.AddField("NRSERIEIMPRPERS", FieldType::kText, 20);
    data.CreateDataSet();
    for (const std::string& serial : serials) {
      data.Append();
      data.SetValue("NRSERIEIMPRPERS", serial);
      data.Post();
    }
    return data.Data();
  }
};

const char kTitle[] = "       Relatório de totalizadores fiscais       \n";
const char kIssued[] = "Data Emissão: 07/12/2026 10:05:07\n";
const std::string kColumns = "Código   Nome            Tipo" + Blanks(3) + Blanks(8) + "   Valor\n";
const char kSummaryTitle[] = "     Somatório dos totalizadores no período     \n\n";

TEST_F(MenuReportsTest, TipoReceGroupsByDayAndSumsByCodeInCodeOrder) {
  const std::string receipt_coo = std::to_string(SimFigure("coo") + 1);

  TipoRece(PaymentPacket(
      {{1, "3", "Cartao", 20.0}, {1, "1", "Dinheiro", 10.5}, {2, "1", "DINHEIRO X", 5.25}}));

  const std::string ecf = " ECF" + Blanks(6) + "  ";
  EXPECT_THAT(PrintedLines(), ElementsAreArray(std::vector<std::string>{
                                  kTitle,
                                  kIssued,
                                  "\n",
                                  "Data: 01/12/2026\n",
                                  kColumns,
                                  "3      Cartao" + Blanks(11) + ecf + Blanks(4) + "R$ 20,00\n",
                                  "1      Dinheiro" + Blanks(9) + ecf + Blanks(4) + "R$ 10,50\n",
                                  "\n\n",
                                  "Data: 02/12/2026\n",
                                  kColumns,
                                  "1      DINHEIRO X" + Blanks(7) + ecf + Blanks(5) + "R$ 5,25\n",
                                  "\n",
                                  kSummaryTitle,
                                  "1      Dinheiro" + Blanks(15) + "  " + Blanks(8) + "R$ 15,75\n",
                                  "3      Cartao" + Blanks(17) + "  " + Blanks(8) + "R$ 20,00\n",
                                  "\n",
                              }));
  const std::vector<std::string> journal = SimJournal();
  EXPECT_EQ(journal.front(), "Bematech_FI_RecebimentoNaoFiscal|02|00000000000001|Rel Gerencial");
  EXPECT_THAT(journal, Contains("Bematech_FI_FechaRelatorioGerencial"));
  EXPECT_EQ(Var<std::string>("stRetorno"), std::string(6 - receipt_coo.size(), '0') + receipt_coo);
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(MenuReportsTest, EmptyTipoRecePrintsTheFrameAndTitlesOnly) {
  TipoRece(PaymentPacket({}));

  EXPECT_THAT(PrintedLines(), ElementsAre(kTitle, kIssued, "\n", "\n", kSummaryTitle, "\n"));
  EXPECT_THAT(SimJournal(), Contains("Bematech_FI_FechaRelatorioGerencial"));
}

// Bad rows are reported before a receipt is issued, so the printer is never
// left with a report open halfway.
TEST_F(MenuReportsTest, TipoReceWithBadCodesShowsTheErrorAndPrintsNothing) {
  for (const char* code : {"21", "0", "x1"}) {
    SCOPED_TRACE(code);
    host_.dialogs.clear();

    TipoRece(PaymentPacket({{1, "1", "Dinheiro", 1.0}, {1, code, "Outro", 2.0}}));

    EXPECT_THAT(SimJournal(), IsEmpty());
    ASSERT_EQ(host_.dialogs.size(), 1u);
    EXPECT_EQ(Dialogs()[0],
              std::string("Código de tipo de recebimento inválido (de 1 a 20): \"") + code + "\".");
    EXPECT_EQ(host_.dialogs[0].kind, 3);
    EXPECT_EQ(host_.dialogs[0].colour_scheme, kScheme);
  }
}

TEST_F(MenuReportsTest, DadosPafPrintsTheDecipheredIdentificationAndThePrinters) {
  DadosPaf(SoftwarePacket(Cripto("LAUDO-42", kCipherKey)),
           PrinterPacket({"BE0912SIM000001", "BE0912SIM000002"}));

  EXPECT_THAT(
      PrintedLines(),
      ElementsAre("          Identificação do Paf-Ecf\n\n",
                  "Data Emissão: 07/12/2026 10:05:07\n\n\n", "Nr do Laudo: LAUDO-42\n\n",
                  "Identificação da Empresa: \n", "CNPJ         : 12.345.678/0001-90\n",
                  "Razão Social : Zel Sistemas Ltda\n", "Endereço     : Rua A, 1\n",
                  "Telefone     : 1130000000\n", "Resp.Técnico: Técnico\n\n",
                  "Identificação PAF-ECF: \n", "Nome Comercial: Zel PDV\n",
                  "Versão        : 1.0\n\n", "Principal Exe : zelpdv.exe-MD5(ABCDEF)\n", "\n", "\n",
                  "Relação de Ecf's\n", "\n", "BE0912SIM000001\n", "BE0912SIM000002\n", "\n"));
  EXPECT_THAT(SimJournal(), Contains("Bematech_FI_FechaRelatorioGerencial"));
}

TEST_F(MenuReportsTest, DadosPafWithoutPrintersLeavesTheHeadingOut) {
  DadosPaf(SoftwarePacket(Cripto("L", kCipherKey)), PrinterPacket({}));

  EXPECT_THAT(PrintedLines(), Not(Contains("Relação de Ecf's\n")));
  EXPECT_EQ(PrintedLines().back(), "\n");
  EXPECT_EQ(PrintedLines()[PrintedLines().size() - 2], "\n");
}

TEST_F(MenuReportsTest, DadosPafThatDoesNotDecipherShowsTheErrorAndPrintsNothing) {
  DadosPaf(SoftwarePacket("NOT A CIPHER"), PrinterPacket({"X"}));

  EXPECT_THAT(SimJournal(), IsEmpty());
  ASSERT_EQ(host_.dialogs.size(), 1u);
  EXPECT_EQ(host_.dialogs[0].kind, 3);
}

}  // namespace
}  // namespace zel
