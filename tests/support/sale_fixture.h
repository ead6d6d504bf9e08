// SaleFixture: a DriverFixture that reads what the simulated printer booked
// during a sale (calls of one entry, the payment forms' day totals) and can
// fail one payment of a closing. The host's building blocks of the sale are
// in support/sale_builders.h. One test thread.
#ifndef ZEL_TESTS_SUPPORT_SALE_FIXTURE_H_
#define ZEL_TESTS_SUPPORT_SALE_FIXTURE_H_

#include <map>
#include <string>
#include <vector>

#include "support/driver_fixture.h"
#include "support/sale_builders.h"

namespace zel {

class SaleFixture : public DriverFixture {
 protected:
  void FailEntry(const char* entry, int code, int times);

  // The journal lines of one printer entry, each with its arguments.
  std::vector<std::string> Calls(const std::string& entry);

  // The day total in cents of each payment form that took money, by the
  // printer's name of the form.
  std::map<std::string, long long> FormTotals();

  // The Nth payment the driver sends (counting from 1) fails once: the
  // driver's entry for payments is replaced by one that arms a one-time
  // printer fault just before passing the call on.
  void FailNthPayment(int nth);
};

}  // namespace zel

#endif  // ZEL_TESTS_SUPPORT_SALE_FIXTURE_H_
