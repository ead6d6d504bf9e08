#include "nonfiscal/report_input.h"

#include <string>

#include "zel/error.h"

namespace zel {

void CopyInto(Dataset& source, Dataset& target) {
  if (source.FieldCount() == 0) {
    target.Close();
    OpenIfClosed(target);
    return;
  }
  target.SetData(source.Data());
}

void OpenIfClosed(Dataset& dataset) {
  if (!dataset.Active() && dataset.FieldCount() > 0) dataset.CreateDataSet();
}

Dataset CopyOf(Dataset& source, std::string_view name) {
  Dataset copy{std::string(name)};
  CopyInto(source, copy);
  return copy;
}

void RequireFields(const Dataset& dataset, std::string_view what,
                   std::initializer_list<std::string_view> fields) {
  for (std::string_view field : fields) {
    if (dataset.FieldIndex(field) < 0) {
      throw Error(std::string(what) + " has no field " + std::string(field));
    }
  }
}

void RequireNumbers(Dataset& dataset, std::string_view what,
                    std::initializer_list<std::string_view> fields) {
  RequireFields(dataset, what, fields);
  int row = 1;
  for (dataset.First(); !dataset.Eof(); dataset.Next(), ++row) {
    for (std::string_view field : fields) {
      try {
        dataset.AsDouble(field);
      } catch (const Error&) {
        throw Error(std::string(what) + ", row " + std::to_string(row) + ": field " +
                    std::string(field) + " is not a number ('" + dataset.AsText(field) + "')");
      }
    }
  }
}

void RequireRecord(const Dataset& dataset, std::string_view what) {
  if (dataset.IsEmpty()) throw Error(std::string(what) + " has no record");
}

double SumOf(Dataset& dataset, std::string_view field) {
  double sum = 0;
  for (dataset.First(); !dataset.Eof(); dataset.Next()) sum += dataset.AsDouble(field);
  return sum;
}

}  // namespace zel
