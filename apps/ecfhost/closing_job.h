// The cashier's closing as the host runs it through GeraReciboSangria: the
// withdrawal receipt, the operator's closing with its questions, and the
// general closing, followed by the Z reduction when the operator confirms
// it. The session must have been started.
#ifndef ECFHOST_CLOSING_JOB_H_
#define ECFHOST_CLOSING_JOB_H_

#include <string>

#include "closing_file.h"
#include "session.h"

namespace ecfhost {

struct ClosingRequest {
  ClosingData data;
  bool withdrawal_only = false;  // the receipt only, values counted
  bool continuation = false;     // straight to the closing reports' question
  bool offer_reduction = false;  // ask for the Z reduction (and run it on yes)
  bool x_reading = false;        // an X reading before the receipt
  bool envelope_column = false;  // name the envelope column in the receipt
  bool group_by_tax = false;     // product report grouped by tax situation
  bool ask_products = false;     // confirm the product report first
};

// Runs the closing and reports on the session's output what happened.
// Raises zel::Error when the driver refuses the data (nothing printed then).
void CloseRegister(Session& session, const ClosingRequest& request);

// The demo's day: the cash of its withdrawal handed in, the products it
// sold and its movements, for the operator's closing before the Z.
ClosingRequest DemoClosing();

}  // namespace ecfhost

#endif  // ECFHOST_CLOSING_JOB_H_
