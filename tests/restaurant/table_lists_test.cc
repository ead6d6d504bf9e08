// The lists of open tables and of transferred products, and the sales-record
// file prepared for a cancellation, through the loaded driver against the
// simulated printer and the test's host folder.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/codepage.h"
#include "platform/env.h"
#include "restaurant/table_fixture.h"

namespace zel {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

using MesasFn = bool(Dataset*, const std::string&, const std::string&, const std::string&,
                     const Variant&);
using TransfFn = void(const std::string&, const std::string&, const std::string&, const Variant&);
using CancFn = void(const std::string&);

constexpr char kScheme[] = "044";
constexpr char kCancRegistroVenda[] =
    "_ZN8Zel0010117CancRegistroVendaERKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE";
constexpr char kOpened[] = "07/12/2026 19:30";

std::string Spaces(int n) { return std::string(n, ' '); }

const std::string kTablesHeading =
    Utf8ToCp1252("Mesas Abertas:\nNrº da Mesa      Data/Hora de abertura\n");
const std::string kPadsHeading =
    Utf8ToCp1252("Comandas Abertas:\nNrº da Comanda   Data/Hora de abertura\n");
const std::string kHalvorsenixHeading =
    Utf8ToCp1252("Comandas Halvorsenix Abertas:\nNrº da Comanda   Data/Hora de abertura\n");
const std::string kListTop =
    Utf8ToCp1252("               Mesas Abertas\n\nData Emissão: 07/12/2026 10:05:07\n");

class TableListsTest : public TableFixture {
 protected:
  bool PrintOpen(const std::vector<std::vector<Variant>>& rows) {
    Dataset open = HostTable({{"DSCOMANDA", FieldType::kText, 20},
                              {"NRMESA", FieldType::kText, 4},
                              {"DTHRABERMESA", FieldType::kText, 20}},
                             rows);
    return Op<MesasFn>("ImprimeMesasAbertas")(nullptr, "x", "x", kScheme, open.Data());
  }
  std::string SalesFile() { return HostFolder() + "cdsVenda.cds"; }
  void WriteSales(const std::vector<std::vector<Variant>>& rows) {
    HostTable(SalesFields(), rows).SaveToFile(SalesFile());
  }
  static std::vector<FieldDef> SalesFields() {
    return {{"CDPRODUTO", FieldType::kText, 10},
            {"IDPRODIMPFIS", FieldType::kText, 1},
            {"VRTXSERVICO", FieldType::kFloat, 0},
            {"VRDESCOMANDA", FieldType::kFloat, 0},
            {"VRDESCCOMVEN", FieldType::kFloat, 0}};
  }
  void Cancel() { Symbol<CancFn>(kCancRegistroVenda)(kScheme); }
  std::string FileBytes() { return Env::Default()->ReadFile(SalesFile()); }
};

// --- Open tables and order pads --------------------------------------------------------

TEST_F(TableListsTest, OpenTablesAreGroupedByKindInTheOrderGiven) {
  struct Case {
    const char* what;
    std::vector<std::vector<Variant>> rows;
    std::string body;
  };
  const std::vector<Case> cases = {
      {"three kinds, three headings",
       {{"RES0001", "0001", kOpened},
        {"PKR0002", "0002", kOpened},
        {"CMD0005", "", kOpened},
        {"DLV0009", "", kOpened}},
       kTablesHeading + "0001" + Spaces(13) + kOpened + "\n0002" + Spaces(13) + kOpened + "\n\n\n" +
           kPadsHeading + "CMD0005" + Spaces(7) + kOpened + "\n\n\n" + kHalvorsenixHeading +
           "DLV0009" + Spaces(7) + kOpened + "\n"},
      {"tables, a pad, tables again: the tables heading twice",
       {{"RES0001", "0001", kOpened}, {"CMD0005", "", kOpened}, {"RES0003", "0003", kOpened}},
       kTablesHeading + "0001" + Spaces(13) + kOpened + "\n\n\n" + kPadsHeading + "CMD0005" +
           Spaces(7) + kOpened + "\n\n\n" + kTablesHeading + "0003" + Spaces(13) + kOpened + "\n"},
      {"no rows", {}, ""},
  };
  for (const Case& c : cases) {
    ClearSimJournal();
    Var<std::string>("stRetorno") = "";
    const long long coo = SimFigure("coo");
    EXPECT_TRUE(PrintOpen(c.rows)) << c.what;
    EXPECT_EQ(TextSent(), kListTop + c.body + "\n") << c.what;
    EXPECT_EQ(std::stoll(Var<std::string>("stRetorno")), coo + 1) << c.what;
  }
}

TEST_F(TableListsTest, ImprimeMesasAbertasReturnsTheVerdictOfTheClosing) {
  Sim<void(const char*, int, int)>("EcfSim_FailEntry")("Bematech_FI_FechaRelatorioGerencial", 0, 1);
  EXPECT_FALSE(PrintOpen({{"RES0001", "0001", kOpened}}));
}

// --- Transferred products ---------------------------------------------------------------

TEST_F(TableListsTest, TransferredProductsHaveOneHeadingPerTransfer) {
  Dataset moved = HostTable({{"NRMESA", FieldType::kText, 4},
                             {"NRMESADSCOMORIT", FieldType::kText, 10},
                             {"CDPRODUTO", FieldType::kText, 10},
                             {"NMPRODUTO", FieldType::kText, 50},
                             {"QTPRODCOMVEN", FieldType::kFloat, 0},
                             {"VRPRECCOMVEN", FieldType::kFloat, 0}},
                            {{"0002", "0001", "789", "COCA COLA LATA 350ML", 2.0, 3.5},
                             {"0002", "0001", "100", "PRATO", 1.0, 1234.5},
                             {"0003", "0001", "555", "AGUA", 1.0, 2.0}});
  Op<TransfFn>("imprimeProdutosTransf")("x", "x", kScheme, moved.Data());

  const std::string header = Utf8ToCp1252("Código  -  Nome Produto   -    Qtde. -  Vr Unit.\n");
  EXPECT_EQ(TextSent(), Utf8ToCp1252("Data Emissão: 07/12/2026 10:05:07\n\n\n") +
                            "Mes Origem: 0001 -> Mesa Destino: 0002\n" + header +
                            "789 COCA COLA LATA  2,00" + Spaces(13) + "    R$ 3,50\n" +
                            "100 PRATO" + Spaces(11) + "1,00" + Spaces(13) + " R$ 1.234,50\n" +
                            "\nMes Origem: 0001 -> Mesa Destino: 0003\n" + header + "555 AGUA" +
                            Spaces(12) + "1,00" + Spaces(13) + "    R$ 2,00\n\n");
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

// --- The sales-record file ---------------------------------------------------------------

TEST_F(TableListsTest, CancRegistroVendaKeepsOnlyCouponItemsWithoutFeesOrDiscounts) {
  WriteSales({{"1", "S", 1.5, 2.0, 3.0},
              {"2", "N", 1.0, 1.0, 1.0},
              {"3", "S", 0.5, 0.0, 1.0},
              {"4", "", 1.0, 1.0, 1.0}});
  Cancel();

  Dataset sales("cdsVenda");
  sales.LoadFromFile(SalesFile());
  std::vector<std::string> rows;
  for (sales.First(); !sales.Eof(); sales.Next()) {
    rows.push_back(sales.AsText("CDPRODUTO") + ":" + sales.AsText("IDPRODIMPFIS") + ":" +
                   sales.AsText("VRTXSERVICO") + ":" + sales.AsText("VRDESCOMANDA") + ":" +
                   sales.AsText("VRDESCCOMVEN"));
  }
  EXPECT_THAT(rows, ElementsAre("1:S:0:0:0", "3:S:0:0:0"));
  EXPECT_THAT(host_.dialogs, IsEmpty());
  EXPECT_THAT(SimJournal(), IsEmpty()) << "nothing is printed";
}

// The file is replaced whole or not at all: one that does not load, or a
// write that fails, leaves the old bytes and tells the operator why.
TEST_F(TableListsTest, CancRegistroVendaLeavesAFileItCannotRewriteAsItWas) {
  struct Case {
    const char* what;
    bool damaged;
    bool fail_write;
    const char* cause;
  };
  const std::vector<Case> cases = {
      {"a file that does not load", true, false, "cdsVenda.cds"},
      {"a write that fails", false, true, "cdsVenda"},
  };
  for (const Case& c : cases) {
    host_.dialogs.clear();
    WriteSales({{"1", "S", 1.5, 2.0, 3.0}, {"2", "N", 1.0, 1.0, 1.0}});
    if (c.damaged) Env::Default()->WriteFile(SalesFile(), "not a table");
    if (c.fail_write) env_.InjectFailure(EnvOperation::kWriteFile, 1, "cdsVenda");
    const std::string before = FileBytes();

    Cancel();

    EXPECT_EQ(FileBytes(), before) << c.what;
    ASSERT_EQ(host_.dialogs.size(), 1u) << c.what;
    EXPECT_THAT(host_.dialogs[0].text, HasSubstr(c.cause)) << c.what;
    EXPECT_EQ(host_.dialogs[0].colour_scheme, kScheme);
    EXPECT_EQ(host_.dialogs[0].kind, 3);
  }
}

TEST_F(TableListsTest, CancRegistroVendaWithoutAFileDoesNothing) {
  Cancel();
  EXPECT_FALSE(Env::Default()->FileExists(SalesFile()));
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

}  // namespace
}  // namespace zel
