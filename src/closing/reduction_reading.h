// The serial X reading the printer library leaves in "Retorno.txt", read
// into the day's figures that the Z-reduction export hands to the host.
//
// The file is made of sections, each introduced by a banner line of 48
// characters (found as the first line equal to it, letter case ignored);
// every figure sits at a fixed line below its banner and at fixed columns
// (1-based, inclusive, never past column 48). Amounts carry two implied
// decimals, whatever dots and commas they are written with: "1.234,56" and
// "123456" are both 1234.56. Counters are kept as the printer wrote them,
// right-aligned in 10 columns; the reduction and document counters are
// those of the reduction about to be made, so the reading's count plus one.
//
// Reading is all or nothing: a missing banner, a file that ends inside a
// section, a line too short for the columns read, a field that is not a
// number or a number too large to keep exactly raises ReadingFormatError,
// whose message names the line and columns. Pure functions; texts are
// Windows-1252 bytes; safe from any thread.
#ifndef ZEL_CLOSING_REDUCTION_READING_H_
#define ZEL_CLOSING_REDUCTION_READING_H_

#include <string>
#include <vector>

#include "zel/error.h"

namespace zel {

class ReadingFormatError : public Error {
 public:
  using Error::Error;
};

// The one-row figures of the day (cdsReducaoZ).
struct ReductionCounters {
  std::string restarts;           // NRREINIREDZ
  std::string reduction;          // NRREDREDZ, the count plus one
  std::string document;           // NRLEITREDZ, the count plus one
  std::string non_fiscal;         // NRGERCNFREDZ
  std::string cancelled_coupons;  // NRCANCFREDZ
  std::string first_document;     // NRPRIMCFREDZ
  std::string last_document;      // NRULTCFREDZ, zeros when the day has none
  double grand_total = 0;         // VRGTREDZ
  double gross_sales = 0;         // VRVENBRUREDZ
  double service_tax_sales = 0;   // VRISSREDZ
  double cancellations = 0;       // VRTOTCANREDZ
  double discounts = 0;           // VRTOTDESREDZ
  double net_sales = 0;           // VRVENLIQREDZ
  double surcharges = 0;          // VRTOTACRREDZ
  double substitution = 0;        // VRSTRIBREDZ
  double exempt = 0;              // VRISENCREDZ
  double not_taxed = 0;           // VRNINCIDREDZ
  std::string time_in_service;    // QTTEMLIGREDZ, hhmmss
  std::string time_issuing;       // QTTEMPCFREDZ, hhmmss
  int free_reductions = 0;        // QTMEMRESREDZ
};

// One payment form of the day: the printer's two-character index as it
// stands in columns 1-2, and its total.
struct PaymentFormFigure {
  std::string index;
  double amount = 0;
};

// One tax rate of the day; kind 'T' for a taxed rate, 'S' for a service
// tax (ISS) rate.
struct TaxRateFigure {
  std::string position;  // columns 1-2
  double rate = 0;       // percent
  double base = 0;
  double tax = 0;
  char kind = 'T';
};

// One non-fiscal totalizer: index, name and count as they stand.
struct NonFiscalFigure {
  std::string index;
  std::string name;
  std::string count;
  double amount = 0;
};

struct ReductionReading {
  ReductionCounters counters;
  std::vector<PaymentFormFigure> payment_forms;
  std::vector<TaxRateFigure> tax_rates;  // taxed rates first, then ISS
  std::vector<NonFiscalFigure> non_fiscal;
};

// Reads the lines of a serial X reading (line breaks already removed).
ReductionReading ParseReductionReading(const std::vector<std::string>& lines);

}  // namespace zel

#endif  // ZEL_CLOSING_REDUCTION_READING_H_
