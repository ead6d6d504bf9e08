// The closing message: its six layouts, their segments, the balances and
// the family lines, composed in-process from datasets built here.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/data_module.h"
#include "coupon/closing.h"
#include "host/codepage.h"
#include "host/string_functions.h"
#include "zel/dataset.h"
#include "zel/error.h"
#include "zel/format_settings.h"
#include "zel/host_services.h"

namespace zel {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

struct Family {
  const char* code;
  const char* name;
  double value;
};

Dataset Families(const char* table, const std::vector<Family>& rows) {
  Dataset data(table);
  data.AddField("CDFAMILISALD", FieldType::kText, 4);
  data.AddField("NMFAMILISALD", FieldType::kText, 30);
  data.AddField("VRSALDCONFAM", FieldType::kFloat);
  data.CreateDataSet();
  for (const Family& row : rows) {
    data.Append();
    data.SetValue("CDFAMILISALD", row.code);
    data.SetValue("NMFAMILISALD", row.name);
    data.SetValue("VRSALDCONFAM", row.value);
    data.Post();
  }
  return data;
}

struct FamilyMovement {
  const char* code;
  const char* kind;  // "D" or "C"
  double amount;
};

Dataset Movements(const std::vector<FamilyMovement>& rows) {
  Dataset data("cdsEmprestimo");
  data.AddField("CDFAMILISALD", FieldType::kText, 4);
  data.AddField("IDTPMOVEXT", FieldType::kText, 1);
  data.AddField("VRMOVEXTCONS", FieldType::kFloat);
  data.CreateDataSet();
  for (const FamilyMovement& row : rows) {
    data.Append();
    data.SetValue("CDFAMILISALD", row.code);
    data.SetValue("IDTPMOVEXT", row.kind);
    data.SetValue("VRMOVEXTCONS", row.amount);
    data.Post();
  }
  return data;
}

class ClosingMessageTest : public ::testing::Test {
 protected:
  ClosingMessageTest() {
    in_.operator_code = "07";
    in_.operator_name = "ANA";
  }

  std::string Compose(const std::vector<std::string>* tef_lines = nullptr) {
    return ComposeClosingMessage(in_, {&balances_, &consumption_, &movements_}, tef_lines, facts_);
  }

  // The figures of the consumer-credit layouts: the customer's names and
  // an account of families.
  void ConsumerCredit() {
    in_.header = "H";
    in_.client_code = "C1";
    in_.client_name = "JOAO";
    in_.consumer_code = "K9";
    in_.consumer_name = "MARIA";
    in_.balance_source = "1";
  }

  static std::string FamilyLine(const char* name, const char* value) {
    return TamFixo(name, 25) + TamFixoR(value, 22) + "\n";
  }

