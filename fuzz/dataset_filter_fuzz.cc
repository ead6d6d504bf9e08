// Filter expressions, as a host or the driver sets them on a dataset
// ("IDTPBUTTON = '5'", "CDFPIMPFIS <> ' '"). Any text is either refused with
// zel::Error when it is set or applied, or filters a table of every field
// type (nulls included) to a subset of its rows.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "zel/dataset.h"
#include "zel/date_time.h"
#include "zel/error.h"
#include "zel/variant.h"

namespace {

zel::Dataset& Table() {
  static zel::Dataset* table = [] {
    auto* data = new zel::Dataset("cdsFuzz");
    data->AddField("NOME", zel::FieldType::kText, 10);
    data->AddField("QTDE", zel::FieldType::kInteger);
    data->AddField("VALOR", zel::FieldType::kFloat);
    data->AddField("ATIVO", zel::FieldType::kBoolean);
    data->AddField("DATA", zel::FieldType::kDateTime);
    data->CreateDataSet();
    const zel::Variant rows[][5] = {
        {"Dinheiro", 1, 10.5, true, zel::DateTime{46000.5}},
        {"cartao  ", -3, -0.01, false, zel::DateTime{1.0}},
        {zel::Variant(), zel::Variant(), zel::Variant(), zel::Variant(), zel::Variant()},
        {"'aspas\"", 0, 1e300, true, zel::DateTime{0.0}}};
    for (const auto& row : rows) {
      data->Append();
      int field = 0;
      for (const char* name : {"NOME", "QTDE", "VALOR", "ATIVO", "DATA"}) {
        if (!row[field].IsEmpty()) data->SetValue(name, row[field]);
        ++field;
      }
      data->Post();
    }
    return data;
  }();
  return *table;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string expression(reinterpret_cast<const char*>(data), size);
  zel::Dataset& table = Table();
  table.SetFiltered(false);
  table.SetFilter("");
  try {
    table.SetFilter(expression);
    table.SetFiltered(true);
  } catch (const zel::Error&) {
    return 0;
  }
  int seen = 0;
  for (table.First(); !table.Eof(); table.Next()) ++seen;
  if (seen != table.RecordCount() || seen > 4) std::abort();
  return 0;
}
