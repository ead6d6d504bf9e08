#include "fiscal_config.h"

#include <cstdio>

#include "sale_builder.h"
#include "zel/cipher.h"
#include "zel/dataset.h"
#include "zel/error.h"

namespace ecfhost {
namespace {

using ParamsCheck = bool(const zel::Variant&);

bool GrandTotalCheck(Session& session, const char* validate) {
  return session.Op<ParamsCheck>("Atu_TotGeral")(zel::MakeParams({{"CDFILIAL", kBranch},
                                                                  {"CDCAIXA", kCashRegister},
                                                                  {"NRSERIEIMP", ""},
                                                                  {"ESQUEMACOR", kColourScheme},
                                                                  {"IDVALIDA", validate}}));
}

}  // namespace

std::string ConfigurationPath(const Session& session) {
  return session.workspace().folder() + "/Ploteva.cds";
}

std::string StoredPrinterSerial(const Session& session) {
  const std::string path = ConfigurationPath(session);
  if (!zel::Env::Default()->FileExists(path)) return {};
  zel::Dataset table("Ploteva");
  table.LoadFromFile(path);
  table.SetFilter(std::string("CDFILIAL = '") + kBranch + "' AND CDCAIXA = '" + kCashRegister +
                  "'");
  table.SetFiltered(true);
  if (table.IsEmpty()) {
    throw zel::Error(path + " não tem a linha da filial " + std::string(kBranch) + ", caixa " +
                     kCashRegister);
  }
  return zel::Uncripto(table.AsText("NRSERIEECF"), zel::kCipherKey);
}

void RegisterPrinter(Session& session, const std::string& serial) {
  zel::Dataset table("Ploteva");
  table.AddField("CDFILIAL", zel::FieldType::kText, 4);
  table.AddField("CDCAIXA", zel::FieldType::kText, 3);
  table.AddField("NRSERIEECF", zel::FieldType::kText, 60);
  table.AddField("IDSITECFIMPF", zel::FieldType::kText, 1);
  table.AddField("CAMPO01", zel::FieldType::kText, 1);   // "S": check the grand total
  table.AddField("CAMPO02", zel::FieldType::kText, 60);  // the stored total, enciphered
  table.CreateDataSet();
  table.Append();
  table.SetValue("CDFILIAL", kBranch);
  table.SetValue("CDCAIXA", kCashRegister);
  table.SetValue("NRSERIEECF", zel::Cripto(serial, zel::kCipherKey));
  table.SetValue("IDSITECFIMPF", "A");
  table.SetValue("CAMPO01", "S");
  table.Post();
  table.SaveToFile(ConfigurationPath(session));
  if (!GrandTotalCheck(session, "N")) {
    throw zel::Error("o driver não conseguiu guardar o totalizador geral da impressora em " +
                     ConfigurationPath(session));
  }
  std::fprintf(session.out(), "[configuração] impressora %s registrada nesta caixa\n",
               serial.c_str());
}

bool PrinterMatchesConfiguration(Session& session, const std::string& serial) {
  const bool total_matches = GrandTotalCheck(session, "S");
  const zel::Variant params = zel::MakeParams({{"UTILIZAIMPFIS", true},
                                               {"DSDIRCAD", session.workspace().folder()},
                                               {"ESQUEMACOR", kColourScheme},
                                               {"REV_NRSERIE_IMP", serial}});
  const bool serial_matches = session.Op<ParamsCheck>("VerificaSerialImp")(params);
  return total_matches && serial_matches;
}

void RefreshStoredGrandTotal(Session& session) {
  if (!GrandTotalCheck(session, "N")) {
    throw zel::Error("o totalizador geral guardado em " + ConfigurationPath(session) +
                     " não foi atualizado (o motivo está na mensagem do driver acima)");
  }
}

}  // namespace ecfhost
