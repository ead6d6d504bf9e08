#include "support/host_config_file.h"

#include "zel/dataset.h"

namespace zel {

void WriteHostConfigFile(const std::string& path, const std::vector<HostConfigRow>& rows) {
  Dataset table("Ploteva");
  table.AddField("CDFILIAL", FieldType::kText, 4);
  table.AddField("CDCAIXA", FieldType::kText, 3);
  table.AddField("NRSERIEECF", FieldType::kText, 60);
  table.AddField("IDSITECFIMPF", FieldType::kText, 1);
  table.AddField("CAMPO01", FieldType::kText, 1);
  table.AddField("CAMPO02", FieldType::kText, 60);
  table.CreateDataSet();
  for (const HostConfigRow& row : rows) {
    table.Append();
    table.SetValue("CDFILIAL", row.branch);
    table.SetValue("CDCAIXA", row.cash_register);
    table.SetValue("NRSERIEECF", row.serial_field);
    table.SetValue("IDSITECFIMPF", row.site);
    table.SetValue("CAMPO01", row.check);
    table.SetValue("CAMPO02", row.total_field);
    table.Post();
  }
  table.SaveToFile(path);
}

}  // namespace zel
