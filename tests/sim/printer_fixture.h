// A fresh simulated printer per test, in its own temporary directory, used
// through the library's exported entries exactly as the driver uses them.
#ifndef ECFSIM_TESTS_PRINTER_FIXTURE_H_
#define ECFSIM_TESTS_PRINTER_FIXTURE_H_

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bemafi32.h"
#include "ecfsim.h"

namespace ecfsim_test {

struct Status {
  int ack = -1;
  int st1 = -1;
  int st2 = -1;
};

class PrinterTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

 public:
  // The status bytes of the last command.
  static Status LastStatus();
  static long long Figure(const char* name) { return EcfSim_Figure(name); }
  static std::vector<std::string> Journal();
  // Calls `entry` with a blank buffer of `width` and returns what it wrote.
  static std::string Out(int (*entry)(char*), int width);
  std::string ReadFile(const std::string& name) const;
  const std::string& dir() const { return dir_; }

  // A sale as the driver makes it: coupon, items at rate 01, closing.
  static void OpenCoupon();
  static void Sell(const char* rate, const char* price, const char* quantity,
                   const char* discount = "0000");
  static void CloseWithCash(const char* amount, const char* discount = "0");

 private:
  std::string dir_;
};

}  // namespace ecfsim_test

#endif  // ECFSIM_TESTS_PRINTER_FIXTURE_H_
