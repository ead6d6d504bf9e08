#include "fake_start_entries.h"

#include <algorithm>

#include "core/vendor_table.h"
#include "fake_fiscal_entries.h"

namespace zel {
namespace {

FakeStartPrinter* g_start = nullptr;

void Note(const char* entry) { FakeFiscalPrinter::current()->journal.push_back(entry); }

// Writes exactly `width` characters: the reply cut or padded with blanks.
void Reply(char* buffer, const std::string& reply, std::size_t width) {
  std::string fitted = reply.substr(0, std::min(reply.size(), width));
  fitted.resize(width, ' ');
  std::copy(fitted.begin(), fitted.end(), buffer);
}

int AbrePortaSerial() {
  Note("AbrePortaSerial");
  return g_start->port_result;
}
int VerificaImpressoraLigada() {
  Note("VerificaImpressoraLigada");
  return g_start->power_result;
}
int FechaComprovanteNaoFiscalVinculado() {
  Note("FechaComprovanteNaoFiscalVinculado");
  return 1;
}
int FechaRelatorioGerencial() {
  Note("FechaRelatorioGerencial");
  return 1;
}
int DataHoraImpressora(char* date, char* time) {
  Note("DataHoraImpressora");
  Reply(date, g_start->date, 6);
  Reply(time, g_start->time, 6);
  return g_start->clock_result;
}
int DataMovimento(char* date) {
  Note("DataMovimento");
  Reply(date, g_start->movement_date, 6);
  return g_start->movement_result;
}
int NumeroCaixa(char* number) {
  Note("NumeroCaixa");
  Reply(number, g_start->register_number, 4);
  return 1;
}
int NumeroSerieMFD(char* serial) {
  Note("NumeroSerieMFD");
  Reply(serial, g_start->serial, 15);
  return 1;
}
int GrandeTotal(char* total) {
  Note("GrandeTotal");
  Reply(total, g_start->grand_total, 18);
  return g_start->grand_total_result;
}

}  // namespace

FakeStartPrinter::FakeStartPrinter() {
  g_start = this;
  using namespace Zel00101;
  Bematech_FI_AbrePortaSerial = AbrePortaSerial;
  Bematech_FI_VerificaImpressoraLigada = VerificaImpressoraLigada;
  Bematech_FI_FechaComprovanteNaoFiscalVinculado = FechaComprovanteNaoFiscalVinculado;
  Bematech_FI_FechaRelatorioGerencial = FechaRelatorioGerencial;
  Bematech_FI_DataHoraImpressora = DataHoraImpressora;
  Bematech_FI_DataMovimento = DataMovimento;
  Bematech_FI_NumeroCaixa = NumeroCaixa;
  Bematech_FI_NumeroSerieMFD = NumeroSerieMFD;
  Bematech_FI_GrandeTotal = GrandeTotal;
}

FakeStartPrinter::~FakeStartPrinter() { g_start = nullptr; }

}  // namespace zel
