#include "sim_files_fixture.h"

#include <stdlib.h>

#include <fstream>
#include <iterator>

namespace ecfsim {
namespace fs = std::filesystem;

void SimFilesTest::SetUp() {
  std::string pattern = (fs::temp_directory_path() / "simfiles-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  root_ = pattern;
  previous_directory_ = fs::current_path();
  fs::current_path(root_);
  fs::create_directories(system_dir());
  setenv("ZEL_DRIVE_C", drive_c().c_str(), 1);
  setenv("ZEL_SYSTEM_DIR", system_dir().c_str(), 1);
}

void SimFilesTest::TearDown() {
  unsetenv("ZEL_DRIVE_C");
  unsetenv("ZEL_SYSTEM_DIR");
  fs::current_path(previous_directory_);
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

void SimFilesTest::WriteIni(const std::string& name, const std::string& bytes) const {
  WriteBytes(system_dir() / name, bytes);
}

std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
}

namespace {

void SetRate(PrinterState& state, int position, int rate, bool iss, Cents base) {
  state.rates[position - 1] = TaxRate{true, rate, iss, base};
}

ReductionRecord Reduction(int crz, int movement_date, Cents gross, Cents grand_total) {
  ReductionRecord record;
  record.crz = crz;
  record.cro = 1;
  record.coo = 100 * crz;
  record.first_coo = 100 * crz - 40;
  record.movement_date = movement_date;
  record.reduced_at = static_cast<std::int64_t>(movement_date) * 1000000 + 235501;
  record.grand_total = grand_total;
  record.day.gross_sales = gross;
  record.day.discounts = crz * 10;
  record.rates[0] = TaxRate{true, 1800, false, gross - crz * 10};
  return record;
}

}  // namespace

PrinterState BusyPrinter() {
  PrinterState state;
  state.counters.cro = 2;
  state.counters.crz = 41;
  state.counters.coo = 1234;
  state.counters.gnf = 56;
  state.counters.cfc = 3;
  state.grand_total = 123456789;  // 1.234.567,89

  SetRate(state, 1, 1800, false, 150000);
  SetRate(state, 2, 1200, false, 20050);
  SetRate(state, 3, 500, true, 9999);
  SetRate(state, 4, 700, false, 0);
  SetRate(state, 6, 2500, false, 333);
  SetRate(state, 7, 200, true, 120000);
  SetRate(state, 9, 400, false, 10);  // programmed, listed after a free slot

  state.payment_forms[0] = PaymentForm{"Dinheiro", false, 90000};
  state.payment_forms[1] = PaymentForm{"Cartao Credito", true, 123456};
  state.payment_forms[4] = PaymentForm{"Cheque", false, 0};

  state.totalizers[0] = NonFiscalTotalizer{"CV-EMITIDO", 1500, 2};
  state.totalizers[1] = NonFiscalTotalizer{"VENDA-CONS", 0, 0};
  state.totalizers[2] = NonFiscalTotalizer{"Relatorio", 1, 1};
  state.totalizers[5] = NonFiscalTotalizer{"Compra-Cred-Longo19", 987654, 12};

  DayFigures& day = state.day;
  day.gross_sales = 310000;
  day.cancellations = 1100;
  day.discounts = 250;
  day.surcharges = 75;
  day.iss_cancellations = 300;
  day.iss_discounts = 20;
  day.iss_surcharges = 5;
  day.substitution = 4321;
  day.exempt = 765;
  day.not_taxed = 12;
  day.supplies = 10000;
  day.withdrawals = 2500;
  day.supply_count = 1;
  day.withdrawal_count = 2;
  day.first_coo = 1200;
  day.opened_at = 20261207080000;
  day.issuing_seconds = 3 * 3600 + 25 * 60 + 7;

  state.movement_date = 20261207;
  state.reductions = {Reduction(38, 20261203, 50000, 123000000),
                      Reduction(39, 20261204, 60000, 123060000),
                      Reduction(40, 20261206, 70000, 123130000)};
  return state;
}

}  // namespace ecfsim
