// Entries that read the fiscal counters and the day's figures. Counters are
// written with leading zeros, amounts as digits with two implied decimals.
#include <string>

#include "bemafi32.h"
#include "figures.h"
#include "printer.h"
#include "text.h"

namespace ecfsim {
namespace {

int CounterQuery(const char* entry, char* out, int width, int Counters::*counter) {
  return Query(
      entry, [&](Printer& p) { CopyOut(out, Digits(p.state().counters.*counter, width), width); });
}

int AmountQuery(const char* entry, char* out, int width, Cents (*figure)(const PrinterState&)) {
  return Query(entry, [&](Printer& p) { CopyOut(out, Digits(figure(p.state()), width), width); });
}

}  // namespace

std::string PartialTotals(const PrinterState& s) {
  std::string list;
  auto add = [&list](Cents amount) {
    if (!list.empty()) list += ",";
    list += Digits(amount, 14);
  };
  for (const TaxRate& rate : s.rates) add(rate.day_base);
  add(s.day.substitution);
  add(s.day.exempt);
  add(s.day.not_taxed);
  add(s.day.discounts + s.day.iss_discounts);
  add(s.day.cancellations + s.day.iss_cancellations);
  add(s.day.surcharges + s.day.iss_surcharges);
  return list;
}

std::string ReceiptTotals(const PrinterState& s) {
  std::string list;
  for (const NonFiscalTotalizer& t : s.totalizers) {
    if (!list.empty()) list += ",";
    list +=
        Digits(t.day_count, 4) + Digits(t.day_total, 20) + PadRight(t.name, kTotalizerNameWidth);
  }
  return list;
}

}  // namespace ecfsim

using ecfsim::CopyOut;
using ecfsim::Counters;
using ecfsim::Digits;
using ecfsim::Printer;
using ecfsim::PrinterState;
using ecfsim::Query;

int Bematech_FI_ContadorCupomFiscalMFD(char* ccf6) {
  return ecfsim::CounterQuery("Bematech_FI_ContadorCupomFiscalMFD", ccf6, 6, &Counters::ccf);
}

int Bematech_FI_NumeroSubstituicoesProprietario(char* count4) {
  return ecfsim::CounterQuery("Bematech_FI_NumeroSubstituicoesProprietario", count4, 4,
                              &Counters::owner_substitutions);
}

int Bematech_FI_NumeroOperacoesNaoFiscais(char* gnf6) {
  return ecfsim::CounterQuery("Bematech_FI_NumeroOperacoesNaoFiscais", gnf6, 6, &Counters::gnf);
}

int Bematech_FI_NumeroIntervencoes(char* count4) {
  return ecfsim::CounterQuery("Bematech_FI_NumeroIntervencoes", count4, 4,
                              &Counters::interventions);
}

int Bematech_FI_NumeroReducoes(char* crz4) {
  return ecfsim::CounterQuery("Bematech_FI_NumeroReducoes", crz4, 4, &Counters::crz);
}

int Bematech_FI_ContadorRelatoriosGerenciaisMFD(char* grg6) {
  return ecfsim::CounterQuery("Bematech_FI_ContadorRelatoriosGerenciaisMFD", grg6, 6,
                              &Counters::grg);
}

int Bematech_FI_ContadorComprovantesCreditoMFD(char* cdc6) {
  return ecfsim::CounterQuery("Bematech_FI_ContadorComprovantesCreditoMFD", cdc6, 6,
                              &Counters::cdc);
}

int Bematech_FI_NumeroCuponsCancelados(char* count4) {
  return ecfsim::CounterQuery("Bematech_FI_NumeroCuponsCancelados", count4, 4, &Counters::cfc);
}

int Bematech_FI_VendaBruta(char* amount18) {
  return ecfsim::AmountQuery("Bematech_FI_VendaBruta", amount18, 18,
                             [](const PrinterState& s) { return s.day.gross_sales; });
}

int Bematech_FI_Cancelamentos(char* amount14) {
  return ecfsim::AmountQuery("Bematech_FI_Cancelamentos", amount14, 14, [](const PrinterState& s) {
    return s.day.cancellations + s.day.iss_cancellations;
  });
}

int Bematech_FI_Descontos(char* amount14) {
  return ecfsim::AmountQuery("Bematech_FI_Descontos", amount14, 14, [](const PrinterState& s) {
    return s.day.discounts + s.day.iss_discounts;
  });
}

int Bematech_FI_Acrescimos(char* amount14) {
  return ecfsim::AmountQuery("Bematech_FI_Acrescimos", amount14, 14, [](const PrinterState& s) {
    return s.day.surcharges + s.day.iss_surcharges;
  });
}

// The user's and the basic software's recording moments as
// "DD/MM/YYYY hh:mm:ss" in 20 columns, and the additional-memory letter.
int Bematech_FI_DataHoraGravacaoUsuarioSWBasicoMFAdicional(char* user20, char* software20,
                                                           char* additional5) {
  return Query("Bematech_FI_DataHoraGravacaoUsuarioSWBasicoMFAdicional", [&](Printer& p) {
    const ecfsim::PrinterIdentity& id = p.state().identity;
    CopyOut(user20, ecfsim::ShowMoment(id.user_recorded_at), 20);
    CopyOut(software20, ecfsim::ShowMoment(id.software_recorded_at), 20);
    CopyOut(additional5, id.additional_memory, 5);
  });
}

// First and last document of the day; both the last document while the day
// has none.
int Bematech_FI_InicioFimCOOsMFD(char* first6, char* last6) {
  return Query("Bematech_FI_InicioFimCOOsMFD", [&](Printer& p) {
    const PrinterState& s = p.state();
    int first = s.day.first_coo != 0 ? s.day.first_coo : s.counters.coo;
    CopyOut(first6, Digits(first, 6), 6);
    CopyOut(last6, Digits(s.counters.coo, 6), 6);
  });
}

int Bematech_FI_VerificaTotalizadoresParciais(char* totals329) {
  return Query("Bematech_FI_VerificaTotalizadoresParciais", [&](Printer& p) {
    CopyOut(totals329, ecfsim::PartialTotals(p.state()), ecfsim::kPartialTotalsWidth);
  });
}

int Bematech_FI_VerificaRecebimentoNaoFiscal(char* receipts1319) {
  return Query("Bematech_FI_VerificaRecebimentoNaoFiscal", [&](Printer& p) {
    CopyOut(receipts1319, ecfsim::ReceiptTotals(p.state()), ecfsim::kReceiptsWidth);
  });
}

int Bematech_FI_VerificaRecebimentoNaoFiscalMFD(char* receipts1319) {
  return Query("Bematech_FI_VerificaRecebimentoNaoFiscalMFD", [&](Printer& p) {
    CopyOut(receipts1319, ecfsim::ReceiptTotals(p.state()), ecfsim::kReceiptsWidth);
  });
}
