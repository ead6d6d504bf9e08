// Reading FechaCupom's positional array. The meaning of each value is fixed
// by its position; the checks here refuse what would otherwise reach the
// printer as a wrong amount or fail halfway through a closing.
#include <cmath>
#include <cstdint>
#include <string>

#include "coupon/closing.h"
#include "coupon/sale.h"
#include "host/number_format.h"
#include "host/string_functions.h"
#include "zel/error.h"

namespace zel {
namespace {

// Width of the coupon number and report counter in the table-check line.
constexpr int kReportNumberWidth = 6;

std::string Text(std::span<const Variant> positions, std::size_t index) {
  return positions[index].AsText();
}

double Amount(std::span<const Variant> positions, std::size_t index, const char* what) {
  const double value = positions[index].AsDouble();
  if (!std::isfinite(value) || value < 0) {
    throw Error("FechaCupom: the " + std::string(what) + " (position " + std::to_string(index) +
                ") must be a positive amount or zero, not " + positions[index].AsText());
  }
  return value;
}

// The report counter as the host keeps it may carry leading zeros; the
// printed line shows the number itself.
std::string ReportCounter(const std::string& text) {
  std::int64_t counter = 0;
  if (!TryTextToInt(text, &counter)) {
    throw Error("FechaCupom: the report counter (position 29) \"" + text + "\" is not an integer");
  }
  return Ajusta(std::to_string(counter), kReportNumberWidth);
}

ClosingMessageInputs ReadMessageInputs(std::span<const Variant> positions) {
  ClosingMessageInputs in;
  in.header = Text(positions, 1);
  in.tef_indicator = Text(positions, 9);
  in.free_line = Text(positions, 10);
  in.tef_active = positions[11].AsBoolean();
  in.client_code = Text(positions, 15);
  in.client_name = Text(positions, 16);
  in.consumer_code = Text(positions, 17);
  in.consumer_name = Text(positions, 18);
  in.centred_switch = Text(positions, 19);
  in.table_number = Text(positions, 21);
  in.operator_code = Text(positions, 22);
  in.operator_name = Text(positions, 23);
  in.balance_mode = Text(positions, 27);
  in.check_coo = Text(positions, 28);
  in.check_cer = Text(positions, 29);
  if (!EmptyString(in.check_coo)) {
    in.check_coo = Ajusta(in.check_coo, kReportNumberWidth);
    in.check_cer = ReportCounter(in.check_cer);
  }
  in.password = Text(positions, 31);
  in.credit_layout = Text(positions, 35);
  in.balance_source = Text(positions, 36);
  in.balance_before = positions[37].AsDouble();
  in.subsidy = positions[38].AsDouble();
  in.centred_line = Text(positions, 39);
  in.print_tef_lines = Text(positions, 40);
  return in;
}

}  // namespace

bool ClosingParams::UnderTef() const {
  return zel::UnderTef(message.tef_indicator, message.tef_active);
}

ClosingParams ReadClosingParams(std::span<const Variant> positions) {
  if (positions.size() < kClosingPositions) {
    throw Error("FechaCupom: expected " + std::to_string(kClosingPositions) +
                " positional values, got " + std::to_string(positions.size()));
  }
  ClosingParams p;
  p.receipt_totalizer = Text(positions, 0);
  p.colour_scheme = Text(positions, 2);
  p.receipt_after = positions[4].AsBoolean();
  p.show = positions[5].AsBoolean();
  p.discount = Amount(positions, 6, "discount");
  p.receipt_amount = Amount(positions, 7, "receipt amount");
  p.surcharge = Amount(positions, 8, "surcharge");
  if (p.discount > 0 && p.surcharge > 0) {
    throw Error(
        "FechaCupom: a discount and a surcharge on the same coupon; the printer takes "
        "only one of them");
  }
  p.movements = positions[13];
  if (p.movements.kind() != Variant::Kind::kPacket) {
    throw Error("FechaCupom: the cash movements (position 13) are no dataset data");
  }
  p.payment_types = positions[14];
  p.balances = positions[32];
  p.consumption = positions[33];
  p.family_movements = positions[34];
  p.passthrough = positions[42];
  p.message = ReadMessageInputs(positions);
  return p;
}

}  // namespace zel
