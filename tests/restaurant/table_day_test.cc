// One restaurant day from end to end, the way a restaurant host runs it,
// through the loaded driver against the simulated printer: two tables get
// their items, a drink moves from one to the other, a third table joins the
// first, the first gets its check and is closed into a fiscal coupon paid
// in two forms, the open tables are listed and the day ends with a Z. The
// printer's sales must be exactly what was closed.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "restaurant/table_fixture.h"

namespace zel {
namespace {

using ::testing::AllOf;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

using ItemFn = bool(const std::string&, const std::string&, const std::string&, const std::string&,
                    const std::string&, const std::string&, double, double, double);
using CheckFn = bool(const std::string&, const std::string&, const std::string&, double, double);
using TwoTextsFn = bool(const std::string&, const std::string&, const std::string&);
using TransferFn = bool(const std::string&, const std::string&, const std::string&,
                        const std::string&, const std::string&, const std::string&,
                        const std::string&, double, double, double);
using OneTextFn = bool(const std::string&, const std::string&);
using MesasFn = bool(Dataset*, const std::string&, const std::string&, const std::string&,
                     const Variant&);
using CarregaTotalizadorFn = void(std::string&, std::string&, std::string&, std::string&,
                                  std::string&, const std::string&, std::int32_t&, Dataset*);
using CarregaRecebimentoFn = void(const std::string&, const std::string&, std::int32_t, Dataset&);
using FechaCupomFn = bool(std::span<const Variant>, const std::vector<std::string>*, Variant&);
using ReadingFn = bool(const std::string&, const std::string&, const std::string&);

constexpr char kScheme[] = "055";
constexpr char kSell[] = "Bematech_FI_VendeItemDepartamento";
constexpr char kPay[] = "Bematech_FI_EfetuaFormaPagamento";

// Table 0001 ends with one cola (3,50), the dish (25,90) and, from table
// 0003, the dessert (8,00): 37,40, paid 20,00 in cash and 17,40 by card.
constexpr long long kClosedCents = 350 + 2590 + 800;

class TableDayTest : public TableFixture {
 protected:
  bool Register(const std::string& table, const std::string& code, const std::string& name,
                double price, double quantity) {
    return Op<ItemFn>("Registra_Item_Imp")(kScheme, table, "01", code, name, "UN", price, quantity,
                                           0);
  }

