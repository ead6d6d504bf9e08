// The memory of the simulated fiscal printer, as plain data.
//
// Everything a real fiscal printer keeps between commands lives here: the
// fiscal memory (counters, grand total, past reductions), the programming
// (tax rates, non-fiscal totalizers, payment forms), the figures of the open
// fiscal day, the document in progress, the clock offset and the drawer.
// The printer core changes it command by command and saves it after each one
// (state_store.h); readers (the reading and detail-tape files) only read it.
//
// Conventions:
// - Amounts are integer cents (Cents). Tax rates are hundredths of a percent
//   (1800 = 18.00 %). Quantities are thousandths (1500 = 1.500).
// - Texts are Windows-1252 bytes, as the host sent them.
// - Dates are integers yyyymmdd (0 = none); moments are integers
//   yyyymmddhhmmss (0 = none), both on the printer's own clock.
// - Positions (tax rates, totalizers, payment forms) are 1-based in the
//   printer's texts and 0-based in the vectors below.
//
// Threading: the printer is single-threaded like its host; nothing here
// locks. This header only grows: fields are added, never renamed.
#ifndef ECFSIM_PRINTER_STATE_H_
#define ECFSIM_PRINTER_STATE_H_

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace ecfsim {

using Cents = std::int64_t;

inline constexpr int kTaxRateSlots = 16;
inline constexpr int kTotalizerSlots = 30;
inline constexpr int kPaymentFormSlots = 20;
inline constexpr int kTotalizerNameWidth = 19;
inline constexpr int kPaymentFormNameWidth = 16;

// One position of the tax-rate table.
struct TaxRate {
  bool programmed = false;
  int rate = 0;        // hundredths of a percent: 1800 = 18.00 %
  bool iss = false;    // service tax (ISS) instead of goods tax (ICMS)
  Cents day_base = 0;  // net amount sold on this rate in the open day
};

// One non-fiscal totalizer ("CONTRA-VALE EMITIDO", "Relatorios", ...).
struct NonFiscalTotalizer {
  std::string name;  // up to 19 characters; empty = free position
  Cents day_total = 0;
  int day_count = 0;  // receipts registered on it in the open day
};

// One payment form ("Dinheiro", "Cartao", ...).
struct PaymentForm {
  std::string name;             // up to 16 characters; empty = free position
  bool linked_allowed = false;  // a linked receipt may be opened on it
  Cents day_total = 0;          // paid in this form in the open day, change deducted
};

// The figures of one fiscal day, zeroed by each Z reduction.
struct DayFigures {
  Cents gross_sales = 0;    // items sold plus subtotal surcharges (before cancellations)
  Cents cancellations = 0;  // cancelled items and coupons, goods tax (ICMS)
  Cents discounts = 0;      // item and subtotal discounts, goods tax (ICMS)
  Cents surcharges = 0;     // subtotal surcharges, goods tax (ICMS)
  Cents iss_cancellations = 0;
  Cents iss_discounts = 0;
  Cents iss_surcharges = 0;
  Cents substitution = 0;  // "FF": tax substitution
  Cents exempt = 0;        // "II": exempt
  Cents not_taxed = 0;     // "NN": not taxed
  Cents supplies = 0;      // cash put into the till ("SU")
  Cents withdrawals = 0;   // cash taken out of the till ("SA")
  int supply_count = 0;
  int withdrawal_count = 0;
  int first_coo = 0;  // first document of the day (0 = none yet)
  int coupons = 0;    // fiscal coupons ended or cancelled in the day
  int cancelled_coupons = 0;
  std::int64_t opened_at = 0;        // moment of the first document of the day
  std::int64_t issuing_seconds = 0;  // time spent with fiscal coupons open
};

// A Z reduction as the fiscal memory keeps it (for the fiscal-memory readings
// and the last-reduction data).
struct ReductionRecord {
  int crz = 0;                                 // reduction counter after this reduction
  int cro = 0;                                 // restart counter at the time
  int coo = 0;                                 // COO of the Z reduction document itself
  int first_coo = 0;                           // first document of the reduced day
  int gnf = 0;                                 // general non-fiscal operations counter at the time
  int ccf = 0;                                 // fiscal coupon counter at the time
  int cfc = 0;                                 // cancelled fiscal coupons counter at the time
  int grg = 0;                                 // management reports counter at the time
  int cdc = 0;                                 // linked receipts counter at the time
  int movement_date = 0;                       // yyyymmdd of the reduced day
  std::int64_t reduced_at = 0;                 // yyyymmddhhmmss when the reduction was printed
  Cents grand_total = 0;                       // grand total after the reduction
  DayFigures day;                              // the day's figures as they were reduced
  std::array<TaxRate, kTaxRateSlots> rates{};  // with day_base
  std::array<NonFiscalTotalizer, kTotalizerSlots> totalizers{};  // with day totals
  std::array<PaymentForm, kPaymentFormSlots> payment_forms{};    // with day totals
};

// Where the current document stands. A fiscal coupon moves
// kCouponItems -> kCouponTotalled -> kCouponPaying -> kCouponPaid -> kIdle.
enum class DocumentState {
  kIdle = 0,
  kCouponItems = 1,      // open, selling items
  kCouponTotalled = 2,   // closing started (discount or surcharge applied)
  kCouponPaying = 3,     // at least one payment, not yet paid in full
  kCouponPaid = 4,       // paid in full, waiting for the closing message
  kLinkedReceipt = 5,    // a linked receipt (non-fiscal, on a payment) is open
  kManagementReport = 6  // a management report is open
};

// An item of the open coupon.
struct CouponItem {
  std::string code;
  std::string description;
  std::string rate_code;  // "01".."16", "FF", "II" or "NN"
  std::string unit;
  int quantity = 0;      // thousandths
  Cents unit_price = 0;  // cents
  Cents total = 0;       // quantity x price, truncated to cents
  Cents discount = 0;
  bool cancelled = false;
  Cents surcharge = 0;
};

// A subtotal discount (negative) or surcharge (positive) apportioned to the
// items of one tax-rate code.
struct RateShare {
  std::string rate_code;
  Cents amount = 0;
};

struct CouponPayment {
  int form = 0;  // 0-based position in payment_forms
  Cents amount = 0;
};

// The fiscal coupon in progress (also kept after it ended, until the next
// document, so that it can still be cancelled).
struct Coupon {
  int coo = 0;
  std::string buyer_id;  // CPF or CNPJ
  std::string buyer_name;
  std::string buyer_address;
  std::int64_t opened_at = 0;
  std::vector<CouponItem> items;
  Cents subtotal_discount = 0;
  Cents subtotal_surcharge = 0;
  std::vector<CouponPayment> payments;
  bool ended = false;             // the closing message was printed
  std::vector<RateShare> shares;  // the subtotal adjustments per tax rate
};

// An item kept on an open restaurant table.
struct TableItem {
  std::string code;
  std::string description;
  std::string rate_code;
  std::string unit;
  int quantity = 0;  // thousandths
  Cents unit_price = 0;
  Cents discount = 0;
};

// A printed document as the detail-tape memory (MFD) keeps it. The printer
// appends each one to "mfd.txt" in its directory; detail_tape.h reads them.
struct PrintedDocument {
  int coo = 0;
  std::string kind;  // "CF", "CF-CANC", "CNF", "CCD", "RG", "LX", "RZ", "LMF"
  std::int64_t printed_at = 0;
  std::vector<std::string> lines;  // as printed, 48 columns, Windows-1252
};

struct PrinterIdentity {
  std::string owner_name = "RESTAURANTE SIMULADO LTDA";
  std::string owner_address = "RUA DAS FLORES, 100 - CENTRO - SAO PAULO/SP";
  std::string serial_number = "BE0912SIM000001";  // 15 characters
  std::string register_number = "0001";
  std::string brand = "BEMATECH";
  std::string model = "ECF SIMULADO MFD";
  std::string printer_type = "ECF-IF";
  std::string firmware = "010300";
  int model_number = 20;
  std::string owner_cnpj = "12.345.678/0001-90";
  std::string owner_ie = "123.456.789.110";
  std::string owner_im = "";
  std::int64_t user_recorded_at = 20240102080000;      // owner (user) recorded in memory
  std::int64_t software_recorded_at = 20231115093000;  // basic software recorded
  std::string additional_memory = " ";                 // "S" when the additional memory exists
  int user_number = 1;
};

// Counters of the fiscal memory. They never decrease.
struct Counters {
  int coo = 0;  // document (order of operation) counter
  int crz = 0;  // Z reductions
  int cro = 1;  // restarts of operation
  int gnf = 0;  // general non-fiscal operations (receipts, readings, reports)
  int ccf = 0;  // fiscal coupons
  int cfc = 0;  // cancelled fiscal coupons
  int grg = 0;  // management reports
  int cdc = 0;  // linked (credit/debit) receipts
  int cer = 0;  // table-check reports
  int ncn = 0;  // cancelled non-fiscal operations
  int interventions = 0;
  int owner_substitutions = 0;
};

struct PrinterState {
  PrinterIdentity identity;
  Counters counters;
  Cents grand_total = 0;  // never decreases
  std::array<TaxRate, kTaxRateSlots> rates{};
  std::array<NonFiscalTotalizer, kTotalizerSlots> totalizers{};
  std::array<PaymentForm, kPaymentFormSlots> payment_forms{};
  DayFigures day;
  int movement_date = 0;                    // yyyymmdd of the open fiscal day; 0 = no day open
  int last_reduced_date = 0;                // movement date of the last Z reduction
  std::vector<ReductionRecord> reductions;  // oldest first

  DocumentState document = DocumentState::kIdle;
  int open_document_coo = 0;             // COO of the document being printed (0 = none)
  std::string open_document_kind;        // its kind, as in PrintedDocument
  Coupon coupon;                         // the open coupon, or the last one while cancellable
  bool last_coupon_cancellable = false;  // the last document is an ended coupon
  // Payments of the last document on which a linked receipt may still be
  // opened (forms that allow it); one receipt per payment.
  std::vector<CouponPayment> linkable_payments;
  std::string pending_description;  // extra description for the next item

  std::map<std::string, std::vector<TableItem>> tables;  // open restaurant tables
  std::vector<TableItem> menu;  // every product registered on a table, by code

  std::int64_t clock_offset_seconds = 0;  // printer clock minus computer clock
  bool daylight_saving = false;
  bool tef_mode = false;
  bool drawer_open = false;
  int paper_low_commands = 0;  // commands left with low paper; -1 = until reset
  int paper_out_commands = 0;  // commands left without paper; -1 = until reset
};

}  // namespace ecfsim

#endif  // ECFSIM_PRINTER_STATE_H_
