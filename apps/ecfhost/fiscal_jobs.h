// The real jobs of a cash register, each a short sequence of driver
// operations as a point-of-sale host calls them. Each writes what it did to
// the session's output and raises zel::Error with a one-line reason when
// the driver reports a failure (the driver's own dialog has been printed
// just before). The session must have been started (Session::Start).
#ifndef ECFHOST_FISCAL_JOBS_H_
#define ECFHOST_FISCAL_JOBS_H_

#include <cstdio>
#include <string>

#include "sale_builder.h"
#include "session.h"
#include "zel/dataset.h"

namespace ecfhost {

// Reads the tax rates, finds or programs the non-fiscal totalizers and
// reconciles this host's payment types with the printer's payment forms.
void ProgramPrinter(Session& session);

// Issues one fiscal coupon: opening, items, item cancellations, closing
// with the payments. A coupon the printer stops halfway is cancelled, so
// the printer is left with no coupon open. Returns the coupon number.
std::string SellCoupon(Session& session, const SaleRequest& sale);

// Cancels the last coupon; returns its number.
std::string CancelLastCoupon(Session& session);

void Supply(Session& session, double amount);
void Withdraw(Session& session, double amount);
// Opens the drawer and reports its state.
void OpenDrawer(Session& session);
void XReading(Session& session);
// The confirmation goes to `report` when given (a script reading the
// session's output may want nothing else there), else to the session's.
void ZReduction(Session& session, std::FILE* report = nullptr);

// The printer's grand total as the driver reads it ("1234,56").
std::string GrandTotal(Session& session);

// The day's figures and the document counters, as the printer keeps them.
struct DayFigures {
  long coupons = 0;        // fiscal coupons (COO counter)
  long nonfiscal = 0;      // non-fiscal operations
  long reports = 0;        // management reports
  double gross_sales = 0;  // the day's gross sales
  double discounts = 0;
  double cancellations = 0;
};
DayFigures ReadDayFigures(Session& session);

// What became of a coupon whose job failed after it was opened.
enum class CouponFate {
  kCancelled,  // the printer holds no coupon open and did not finish it
  kFinished,   // the closing's answer was lost, but the printer finished the sale
  kUnknown,    // the printer cannot tell now; the next start settles it
};

// Cancels the coupon a failed job left open (only one still open: never the
// last finished coupon) and says what the printer did with it.
// `closing_sent` tells whether the job had sent the coupon's closing, the
// only step after which the printer can have finished it.
CouponFate SettleFailedCoupon(Session& session, bool closing_sent);

// The end of a failed job's message for a coupon that was not finished.
std::string UnfinishedCouponText(CouponFate fate);

// This host's payment types after the driver matched them with the
// printer's payment forms, programming the missing ones.
zel::Dataset ReconciledPaymentTypes(Session& session);

}  // namespace ecfhost

#endif  // ECFHOST_FISCAL_JOBS_H_
