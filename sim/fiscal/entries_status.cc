// Entries that report the printer's status and identity, and the drawer.
#include "bemafi32.h"
#include "printer.h"
#include "text.h"

namespace ecfsim {
namespace {

void WriteStatus(const StatusBytes& status, int* ack, int* st1, int* st2) {
  if (ack) *ack = status.ack;
  if (st1) *st1 = status.st1;
  if (st2) *st2 = status.st2;
}

int ExtendedStatus(Printer& printer) {
  if (printer.CouponOpen()) return 1;
  switch (printer.state().document) {
    case DocumentState::kLinkedReceipt:
      return 3;
    case DocumentState::kManagementReport:
      return 4;
    default:
      return 0;
  }
}

int FiscalFlags(Printer& printer) {
  const PrinterState& s = printer.state();
  int flags = 0;
  if (printer.CouponOpen()) flags |= 1;
  if (s.document == DocumentState::kCouponTotalled || s.document == DocumentState::kCouponPaying ||
      s.document == DocumentState::kCouponPaid) {
    flags |= 2;
  }
  if (s.daylight_saving) flags |= 4;
  if (s.movement_date == 0 && s.last_reduced_date == printer.Today()) flags |= 8;
  if (s.last_coupon_cancellable) flags |= 32;
  return flags;
}

}  // namespace
}  // namespace ecfsim

using ecfsim::CommandKind;
using ecfsim::CopyOut;
using ecfsim::Digits;
using ecfsim::Done;
using ecfsim::Printer;
using ecfsim::Query;
using ecfsim::Run;

int Bematech_FI_AbrePortaSerial() {
  return Query("Bematech_FI_AbrePortaSerial", [](Printer&) {});
}

int Bematech_FI_FechaPortaSerial() {
  return Query("Bematech_FI_FechaPortaSerial", [](Printer& p) { p.ReleasePort(); });
}

int Bematech_FI_VerificaEstadoImpressora(int* ack, int* st1, int* st2) {
  int code = Query("Bematech_FI_VerificaEstadoImpressora", [](Printer&) {});
  ecfsim::WithPrinter([&](Printer& p) { ecfsim::WriteStatus(p.last_status(), ack, st1, st2); });
  return code;
}

int Bematech_FI_RetornoImpressora(int* ack, int* st1, int* st2) {
  return Run("Bematech_FI_RetornoImpressora", {}, CommandKind::kStatusRead, [&](Printer& p) {
    ecfsim::WriteStatus(p.last_status(), ack, st1, st2);
    return Done();
  });
}

int Bematech_FI_DataMovimento(char* date6) {
  return Query("Bematech_FI_DataMovimento",
               [&](Printer& p) { CopyOut(date6, ecfsim::Ddmmyy(p.state().movement_date), 6); });
}

int Bematech_FI_DataHoraImpressora(char* date6, char* time6) {
  return Query("Bematech_FI_DataHoraImpressora", [&](Printer& p) {
    std::int64_t now = p.Now();
    CopyOut(date6, ecfsim::Ddmmyy(ecfsim::DateOf(now)), 6);
    CopyOut(time6, Digits(ecfsim::TimeOf(now), 6), 6);
  });
}

int Bematech_FI_NumeroCaixa(char* register4) {
  return Query("Bematech_FI_NumeroCaixa",
               [&](Printer& p) { CopyOut(register4, p.state().identity.register_number, 4); });
}

int Bematech_FI_NumeroSerie(char* serial15) {
  return Query("Bematech_FI_NumeroSerie",
               [&](Printer& p) { CopyOut(serial15, p.state().identity.serial_number, 15); });
}

int Bematech_FI_NumeroSerieMFD(char* serial15) {
  return Query("Bematech_FI_NumeroSerieMFD",
               [&](Printer& p) { CopyOut(serial15, p.state().identity.serial_number, 15); });
}

int Bematech_FI_StatusEstendidoMFD(int* status) {
  return Query("Bematech_FI_StatusEstendidoMFD", [&](Printer& p) {
    if (status) *status = ecfsim::ExtendedStatus(p);
  });
}

int Bematech_FI_NumeroCupom(char* coo6) {
  return Query("Bematech_FI_NumeroCupom",
               [&](Printer& p) { CopyOut(coo6, Digits(p.state().counters.coo, 6), 6); });
}

int Bematech_FI_GrandeTotal(char* total18) {
  return Query("Bematech_FI_GrandeTotal",
               [&](Printer& p) { CopyOut(total18, Digits(p.state().grand_total, 18), 18); });
}

// A printer that is switched off is answered by Run() itself.
int Bematech_FI_VerificaImpressoraLigada() {
  return Query("Bematech_FI_VerificaImpressoraLigada", [](Printer&) {});
}

int Bematech_FI_VerificaEstadoGaveta(int* state) {
  return Query("Bematech_FI_VerificaEstadoGaveta", [&](Printer& p) {
    if (state) *state = p.state().drawer_open ? 1 : 0;
  });
}

int Bematech_FI_AcionaGaveta() {
  return Query("Bematech_FI_AcionaGaveta", [](Printer& p) { p.state().drawer_open = true; });
}

int Bematech_FI_FlagsFiscais(int* flags) {
  return Query("Bematech_FI_FlagsFiscais", [&](Printer& p) {
    if (flags) *flags = ecfsim::FiscalFlags(p);
  });
}

int Bematech_FI_MarcaModeloTipoImpressoraMFD(char* brand15, char* model20, char* type7) {
  return Query("Bematech_FI_MarcaModeloTipoImpressoraMFD", [&](Printer& p) {
    const ecfsim::PrinterIdentity& id = p.state().identity;
    CopyOut(brand15, id.brand, 15);
    CopyOut(model20, id.model, 20);
    CopyOut(type7, id.printer_type, 7);
  });
}

#ifndef ECFSIM_WITHOUT_FIRMWARE_ENTRY
int Bematech_FI_VersaoFirmwareMFD(char* version6) {
  return Query("Bematech_FI_VersaoFirmwareMFD",
               [&](Printer& p) { CopyOut(version6, p.state().identity.firmware, 6); });
}
#endif

int Bematech_FI_IniciaModoTEF() {
  return Query("Bematech_FI_IniciaModoTEF", [](Printer& p) { p.state().tef_mode = true; });
}

int Bematech_FI_FinalizaModoTEF() {
  return Query("Bematech_FI_FinalizaModoTEF", [](Printer& p) { p.state().tef_mode = false; });
}

// Cuts the paper: a mark on the tape.
int Bematech_FI_AcionaGuilhotinaMFD(int mode) {
  return Run("Bematech_FI_AcionaGuilhotinaMFD", {std::to_string(mode)}, CommandKind::kPrinting,
             [](Printer& p) {
               p.PrintLines({ecfsim::Centre("- - - - - - corte - - - - - -", ecfsim::kTapeWidth)});
               return Done();
             });
}
