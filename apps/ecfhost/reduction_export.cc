#include "reduction_export.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

#include "sale_builder.h"
#include "zel/codepage.h"
#include "zel/date_format.h"
#include "zel/error.h"

namespace ecfhost {
namespace {

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

using ExportRedZOp = bool(const std::string&, const std::string&, const std::string&, std::int32_t,
                          zel::Dataset&, zel::Dataset&, zel::Dataset&, zel::Dataset&,
                          zel::Dataset&);

std::array<zel::Dataset*, 4> Tables(ReductionExport& figures) {
  return {&figures.reduction, &figures.payment_forms, &figures.tax_rates, &figures.non_fiscal};
}

// A field of the current row for people: UTF-8 text, amounts with two
// decimals, dates in the short format; empty for a null field.
std::string Shown(zel::Dataset& table, const zel::FieldDef& field) {
  if (table.IsNull(field.name)) return "";
  switch (field.type) {
    case zel::FieldType::kFloat:
      return Money(table.AsDouble(field.name));
    case zel::FieldType::kDateTime:
      return zel::DateTimeToText(table.AsDateTime(field.name));
    default:
      return zel::Cp1252ToUtf8(table.AsText(field.name));
  }
}

// Display width of UTF-8 text: its characters, not its bytes.
std::size_t Width(const std::string& text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// Amounts right-aligned, the rest left-aligned.
void Padded(std::FILE* out, const std::string& text, std::size_t width, bool right) {
  const std::string blanks(width - Width(text), ' ');
  std::fprintf(out, "%s%s", (right ? blanks : text).c_str(), (right ? text : blanks).c_str());
}

void PrintFieldByField(std::FILE* out, zel::Dataset& table) {
  std::fprintf(out, "%s\n", table.Name().c_str());
  for (table.First(); !table.Eof(); table.Next()) {
    for (const zel::FieldDef& field : table.FieldDefs()) {
      std::fprintf(out, "  %-15s %s\n", field.name.c_str(), Shown(table, field).c_str());
    }
  }
}

void PrintColumns(std::FILE* out, zel::Dataset& table) {
  const std::vector<zel::FieldDef>& fields = table.FieldDefs();
  std::vector<std::vector<std::string>> rows(1);
  for (const zel::FieldDef& field : fields) rows[0].push_back(field.name);
  for (table.First(); !table.Eof(); table.Next()) {
    rows.emplace_back();
    for (const zel::FieldDef& field : fields) rows.back().push_back(Shown(table, field));
  }
  std::vector<std::size_t> widths(fields.size(), 0);
  for (const auto& row : rows) {
    for (std::size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], Width(row[i]));
  }
  std::fprintf(out, "%s (%zu)\n", table.Name().c_str(), rows.size() - 1);
  for (const auto& row : rows) {
    std::fprintf(out, " ");
    for (std::size_t i = 0; i < row.size(); ++i) {
      std::fprintf(out, " ");
      Padded(out, row[i], widths[i], fields[i].type == zel::FieldType::kFloat);
    }
    std::fprintf(out, "\n");
  }
}

std::string JsonString(const std::string& utf8) {
  std::string text = "\"";
  for (const char c : utf8) {
    if (c == '"' || c == '\\') {
      text += '\\';
      text += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      text += escaped;
    } else {
      text += c;
    }
  }
  return text + "\"";
}

std::string JsonValue(zel::Dataset& table, const zel::FieldDef& field) {
  if (table.IsNull(field.name)) return "null";
  switch (field.type) {
    case zel::FieldType::kFloat: {
      char number[64];
      std::snprintf(number, sizeof number, "%.2f", table.AsDouble(field.name));
      return number;
    }
    case zel::FieldType::kDateTime: {
      const zel::DateTime value = table.AsDateTime(field.name);
      const bool midnight = zel::FormatDateTime("hhnnss", value) == "000000";
      return JsonString(
          zel::FormatDateTime(midnight ? "yyyy-mm-dd" : "yyyy-mm-dd'T'hh':'nn':'ss", value));
    }
    default:
      return JsonString(zel::Cp1252ToUtf8(table.AsText(field.name)));
  }
}

// An answer of the printer read through the driver's exported entry table
// (the driver binds the printer library's entries into it at start): a
// host keeps such values in its own configuration; this one asks.
std::string PrinterText(Session& session, const std::string& entry_name, int width) {
  using Entry = int (*)(char*);
  const std::string symbol = "_ZN8Zel00101" + std::to_string(entry_name.size()) + entry_name + "E";
  const Entry entry = *session.Op<Entry>(symbol);
  std::string text(width, ' ');
  if (entry == nullptr || entry(text.data()) != 1) {
    throw zel::Error("a impressora não respondeu a " + entry_name);
  }
  return text;
}

// The export matches the printer's payment forms to this host's payment
// types by the printer's two-digit index of each form (CDFPIMPFIS): the
// position of the type's name in the printer's list of forms.
zel::Dataset PaymentTypesWithPrinterIndexes(Session& session) {
  // Entries of 38 columns: the name (16), the day total (20), the
  // linked-receipt flag, then "," before the next one.
  const std::string forms = PrinterText(session, "Bematech_FI_VerificaFormasPagamento", 3016);
  zel::Dataset types("cdsTipoRece");
  types.SetFieldDefs(
      {{"CDTIPORECE", zel::FieldType::kText, 3}, {"CDFPIMPFIS", zel::FieldType::kText, 10}});
  types.CreateDataSet();
  for (const PaymentType& type : HostPaymentTypes()) {
    for (std::size_t at = 0, index = 1; at + 16 <= forms.size(); at += 38, ++index) {
      std::string name = forms.substr(at, 16);
      name.erase(name.find_last_not_of(' ') + 1);
      if (name.empty() || !EqualIgnoringCase(name, type.name)) continue;
      char code[8];
      std::snprintf(code, sizeof code, "%02zu", index);
      types.Append();
      types.SetValue("CDTIPORECE", type.code);
      types.SetValue("CDFPIMPFIS", code);
      types.Post();
      break;
    }
  }
  return types;
}

}  // namespace

void ExportReduction(Session& session, ReductionExport& figures) {
  // The driver names its printer's register after this host's ECF.
  session.DriverText("ECF") = PrinterText(session, "Bematech_FI_NumeroCaixa", 4);
  zel::Dataset types = PaymentTypesWithPrinterIndexes(session);
  if (!session.Op<ExportRedZOp>("ExportRedZ")("", kColourScheme, "", 0, types, figures.reduction,
                                              figures.payment_forms, figures.tax_rates,
                                              figures.non_fiscal)) {
    throw zel::Error(
        "o driver não conseguiu exportar os valores do dia (o motivo está no seu log de "
        "depuração)");
  }
}

void PrintTables(std::FILE* out, ReductionExport& figures) {
  PrintFieldByField(out, figures.reduction);
  for (zel::Dataset* table : {&figures.payment_forms, &figures.tax_rates, &figures.non_fiscal}) {
    std::fprintf(out, "\n");
    PrintColumns(out, *table);
  }
}

void PrintJson(std::FILE* out, ReductionExport& figures) {
  std::fprintf(out, "{");
  const char* table_separator = "";
  for (zel::Dataset* table : Tables(figures)) {
    std::fprintf(out, "%s\n  %s: [", table_separator, JsonString(table->Name()).c_str());
    const char* row_separator = "";
    for (table->First(); !table->Eof(); table->Next()) {
      std::fprintf(out, "%s\n    {", row_separator);
      const char* field_separator = "";
      for (const zel::FieldDef& field : table->FieldDefs()) {
        std::fprintf(out, "%s%s: %s", field_separator, JsonString(field.name).c_str(),
                     JsonValue(*table, field).c_str());
        field_separator = ", ";
      }
      std::fprintf(out, "}");
      row_separator = ",";
    }
    std::fprintf(out, "%s]", table->IsEmpty() ? "" : "\n  ");
    table_separator = ",";
  }
  std::fprintf(out, "\n}\n");
}

}  // namespace ecfhost
