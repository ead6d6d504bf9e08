#include "host/dataset_value.h"

#include <cmath>

#include "host/codepage.h"
#include "zel/error.h"

namespace zel::dataset {

void Fail(std::string_view table, std::string_view detail) {
  throw Error("Tabela " + std::string(table) + ": " + std::string(detail));
}

std::string Cp(std::string_view utf8) { return Utf8ToCp1252(utf8); }

const char* FieldTypeName(FieldType type) {
  switch (type) {
    case FieldType::kText:
      return "texto";
    case FieldType::kInteger:
      return "inteiro";
    case FieldType::kFloat:
      return "real";
    case FieldType::kBoolean:
      return "lógico";
    case FieldType::kDateTime:
      return "data-hora";
  }
  return "desconhecido";
}

bool IsValidFieldType(FieldType type) {
  return type >= FieldType::kText && type <= FieldType::kDateTime;
}

FieldDef CheckedFieldDef(std::string_view table, FieldDef def) {
  if (def.name.empty()) Fail(table, Cp("campo sem nome"));
  if (!IsValidFieldType(def.type)) {
    Fail(table, Cp("campo '") + def.name + Cp("' com tipo inválido ") +
                    std::to_string(static_cast<int>(def.type)));
  }
  if (def.type != FieldType::kText) {
    def.size = 0;
  } else if (def.size < 1) {
    Fail(table,
         Cp("campo texto '") + def.name + Cp("' com tamanho inválido ") + std::to_string(def.size));
  }
  return def;
}

int FindField(const std::vector<FieldDef>& defs, std::string_view name) {
  for (std::size_t i = 0; i < defs.size(); ++i) {
    if (EqualIgnoringCase(defs[i].name, name)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

int RequireField(std::string_view table, const std::vector<FieldDef>& defs, std::string_view name) {
  const int index = FindField(defs, name);
  if (index < 0) Fail(table, Cp("campo '") + std::string(name) + Cp("' não encontrado"));
  return index;
}

std::vector<std::string> SplitFieldList(std::string_view list) {
  std::vector<std::string> names;
  while (true) {
    const std::size_t end = list.find(';');
    std::string_view name = list.substr(0, end);
    const std::size_t first = name.find_first_not_of(' ');
    name = first == std::string_view::npos ? std::string_view{} : name.substr(first);
    names.emplace_back(TrimRight(name));
    if (end == std::string_view::npos) break;
    list.remove_prefix(end + 1);
  }
  return names;
}

Cell ToCell(std::string_view table, const FieldDef& def, const Variant& value, bool cut) {
  if (value.IsEmpty()) return std::monostate{};
  try {
    switch (def.type) {
      case FieldType::kText: {
        std::string text = value.AsText();
        if (cut && text.size() > static_cast<std::size_t>(def.size)) text.resize(def.size);
        if (text.empty()) return std::monostate{};
        return text;
      }
      case FieldType::kInteger:
        return value.AsInteger();
      case FieldType::kFloat: {
        const double number = value.AsDouble();
        if (std::isnan(number)) throw Error(Cp("NAN não é um valor de campo real"));
        return number;
      }
      case FieldType::kBoolean:
        return value.AsBoolean();
      case FieldType::kDateTime:
        return value.AsDateTime();
    }
  } catch (const Error& error) {
    throw Error("Tabela " + std::string(table) + ", campo " + def.name + ": " + error.what());
  }
  Fail(table, Cp("campo '") + def.name + Cp("' com tipo inválido"));
}

Variant ToVariant(const Cell& cell) {
  return std::visit(
      [](const auto& value) -> Variant {
        using T = std::decay_t<decltype(value)>;
        if constexpr (std::is_same_v<T, std::monostate>) {
          return Variant();
        } else {
          return Variant(value);
        }
      },
      cell);
}

std::string_view TrimRight(std::string_view text) {
  const std::size_t last = text.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

char UpperCp1252(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte >= 'a' && byte <= 'z') return static_cast<char>(byte - 0x20);
  // à..þ map to À..Þ, except ÷ (0xF7), which has no case.
  if (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7) return static_cast<char>(byte - 0x20);
  switch (byte) {
    case 0x9A:  // š
    case 0x9C:  // œ
    case 0x9E:  // ž
      return static_cast<char>(byte - 0x10);
    case 0xFF:  // ÿ
      return static_cast<char>(0x9F);
    default:
      return c;
  }
}

int CompareText(std::string_view a, std::string_view b) {
  const int order = TrimRight(a).compare(TrimRight(b));
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

bool EqualTextIgnoringCase(std::string_view a, std::string_view b) {
  return EqualIgnoringCase(TrimRight(a), TrimRight(b));
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (UpperCp1252(a[i]) != UpperCp1252(b[i])) return false;
  }
  return true;
}

namespace {

template <typename T>
int Order(const T& a, const T& b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace

int CompareCells(const Cell& a, const Cell& b) {
  if (a.index() != b.index()) {
    // Only a null meets a value of the field's type: nulls come first.
    return a.index() < b.index() ? -1 : 1;
  }
  switch (a.index()) {
    case 1:
      return CompareText(std::get<std::string>(a), std::get<std::string>(b));
    case 2:
      return Order(std::get<std::int64_t>(a), std::get<std::int64_t>(b));
    case 3:
      return Order(std::get<double>(a), std::get<double>(b));
    case 4:
      return Order(std::get<bool>(a), std::get<bool>(b));
    case 5:
      return Order(std::get<DateTime>(a).value, std::get<DateTime>(b).value);
    default:
      return 0;
  }
}

std::string_view CellText(const Cell& cell) {
  const auto* text = std::get_if<std::string>(&cell);
  return text == nullptr ? std::string_view{} : std::string_view(*text);
}

}  // namespace zel::dataset
