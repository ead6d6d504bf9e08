// Reading the printer's tax-rate table into cdsAliqImpFis, from which the
// host picks the index of each product's rate, and the service-tax (ISS)
// list into stAliquotaIss.
#include <string>

#include "core/data_module.h"
#include "core/vendor_call.h"
#include "programming/printer_lists.h"
#include "zel/dataset.h"
#include "zel/driver_state.h"
#include "zel/operations.h"

namespace zel {
namespace {

constexpr int kRateListWidth = 79;

// Reads one of the two rate lists into `buffer`, logs the reply and analyses
// the status silently; the verdict only tells whether the printer answered.
bool ReadRates(int (*entry)(char*), const char* entry_name, const std::string& colour_scheme,
               std::string& buffer) {
  buffer = Blanks(kRateListWidth);
  const int status = CallVendor(entry, buffer);
  LogReply(entry_name, buffer);
  return Zel00101::AnalisaRetorno(colour_scheme, status, false, false, false);
}

bool ReadServiceRates(const std::string& colour_scheme) {
  return ReadRates(Zel00101::Bematech_FI_VerificaAliquotasIss, "Bematech_FI_VerificaAliquotasIss",
                   colour_scheme, Zel00101::stAliquotaIss);
}

// The rows for sales that carry no rate of the table: not taxed, exempt and
// tax substitution.
void AppendFixedRow(Dataset& rates, const char* code, const char* kind) {
  rates.Append();
  rates.SetValue("CDALIQIMPFIS", code);
  rates.SetValue("VRALIQIMPFIS", 0.0);
  rates.SetValue("IDALIQIMPFIS", kind);
  rates.Post();
}

void FillRateTable(Dataset& rates, const std::vector<ProgrammedRate>& programmed) {
  rates.Close();
  rates.CreateDataSet();
  for (const ProgrammedRate& rate : programmed) {
    rates.Append();
    rates.SetValue("CDALIQIMPFIS", TwoDigits(rate.position));
    rates.SetValue("VRALIQIMPFIS", rate.rate);
    rates.SetValue("IDALIQIMPFIS", rate.service_tax ? "S" : "T");
    rates.Post();
  }
  AppendFixedRow(rates, "NN", "N");
  AppendFixedRow(rates, "II", "I");
  AppendFixedRow(rates, "FF", "F");
}

}  // namespace
}  // namespace zel

namespace Zel00101 {

void CarregaAliquota(const std::string& EsquemaCor, zel::Dataset& Aliquotas) {
  zel::TdtmBematech10& module = zel::EnsureDataModule();
  zel::ReadRates(Bematech_FI_RetornoAliquotas, "Bematech_FI_RetornoAliquotas", EsquemaCor,
                 stRetorno);
  zel::ReadServiceRates(EsquemaCor);
  zel::FillRateTable(module.cdsAliqImpFis, zel::ReadRateList(stRetorno, stAliquotaIss));
  // The scratch buffer has been read through to its end.
  stRetorno.clear();
  Aliquotas.SetData(module.cdsAliqImpFis.Data());
}

bool Retorno_Aliquotas_Imp(const std::string& EsquemaCor) {
  std::string rates;
  zel::ReadRates(Bematech_FI_RetornoAliquotas, "Bematech_FI_RetornoAliquotas", EsquemaCor, rates);
  return zel::ReadServiceRates(EsquemaCor);
}

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(void, CarregaAliquota,
                      (const std::string& EsquemaCor, zel::Dataset& Aliquotas),
                      (EsquemaCor, Aliquotas))
ZEL_EXPORT_PLAIN_NAME(bool, Retorno_Aliquotas_Imp, (const std::string& EsquemaCor), (EsquemaCor))
