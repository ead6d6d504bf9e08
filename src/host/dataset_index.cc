#include "host/dataset_index.h"

#include <algorithm>

namespace zel::dataset {

IndexDef MakeIndexDef(std::string_view table, std::string name, std::string_view fields,
                      std::string_view descending) {
  if (name.empty()) Fail(table, Cp("índice sem nome"));
  IndexDef index{std::move(name), SplitFieldList(fields), {}};
  for (const std::string& field : index.fields) {
    if (field.empty()) Fail(table, Cp("índice '") + index.name + Cp("' com lista de campos vazia"));
  }
  if (!descending.empty()) index.descending = SplitFieldList(descending);
  for (const std::string& field : index.descending) {
    const bool listed =
        std::any_of(index.fields.begin(), index.fields.end(),
                    [&](const std::string& f) { return EqualIgnoringCase(f, field); });
    if (!listed) {
      Fail(table, Cp("índice '") + index.name + Cp("': campo decrescente '") + field +
                      Cp("' não está entre os campos do índice"));
    }
  }
  return index;
}

RowOrder RowOrder::Bind(std::string_view table, const IndexDef& index,
                        const std::vector<FieldDef>& defs) {
  RowOrder order;
  for (const std::string& name : index.fields) {
    const int field = FindField(defs, name);
    if (field < 0) {
      Fail(table, Cp("índice '") + index.name + Cp("': campo '") + name + Cp("' não encontrado"));
    }
    const bool descending =
        std::any_of(index.descending.begin(), index.descending.end(),
                    [&](const std::string& d) { return EqualIgnoringCase(d, name); });
    order.parts_.push_back({field, descending});
  }
  return order;
}

bool RowOrder::Less(const Row& a, std::uint32_t pa, const Row& b, std::uint32_t pb) const {
  for (const KeyPart& part : parts_) {
    const int order = CompareCells(a[part.field], b[part.field]);
    if (order != 0) return part.descending ? order > 0 : order < 0;
  }
  return pa < pb;
}

void RowOrder::Sort(std::vector<std::uint32_t>& positions, const std::vector<Row>& rows) const {
  if (IsNatural()) {
    std::sort(positions.begin(), positions.end());
    return;
  }
  std::sort(positions.begin(), positions.end(),
            [&](std::uint32_t a, std::uint32_t b) { return Less(rows[a], a, rows[b], b); });
}

}  // namespace zel::dataset
