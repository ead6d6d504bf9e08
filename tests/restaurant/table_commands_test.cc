// The table commands through the loaded driver against the simulated
// printer: the frames the printer received, what it did with its tables
// (the paper tape, the memory that survives a power cycle) and how a refusal
// reaches the operator.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "host/codepage.h"
#include "restaurant/table_fixture.h"
#include "zel/error.h"
#include "zel/format_settings.h"

namespace zel {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

using ItemFn = bool(const std::string&, const std::string&, const std::string&, const std::string&,
                    const std::string&, const std::string&, double, double, double);
using CheckFn = bool(const std::string&, const std::string&, const std::string&, double, double);
using CloseCheckFn = bool(const std::string&, const std::string&, double);
using TwoTextsFn = bool(const std::string&, const std::string&, const std::string&);
using TransferFn = bool(const std::string&, const std::string&, const std::string&,
                        const std::string&, const std::string&, const std::string&,
                        const std::string&, double, double, double);
using OneTextFn = bool(const std::string&, const std::string&);
using SchemeFn = bool(const std::string&);

constexpr char kScheme[] = "021";
// ImprimeCardapio is exported under its unit-qualified name only.
constexpr char kImprimeCardapio[] =
    "_ZN8Zel0010115ImprimeCardapioERKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE";

class TableCommandsTest : public TableFixture {
 protected:
  bool Register(const std::string& table, const std::string& code, double price, double quantity,
                const std::string& rate = "01") {
    return Op<ItemFn>("Registra_Item_Imp")(kScheme, table, rate, code, "REFRIGERANTE LATA 350",
                                           "UN", price, quantity, 0);
  }
  bool Cancel(const std::string& table, const std::string& code, double quantity) {
    return Op<ItemFn>("Cancela_Item_Imp")(kScheme, table, "01", code, "REFRIGERANTE", "UN", 3.5,
                                          quantity, 0);
  }
  bool Check(const std::string& table, double percent, double amount) {
    return Op<CheckFn>("Cupom_Conferencia")(kScheme, table, "2", percent, amount);
  }
};

// --- The fields as the printer receives them --------------------------------------

struct FrameCase {
  const char* what;
  std::function<bool()> call;
  std::string frame;
};

TEST_F(TableCommandsTest, EachCommandSendsItsFieldsInOrder) {
  const std::vector<FrameCase> cases = {
      {"Registra_Item_Imp: empty table, zero-filled code, quantity with three decimals",
       [this] {
         return Op<ItemFn>("Registra_Item_Imp")(kScheme, "", "01", "123", "REFRIGERANTE LATA 350ML",
                                                "UN", 3.5, 1.5, 0.25);
       },
       "|80|48|9999|00000350|01|00000025|001500|00000000000123|REFRIGERANTE LATA|UN|"},
      {"Registra_Item_Imp: the table as given",
       [this] { return Register("12", "00000000000123", 3.5, 1); },
       "|80|48|12|00000350|01|00000000|001000|00000000000123|REFRIGERANTE LATA|UN|"},
      {"Cancela_Item_Imp: table and code fitted to their columns",
       [this] { return Cancel("12", "123", 1); },
       "|80|49|  12|00000350|01|00000000|001000|           123|REFRIGERANTE|UN|"},
      {"Cancela_Item_Imp: a blank table is 9999", [this] { return Cancel("  ", "123", 1); },
       "|80|49|9999|00000350|01|00000000|001000|           123|REFRIGERANTE|UN|"},
      {"Cupom_Conferencia: service percent", [this] { return Check("12", 10, 5); },
       "|80|50|12|2|1000|"},
      {"Cupom_Conferencia: service amount", [this] { return Check("12", 0, 5.5); },
       "|80|50|12|2|00000000000550|"},
      {"Cupom_Conferencia: no service, people not sent", [this] { return Check("12", 0, 0); },
       "|80|50|12|0|0000|00000000000000|"},
      {"Fecha_Conferencia_Imp: nothing to close ignores the table",
       [this] { return Op<CloseCheckFn>("Fecha_Conferencia_Imp")(kScheme, "12", 0); },
       "|80|58|0|00000000000000|"},
      {"Fecha_Conferencia_Imp: amount in 14 digits",
       [this] { return Op<CloseCheckFn>("Fecha_Conferencia_Imp")(kScheme, "12", 25.9); },
       "|80|58|12|00000000002590|"},
      {"Juncao_Mesa", [this] { return Op<TwoTextsFn>("Juncao_Mesa")(kScheme, "1", "2"); },
       "|80|51|1|2|"},
      {"AbreCupomRes", [this] { return Op<TwoTextsFn>("AbreCupomRes")(kScheme, "12", "CPF"); },
       "|80|52|12|CPF|"},
      {"Transfere_Item_Imp: 4, 8 and 6 digits, code fitted to 14",
       [this] {
         return Op<TransferFn>("Transfere_Item_Imp")(
             kScheme, "1", "2", "77", "AGUA MINERAL SEM GAS", "01", "UN", 0, 2.25, 2);
       },
       "|80|53|1|0000|2|00000225|002000|            77|AGUA MINERAL SEM |01|UN|"},
      {"Rel_MesaAber", [this] { return Op<OneTextFn>("Rel_MesaAber")(kScheme, "X"); }, "|80|54|X|"},
      {"ImprimeCardapio: no parameter",
       [this] { return Symbol<SchemeFn>(kImprimeCardapio)(kScheme); }, "|80|55|"},
  };
  for (const FrameCase& c : cases) {
    ClearSimJournal();
    c.call();
    EXPECT_THAT(FramesSent(), ElementsAre(c.frame)) << c.what;
  }
}

// A value beyond its field would lose a digit instead of the separator, and
// a bar inside a text would shift the fields after it: either would reach
// the printer as another amount or table, so it is refused before anything
// is sent, whatever the decimal separator.
TEST_F(TableCommandsTest, AnAmountTooLargeForItsFieldIsRefusedBeforeSending) {
  struct Case {
    const char* what;
    std::function<bool()> call;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"price", [this] { return Register("12", "1", 1000000, 1); },
       "Preco aceita valores de 0 a 999999?99"},
      {"price rounding up past the field", [this] { return Register("12", "1", 999999.995, 1); },
       "Preco aceita valores de 0 a 999999?99"},
      {"quantity", [this] { return Register("12", "1", 1, 1000); },
       "Quantidade aceita valores de 0 a 999?999"},
      {"negative quantity", [this] { return Cancel("12", "1", -1); },
       "Quantidade aceita valores de 0 a 999?999"},
      {"service percent", [this] { return Check("12", 100, 0); },
       "PercentualServico aceita valores de 0 a 99?99"},
      {"a bar that would shift the fields",
       [this] {
         return Op<ItemFn>("Registra_Item_Imp")(kScheme, "12", "01", "1", "A|00000001", "UN", 1, 1,
                                                0);
       },
       "contém um separador de campos"},
  };
  for (const char separator : {',', '.'}) {
    FormatSettings settings;
    settings.decimal_separator = separator;
    settings.thousand_separator = separator == ',' ? '.' : ',';
    ASSERT_TRUE(Op<bool(const FormatSettings*)>("ZelDefineFormatos")(&settings));
    for (const Case& c : cases) {
      ClearSimJournal();
      std::string expected = c.message;
      if (expected.find('?') != std::string::npos) expected[expected.find('?')] = separator;
      try {
        c.call();
        ADD_FAILURE() << c.what << ": not refused";
      } catch (const Error& error) {
        EXPECT_THAT(error.what(), HasSubstr(Utf8ToCp1252(expected))) << c.what;
      }
      EXPECT_THAT(SimJournal(), IsEmpty()) << c.what << ": something reached the printer";
    }
  }
  Op<bool(const FormatSettings*)>("ZelDefineFormatos")(nullptr);
  // The largest value itself goes through.
  ClearSimJournal();
  EXPECT_TRUE(Register("12", "1", 999999.99, 999.999));
  EXPECT_THAT(FramesSent(),
              ElementsAre("|80|48|12|99999999|01|00000000|999999|00000000000001|REFRIGERANTE "
                          "LATA|UN|"));
}