  Variant ProgramPaymentForms() {
    std::string cv, consumer, purchase, cancellation, report;
    std::int32_t reserved = 0;
    Op<CarregaTotalizadorFn>("CarregaTotalizador")(cv, consumer, purchase, cancellation, report,
                                                   kScheme, reserved, nullptr);
    Dataset types = HostPaymentTypes(
        {{"001", "5", "1", "S", "Dinheiro"}, {"003", "5", "4", "S", "Cartao Credito"}});
    // Programs the forms and takes their names into the host's rows.
    Op<CarregaRecebimentoFn>("CarregaRecebimento")("", kScheme, 0, types);
    return types.Data();
  }
};

TEST_F(TableDayTest, TwoTablesATransferAJoinACheckOneCouponAndTheZ) {
  const Variant payment_types = ProgramPaymentForms();
  const long long grand_total_before = SimFigure("grand_total");
  ClearSimJournal();

  // The waiters' orders.
  ASSERT_TRUE(Register("0001", "789", "COCA COLA LATA", 3.5, 2));
  ASSERT_TRUE(Register("0001", "100", "PRATO DO DIA", 25.9, 1));
  ASSERT_TRUE(Register("0002", "200", "SUCO DE LARANJA", 6, 1));
  ASSERT_TRUE(Register("0003", "300", "PUDIM", 8, 1));
  // One cola goes to table 0002; table 0003 joins table 0001.
  ASSERT_TRUE(Op<TransferFn>("Transfere_Item_Imp")(kScheme, "0001", "0002", "789", "COCA COLA LATA",
                                                   "01", "UN", 0, 3.5, 1));
  ASSERT_TRUE(Op<TwoTextsFn>("Juncao_Mesa")(kScheme, "0003", "0001"));
  // The check of table 0001, with no service fee.
  ASSERT_TRUE(Op<CheckFn>("Cupom_Conferencia")(kScheme, "0001", "2", 0, 0));
  // Table 0001 becomes a coupon, paid in two forms.
  ASSERT_TRUE(Op<TwoTextsFn>("AbreCupomRes")(kScheme, "0001", ""));
  std::vector<Variant> closing = ClosingPositions(kScheme);
  closing[13] = Movements({{"E", 1, "001", 20.0}, {"E", 2, "003", 17.4}});
  closing[14] = payment_types;
  Variant result{VariantArray{Variant(VariantArray{}),
                              Variant(VariantArray{Variant(), Variant(), Variant()})}};
  ASSERT_TRUE(Op<FechaCupomFn>("FechaCupom")(closing, nullptr, result));
  // The host's list of what is still open, and the printer's own.
  Dataset open = HostTable({{"DSCOMANDA", FieldType::kText, 20},
                            {"NRMESA", FieldType::kText, 4},
                            {"DTHRABERMESA", FieldType::kText, 20}},
                           {{"RES0002", "0002", "07/12/2026 12:10"}});
  ASSERT_TRUE(Op<MesasFn>("ImprimeMesasAbertas")(nullptr, "", "", kScheme, open.Data()));
  ASSERT_TRUE(Op<OneTextFn>("Rel_MesaAber")(kScheme, ""));

  // The coupon holds exactly table 0001's items and payments.
  EXPECT_EQ(SimFigure("document"), 0) << "the coupon was closed";
  EXPECT_EQ(SimFigure("net_sales"), kClosedCents);
  EXPECT_EQ(SimFigure("grand_total") - grand_total_before, kClosedCents);
  // (the one cent is the receipt the open-table list is linked to)
  EXPECT_EQ(FormTotals(), (std::map<std::string, long long>{
                              {"Cartao Credito", 1740}, {"Dinheiro", 2000}, {"Rel Gerencial", 1}}));
  EXPECT_THAT(Calls(kSell), IsEmpty()) << "the printer sold the table's items itself";
  EXPECT_THAT(Calls(kPay), ElementsAre(std::string(kPay) + "|Dinheiro|20,00",
                                       std::string(kPay) + "|Cartao Credito|17,40"));

  const std::vector<std::string> tape = Tape();
  EXPECT_THAT(tape, Contains(HasSubstr("CONFERÊNCIA DE MESA")));
  EXPECT_THAT(tape, Contains(AllOf(HasSubstr("TOTAL R$"), EndsWith(" 37,40"))));
  EXPECT_THAT(tape, Contains(HasSubstr("PUDIM")));
  // Only table 0002 is left: the juice and the transferred cola.
  EXPECT_THAT(tape, Contains(AllOf(HasSubstr("MESA 2 (2 itens)"), EndsWith(" 9,50"))));
  EXPECT_THAT(tape, Not(Contains(HasSubstr("MESA 1 ("))));
  EXPECT_THAT(TextSent(), HasSubstr("0002             07/12/2026 12:10\n"));
  EXPECT_FALSE(Op<CheckFn>("Cupom_Conferencia")(kScheme, "0001", "2", 0, 0))
      << "table 0001 was closed into the coupon";

  // The day ends; the reduction books what the coupon sold.
  const long long reductions = SimFigure("reductions");
  ASSERT_TRUE(Op<ReadingFn>("Reducao_Z_Imp")("", kScheme, ""));
  EXPECT_EQ(SimFigure("reductions"), reductions + 1);
  EXPECT_EQ(SimFigure("grand_total") - grand_total_before, kClosedCents);
  EXPECT_THAT(Tape(), Contains(HasSubstr("REDUÇÃO Z")));
}

}  // namespace
}  // namespace zel
