// The closing's input: the positional array read by meaning, and the
// payments grouped and ordered as the printer will receive them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "coupon/closing.h"
#include "zel/dataset.h"
#include "zel/error.h"

namespace zel {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::vector<Variant> Positions() {
  std::vector<Variant> positions(kClosingPositions);
  positions[13] = Variant(Packet{});
  return positions;
}

TEST(ReadClosingParamsTest, FitsTheTableCheckNumbersToSixColumns) {
  std::vector<Variant> positions = Positions();
  positions[28] = "123";
  positions[29] = "0012";

  const ClosingParams params = ReadClosingParams(positions);

  EXPECT_EQ(params.message.check_coo, "   123");
  EXPECT_EQ(params.message.check_cer, "    12");
}

TEST(ReadClosingParamsTest, TheReportCounterIsReadOnlyWithACouponNumber) {
  std::vector<Variant> positions = Positions();
  positions[28] = "  ";
  positions[29] = "abc";

  EXPECT_EQ(ReadClosingParams(positions).message.check_cer, "abc");

  positions[28] = "123";
  try {
    ReadClosingParams(positions);
    ADD_FAILURE() << "a counter that is no integer was accepted";
  } catch (const Error& error) {
    EXPECT_THAT(error.what(), HasSubstr("\"abc\" is not an integer"));
  }
}

TEST(ReadClosingParamsTest, RefusesAnArrayOfFewerThanFortyThreeValues) {
  std::vector<Variant> positions = Positions();
  positions.pop_back();

  EXPECT_THROW(ReadClosingParams(positions), Error);
}

TEST(ReadClosingParamsTest, RefusesAmountsThePrinterWouldGetWrong) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const auto& [position, value] :
       std::vector<std::pair<int, double>>{{6, -1.0}, {8, -0.01}, {7, -5.0}, {6, nan}}) {
    std::vector<Variant> positions = Positions();
    positions[position] = value;
    EXPECT_THROW(ReadClosingParams(positions), Error) << "position " << position;
  }
  std::vector<Variant> positions = Positions();
  positions[6] = 1.0;
  positions[8] = 1.0;
  EXPECT_THROW(ReadClosingParams(positions), Error);
}

TEST(ReadClosingParamsTest, RefusesMovementsThatAreNoDatasetData) {
  std::vector<Variant> positions = Positions();
  positions[13] = "rows";

  EXPECT_THROW(ReadClosingParams(positions), Error);
}

// --- Grouping -----------------------------------------------------------------------

struct Row {
  const char* kind;
  int minute;
  const char* type;
  double amount;
  const char* card_bank = "";
  const char* origin = "";
};

class GroupPaymentsTest : public ::testing::Test {
 protected:
  GroupPaymentsTest() {
    for (Dataset* data : {&movements_, &grouped_}) {
      data->AddIndex("idxNRORDTROCO", "NRORDTROCO;DTHRINCMOV", "DTHRINCMOV");
      data->AddIndex("idxDTHRINCMOV", "DTHRINCMOV");
      data->SetIndexName("idxNRORDTROCO");
    }
    types_.AddField("CDTIPORECE", FieldType::kText, 4);
    types_.AddField("NMTIPORECE", FieldType::kText, 30);
    types_.AddField("IDTIPORECE", FieldType::kText, 1);
    types_.CreateDataSet();
    AddType("1", "Dinheiro", "1");
    AddType("2", "Cartao", "4");
    AddType("3", "Credito Consumidor Escola", "9");
  }

  void AddType(const char* code, const char* name, const char* kind) {
    types_.Append();
    types_.SetValue("CDTIPORECE", code);
    types_.SetValue("NMTIPORECE", name);
    types_.SetValue("IDTIPORECE", kind);
    types_.Post();
  }

  std::vector<PaymentToRegister> Group(const std::vector<Row>& rows, bool under_tef) {
    Dataset source("source");
    source.AddField("IDTIPOMOVIVE", FieldType::kText, 1);
    source.AddField("DTHRINCMOV", FieldType::kDateTime);
    source.AddField("NRORDTROCO", FieldType::kText, 2);
    source.AddField("CDTIPORECE", FieldType::kText, 4);
    source.AddField("VRMOVIVEND", FieldType::kFloat);
    source.AddField("CDBANCARTCR", FieldType::kText, 4);
    source.AddField("CDTIPORECEORIG", FieldType::kText, 4);
    source.CreateDataSet();
    for (const Row& row : rows) {
      source.Append();
      source.SetValue("IDTIPOMOVIVE", row.kind);
      source.SetValue("DTHRINCMOV", DateTime{45000 + row.minute / 1440.0});
      source.SetValue("CDTIPORECE", row.type);
      source.SetValue("VRMOVIVEND", row.amount);
      source.SetValue("CDBANCARTCR", row.card_bank);
      source.SetValue("CDTIPORECEORIG", row.origin);
      source.Post();
    }
    movements_.SetData(source.Data());
    grouped_.SetData(source.Data());
    return GroupPayments(movements_, grouped_, types_, under_tef);
  }

  static std::vector<std::string> Described(const std::vector<PaymentToRegister>& payments) {
    std::vector<std::string> texts;
    for (const PaymentToRegister& p : payments) {
      texts.push_back(p.form_name + " " + std::to_string(p.amount).substr(0, 5) + " " + p.kind);
    }
    return texts;
  }

  Dataset movements_{"cdsMovCaixa"};
  Dataset grouped_{"cdsMovCaixaTef"};
  Dataset types_{"cdsRecebAux"};
};

// The movements are walked newest first (their usual order), so a payment
// joins the group of a newer "E" payment of its type.
TEST_F(GroupPaymentsTest, UnderTefATRowJoinsTheNewerERowOfItsType) {
  const auto payments = Group({{"E", 2, "1", 10}, {"T", 1, "1", 5}, {"S", 3, "1", 99}}, true);

  EXPECT_THAT(Described(payments), ElementsAre("Dinheiro 15.00 1"));
  EXPECT_EQ(grouped_.RecordCount(), 2);  // the grouped payment and the other row
}

TEST_F(GroupPaymentsTest, UnderTefATRowWithoutANewerERowStaysATRow) {
  const auto payments = Group({{"E", 1, "1", 10}, {"E", 2, "1", 1}, {"T", 3, "1", 5}}, true);

  EXPECT_THAT(Described(payments), ElementsAre("Dinheiro 11.00 1", "Dinheiro 5.000 1"));
}

TEST_F(GroupPaymentsTest, CardPaymentsGoUnderTheirOriginAndNamesAreCut) {
  const auto payments = Group({{"E", 2, "1", 7, "237", "3"}, {"E", 1, "2", 8, " ", "1"}}, false);

  EXPECT_THAT(Described(payments), ElementsAre("Cartao 8.000 4", "Credito Consumid 7.000 9"));
}

TEST_F(GroupPaymentsTest, TheGroupedRowsKeepTheirUsualOrderAfterwards) {
  Group({{"E", 1, "1", 10}}, false);

  EXPECT_EQ(grouped_.IndexName(), "idxNRORDTROCO");
}

TEST_F(GroupPaymentsTest, RefusesAPaymentOfAMissingTypeAndKeepsTheOrder) {
  EXPECT_THROW(Group({{"E", 1, "1", 10}, {"E", 2, "7", 10}}, false), Error);
  EXPECT_EQ(grouped_.IndexName(), "idxNRORDTROCO");
}

TEST_F(GroupPaymentsTest, RefusesAPaymentThatIsNotPositive) {
  EXPECT_THROW(Group({{"E", 1, "1", 0}}, false), Error);
}

}  // namespace
}  // namespace zel
