// The data of the last Z reduction, as the printer hands it over in the
// caller's buffer of 1278 characters (the buffer of the "last reduction
// data" entries).
//
// The layout inside those 1278 characters is the library's own business and
// this library defines it as follows. Fields are fixed-width digit strings
// separated by one comma, in this order; the rest of the buffer is blanks.
// Amounts are cents without separators ("000000012345" is 123,45). Dates
// are DDMMYY, times hhmmss.
//
//    1  CRZ, reduction counter                         4
//    2  COO of the reduction document                  6
//    3  CRO, restart counter                           4
//    4  GNF, general non-fiscal counter                6
//    5  CCF, fiscal coupon counter                     6
//    6  CFC, cancelled fiscal coupons counter          4
//    7  GRG, management reports counter                6
//    8  CDC, linked receipts counter                   4
//    9  movement date of the reduced day (DDMMYY)      6
//   10  date and time of the reduction (DDMMYYhhmmss) 12
//   11  grand total after the reduction               18
//   12  gross sales                                   14
//   13  net sales (gross less cancellations and discounts) 14
//   14  cancellations, goods tax                      14
//   15  discounts, goods tax                          14
//   16  surcharges, goods tax                         14
//   17  cancellations, service tax                    14
//   18  discounts, service tax                        14
//   19  surcharges, service tax                       14
//   20  tax substitution (F)                          14
//   21  exempt (I)                                    14
//   22  not taxed (N)                                 14
//   23  supplies (SU)                                 14
//   24  withdrawals (SA)                              14
//   25  the 16 tax-rate positions, 5 characters each: "T" (goods tax) or
//       "S" (service tax) and the rate in hundredths of a percent
//       ("T1800"), five blanks for a position not programmed           80
//   26  the base sold on each of the 16 positions, 12 digits each      192
//   27  the total of each of the 20 payment forms, 12 digits each      240
//   28  the total of each of the 30 non-fiscal totalizers, 12 each     360
//
// That is 1157 characters; the remaining 121 are blanks. A printer that has
// not reduced yet hands over the same layout with every field zero and every
// rate position blank.
//
// Pure function of the printer state; safe from any thread that owns the
// state it reads.
#ifndef ECFSIM_LAST_REDUCTION_H_
#define ECFSIM_LAST_REDUCTION_H_

#include <string>

#include "printer_state.h"

namespace ecfsim {

inline constexpr int kLastReductionSize = 1278;

// The 1278 characters describing the printer's last reduction.
std::string LastReductionData(const PrinterState& state);

}  // namespace ecfsim

#endif  // ECFSIM_LAST_REDUCTION_H_
