// Values as the dataset engine stores them: one cell per field, typed by the
// field, and the comparisons the cursor, the filter and locate share.
#ifndef ZEL_HOST_DATASET_VALUE_H_
#define ZEL_HOST_DATASET_VALUE_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "zel/dataset.h"
#include "zel/date_time.h"
#include "zel/variant.h"

namespace zel::dataset {

// A null cell is monostate; otherwise the alternative matches the field type
// (text: std::string, never empty; integer; float: never NaN; Boolean;
// date-time).
using Cell = std::variant<std::monostate, std::string, std::int64_t, double, bool, DateTime>;
using Row = std::vector<Cell>;

// Raises zel::Error "Tabela <table>: <detail>". `detail` is Windows-1252.
[[noreturn]] void Fail(std::string_view table, std::string_view detail);
// UTF-8 literal to Windows-1252, for composing messages.
std::string Cp(std::string_view utf8);

const char* FieldTypeName(FieldType type);
bool IsValidFieldType(FieldType type);

// Checks one definition (name, type, size) and returns it normalised: a
// non-text field has size 0. Raises naming the table and the field.
FieldDef CheckedFieldDef(std::string_view table, FieldDef def);
// Position of `name` among `defs`, ignoring case, or -1.
int FindField(const std::vector<FieldDef>& defs, std::string_view name);
// Same, raising when absent.
int RequireField(std::string_view table, const std::vector<FieldDef>& defs, std::string_view name);
// "A; B;C" -> {"A", "B", "C"}; blanks around names are dropped.
std::vector<std::string> SplitFieldList(std::string_view list);

// Host value into a cell of `def`. Text is cut to the field size when `cut`
// is set; an empty text becomes null. Raises naming table and field when
// the value does not convert (or is NaN for a float field).
Cell ToCell(std::string_view table, const FieldDef& def, const Variant& value, bool cut = true);
Variant ToVariant(const Cell& cell);

// Text without its trailing blanks.
std::string_view TrimRight(std::string_view text);
// Windows-1252 upper case of a byte (accented letters included).
char UpperCp1252(char c);
// Byte order of texts ignoring trailing blanks: <0, 0, >0.
int CompareText(std::string_view a, std::string_view b);
bool EqualTextIgnoringCase(std::string_view a, std::string_view b);
// Same length and the same letters ignoring case (names of fields, indexes).
bool EqualIgnoringCase(std::string_view a, std::string_view b);

// Order of two cells of one field, nulls first: <0, 0, >0.
int CompareCells(const Cell& a, const Cell& b);
// Text of a text cell (null reads as the empty text).
std::string_view CellText(const Cell& cell);

}  // namespace zel::dataset

#endif  // ZEL_HOST_DATASET_VALUE_H_