// --- The printer's tables ------------------------------------------------------------

TEST_F(TableCommandsTest, ThePrinterKeepsTheTableAndPrintsItsCheck) {
  ASSERT_TRUE(Register("12", "123", 3.5, 2));
  ASSERT_TRUE(Register("12", "456", 25, 1));
  ASSERT_TRUE(Cancel("12", "123", 1));

  ASSERT_TRUE(Check("12", 10, 0));

  const std::vector<std::string> tape = Tape();
  EXPECT_THAT(tape, Contains(HasSubstr("CONFERÊNCIA DE MESA")));
  EXPECT_THAT(tape, Contains(HasSubstr("MESA: 12")));
  EXPECT_THAT(tape, Contains(HasSubstr("1,000UN x 3,50")));
  EXPECT_THAT(tape, Contains(::testing::AllOf(HasSubstr("SUBTOTAL R$"), HasSubstr("28,50"))));
  EXPECT_THAT(tape, Contains(::testing::AllOf(HasSubstr("TAXA DE SERVIÇO R$"), HasSubstr("2,85"))));
  EXPECT_THAT(tape, Contains(::testing::AllOf(HasSubstr("TOTAL R$"), HasSubstr("31,35"))));
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(TableCommandsTest, TablesSurviveAPowerCycle) {
  ASSERT_TRUE(Register("7", "123", 3.5, 2));
  Sim<void()>("EcfSim_Restart")();

  ASSERT_TRUE(Op<OneTextFn>("Rel_MesaAber")(kScheme, ""));
  EXPECT_THAT(Tape(), Contains(::testing::AllOf(HasSubstr("MESA 7 (1 itens)"), HasSubstr("7,00"))));
}

// Whatever the printer refuses comes back false, with the return
// analysis's message to the operator, and changes nothing.
TEST_F(TableCommandsTest, RefusalsReachTheOperator) {
  ASSERT_TRUE(Register("12", "123", 3.5, 1));
  struct Case {
    const char* what;
    std::function<bool()> call;
  };
  const std::vector<Case> cases = {
      {"an item not on the table", [this] { return Cancel("12", "999", 1); }},
      {"more than the table has", [this] { return Cancel("12", "123", 2); }},
      {"a table that does not exist", [this] { return Check("44", 0, 0); }},
      {"joining a table that does not exist",
       [this] { return Op<TwoTextsFn>("Juncao_Mesa")(kScheme, "44", "12"); }},
      {"a rate the printer lacks", [this] { return Register("12", "5", 1, 1, "09"); }},
      {"a blank table, which does not read", [this] { return Register("  ", "5", 1, 1); }},
  };
  for (const Case& c : cases) {
    host_.dialogs.clear();
    EXPECT_FALSE(c.call()) << c.what;
    EXPECT_EQ(host_.dialogs.size(), 1u) << c.what;
    if (!host_.dialogs.empty()) {
      EXPECT_EQ(host_.dialogs[0].colour_scheme, kScheme) << c.what;
    }
  }
  // Table 12 still holds its one item.
  ASSERT_TRUE(Cancel("12", "123", 1));
}

}  // namespace
}  // namespace zel