  ClosingMessageInputs in_;
  PaymentFacts facts_;
  Dataset balances_{"cdsSaldCred"};
  Dataset consumption_{"cdsFamiliaSaldo"};
  Dataset movements_{"cdsEmprestimo"};
  const std::string footer_ = MsgPadrao("Quarvel");
};

// --- The sale layouts (LE, LC, LB) ----------------------------------------------

TEST_F(ClosingMessageTest, PlainLayoutPutsEverySegmentInOrder) {
  in_.header = "OBRIGADO";
  in_.client_code = "C1";
  in_.client_name = "JOAO";
  in_.consumer_code = "K9";
  in_.consumer_name = "MARIA";
  in_.balance_mode = "1";
  in_.balance_source = "2";
  in_.balance_before = 100;
  in_.subsidy = 2.5;
  in_.table_number = "12";
  in_.free_line = "VOLTE SEMPRE";
  in_.centred_line = "NOT IN THIS LAYOUT";
  facts_.credit_sum = 30;

  EXPECT_EQ(Compose(),
            "OBRIGADO\r\n\n"
            "\nCliente: C1 - JOAO\n"
            "Consumidor : K9 - MARIA\n"
            "Saldo Final : 72,50\n" +
                Utf8ToCp1252("Preço subsidiado: 2,50\n") +
                "Mesa  : 12           - \n"
                "Operador: 07 - ANA\r\n"
                "VOLTE SEMPRE\r\n" +
                footer_);
}

TEST_F(ClosingMessageTest, CentredLayoutCentresTheLineInFortySevenColumns) {
  in_.centred_switch = "1";
  in_.centred_line = "PROMO";

  EXPECT_EQ(Compose(), "\nOperador: 07 - ANA\r\n" + Centraliza("PROMO", 47) + "\r\n" + footer_);
}

TEST_F(ClosingMessageTest, AgreementLayoutNamesTheAgreementEvenWithoutACode) {
  facts_.agreement = true;
  in_.centred_switch = "1";  // the agreement wins over the centred layout
  in_.centred_line = "PROMO";
  in_.client_name = "EMPRESA COM UM NOME BEM MAIS LONGO QUE O ESPACO";

  const std::string message = Compose();

  EXPECT_THAT(message, StartsWith(Utf8ToCp1252("Convênio ..: ") +
                                  std::string(" - EMPRESA COM UM NOME BEM MAIS LONGO QU") + "\n"));
  EXPECT_THAT(message, Not(HasSubstr("PROMO")));
}

TEST_F(ClosingMessageTest, TableCheckLineOfFittedNumbersIsPrintedWhole) {
  in_.check_coo = "   123";
  in_.check_cer = "    12";

  const std::string message = Compose();

  const std::string line = "Conferencia de Mesa - CER     12 - COO    123";
  EXPECT_EQ(line.size(), 45u);
  EXPECT_THAT(message, StartsWith(line + "\n"));
}

TEST_F(ClosingMessageTest, AnOrderPadNumberOfMoreThanFourCharacters) {
  in_.table_number = "123456";
  in_.password = "9";

  EXPECT_THAT(Compose(), StartsWith("Comanda : 123456   - SENHA : 9\n"));
}

TEST_F(ClosingMessageTest, ABlankTableNumberLeavesThePasswordAlone) {
  in_.table_number = "   ";
  in_.password = "9";

  EXPECT_THAT(Compose(), StartsWith("SENHA : 9\nOperador"));
}

TEST_F(ClosingMessageTest, WithoutAConsumerThereIsNoConsumerNorBalance) {
  in_.balance_mode = "1";
  in_.balance_source = "2";
  in_.balance_before = 10;

  for (bool agreement : {false, true}) {
    facts_.agreement = agreement;
    const std::string message = Compose();
    EXPECT_THAT(message, Not(HasSubstr("Consumidor")));
    EXPECT_THAT(message, Not(HasSubstr("Saldo")));
  }
}

struct BalanceCase {
  const char* mode;
  const char* source;
  bool with_families;
  const char* shown;  // nullptr: no balance line
};

class BalanceTest : public ClosingMessageTest, public ::testing::WithParamInterface<BalanceCase> {};

TEST_P(BalanceTest, FollowsTheModeAndTheSource) {
  const BalanceCase& c = GetParam();
  in_.consumer_code = "K9";
  in_.balance_mode = c.mode;
  in_.balance_source = c.source;
  in_.balance_before = 100;
  in_.subsidy = 1;
  facts_.credit_sum = 30;
  if (c.with_families) balances_ = Families("cdsSaldCred", {{"1", "A", 40}, {"2", "B", 15}});

  const std::string message = Compose();

  if (c.shown == nullptr) {
    EXPECT_THAT(message, Not(HasSubstr("Saldo Final")));
  } else {
    EXPECT_THAT(message, HasSubstr(std::string("Saldo Final : ") + c.shown + "\n"));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, BalanceTest,
    ::testing::Values(BalanceCase{"0", "1", true, "25,00"}, BalanceCase{"0", "1", false, "0,00"},
                      BalanceCase{"0", "2", false, "71,00"}, BalanceCase{"1", "2", false, "71,00"},
                      BalanceCase{"3", "2", false, "0,00"}, BalanceCase{"2", "2", false, nullptr},
                      BalanceCase{"1", "3", false, nullptr}));

TEST_F(ClosingMessageTest, ANegativeSubsidyIsPrintedOnlyInTheSaleLayouts) {
  in_.subsidy = -2;
  EXPECT_THAT(Compose(), HasSubstr(Utf8ToCp1252("Preço subsidiado: -2,00\n")));

  ConsumerCredit();
  in_.credit_layout = "2";
  EXPECT_THAT(Compose(), Not(HasSubstr(Utf8ToCp1252("Preço"))));
  in_.credit_layout.clear();
  in_.balance_mode = "1";
  EXPECT_THAT(Compose(), Not(HasSubstr(Utf8ToCp1252("Preço"))));
}

// --- Consumer credit (L1) and family balances (L2) ---------------------------------

TEST_F(ClosingMessageTest, ConsumerCreditLayoutListsFamiliesAndTheirTotal) {
  ConsumerCredit();
  in_.credit_layout = "2";
  balances_ = Families("cdsSaldCred", {{"1", "LANCHE", 50}, {"2", "ALMOCO", 0}});
  consumption_ = Families("cdsFamiliaSaldo", {{"1", "LANCHE", 10}});
  facts_.credit_sum = 5;

  EXPECT_EQ(Compose(), "H\r\n\n" + Centraliza("C1 - JOAO", 48) + "\n" +
                           Centraliza("K9 - MARIA", 48) + "\n" + FamilyLine("LANCHE", "40,00") +
                           FamilyLine("Saldo Total", "45,00") + std::string(48, ' ') + "\n" +
                           footer_ + "\r\nOperador: 07 - ANA\r\n");
}

TEST_F(ClosingMessageTest, ThreeFamiliesAreNotListedButStillAddUp) {
  ConsumerCredit();
  in_.credit_layout = "2";
  balances_ = Families("cdsSaldCred", {{"1", "A", 10}, {"2", "B", 20}, {"3", "C", 30}});
  facts_.credit_sum = 6;

  const std::string message = Compose();

  EXPECT_THAT(message, HasSubstr("\n" + FamilyLine("Saldo Total", "54,00")));
  EXPECT_THAT(message, Not(HasSubstr(TamFixo("A", 25))));
}

struct FamilyCase {
  bool consumed;         // the family is in this sale's consumption
  const char* movement;  // its movement kind, "" for none
  const char* value;
};

class FamilyValueTest : public ClosingMessageTest,
                        public ::testing::WithParamInterface<FamilyCase> {};

TEST_P(FamilyValueTest, TakesTheSaleAndTheMovementsIntoAccount) {
  const FamilyCase& c = GetParam();
  ConsumerCredit();
  in_.balance_mode = "1";
  balances_ = Families("cdsSaldCred", {{"ab", "LANCHE", 100}});
  // Family codes are looked up ignoring case.
  consumption_ = Families("cdsFamiliaSaldo", {});
  if (c.consumed) consumption_ = Families("cdsFamiliaSaldo", {{"AB", "LANCHE", 10}});
  movements_ = Movements({});
  if (*c.movement != '\0') movements_ = Movements({{"Ab", c.movement, 5}});

  EXPECT_THAT(Compose(), HasSubstr("\n" + FamilyLine("LANCHE", c.value) + footer_));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FamilyValueTest,
    ::testing::Values(FamilyCase{true, "D", "85,00"}, FamilyCase{true, "C", "95,00"},
                      FamilyCase{true, "", "90,00"}, FamilyCase{false, "D", "95,00"},
                      FamilyCase{false, "C", "100,00"}, FamilyCase{false, "", "100,00"}));

TEST_F(ClosingMessageTest, FamilyBalancesWithoutTheFamilyMovementsCannotBeComposed) {
  ConsumerCredit();
  in_.balance_mode = "1";
  balances_ = Families("cdsSaldCred", {{"1", "LANCHE", 100}});

  EXPECT_THROW(Compose(), Error);

  // Nothing to list, nothing to look up.
  balances_ = Families("cdsSaldCred", {{"1", "LANCHE", 0}});
  EXPECT_NO_THROW(Compose());
}

TEST_F(ClosingMessageTest, ConsumerCreditDoesWithoutTheFamilyMovements) {
  ConsumerCredit();
  in_.credit_layout = "2";
  balances_ = Families("cdsSaldCred", {{"1", "LANCHE", 100}});

  EXPECT_THAT(Compose(), HasSubstr(FamilyLine("LANCHE", "100,00")));
}

// --- Card-slip layout (LT) -------------------------------------------------------

class TefLayoutTest : public ClosingMessageTest {
 protected:
  TefLayoutTest() {
    in_.tef_indicator = "T";
    in_.tef_active = true;
    in_.print_tef_lines = "S";
  }
};

TEST_F(TefLayoutTest, OpensWithThreeSlipLinesAndEndsLinesWithLineFeeds) {
  in_.centred_line = "PROMO";
  in_.free_line = "LIVRE";
  const std::vector<std::string> slip = {"UM\nDOIS\n", "TRES\nQUATRO\n"};

  EXPECT_EQ(Compose(&slip), TamFixo("UM", 40) + "\n" + TamFixo("DOIS", 40) + "\n" +
                                TamFixo("TRES", 40) + "\n" + "\nOperador: 07 - ANA\n" +
                                Centraliza("PROMO", 47) + "\nLIVRE\n" + footer_);
}

TEST_F(TefLayoutTest, APieceWithoutALineFeedIsNoLine) {
  const std::vector<std::string> slip = {"UM\nDOIS\nTRES SEM FIM"};

  EXPECT_THROW(Compose(&slip), Error);
}

TEST_F(TefLayoutTest, WithoutASlipAnotherLayoutIsUsed) {
  EXPECT_EQ(Compose(nullptr), "\nOperador: 07 - ANA\r\n" + footer_);
}

TEST_F(ClosingMessageTest, ComposingAgainGivesTheSameText) {
  ConsumerCredit();
  in_.balance_mode = "1";
  balances_ = Families("cdsSaldCred", {{"1", "LANCHE", 100}, {"2", "JANTAR", 40}});
  consumption_ = Families("cdsFamiliaSaldo", {{"2", "JANTAR", 15}});
  movements_ = Movements({{"1", "D", 5}});

  const std::string first = Compose();

  EXPECT_EQ(Compose(), first);
  EXPECT_THAT(first, HasSubstr(FamilyLine("LANCHE", "95,00") + FamilyLine("JANTAR", "25,00")));
}

TEST_F(ClosingMessageTest, NumbersUseTheSystemDecimalSeparator) {
  FormatSettings settings;
  settings.decimal_separator = '.';
  settings.thousand_separator = ',';
  ASSERT_TRUE(ZelDefineFormatos(&settings));
  in_.subsidy = 1234.5;

  const std::string message = Compose();
  ZelDefineFormatos(nullptr);

  EXPECT_THAT(message, HasSubstr(Utf8ToCp1252("Preço subsidiado: 1234.50\n")));
}

}  // namespace
}  // namespace zel
