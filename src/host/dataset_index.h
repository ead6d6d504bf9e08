// Named indexes of a dataset: their definitions and the row order they give.
#ifndef ZEL_HOST_DATASET_INDEX_H_
#define ZEL_HOST_DATASET_INDEX_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/dataset_value.h"

namespace zel::dataset {

struct IndexDef {
  std::string name;
  std::vector<std::string> fields;
  std::vector<std::string> descending;  // a subset of `fields`
};

// Checks and builds a definition from ';'-separated lists. Raises naming the
// table and the index when the name or the field list is empty, or a
// descending field is not among the fields.
IndexDef MakeIndexDef(std::string_view table, std::string name, std::string_view fields,
                      std::string_view descending);

// The order in which the cursor walks rows: the natural order (physical
// position), or an index's keys with the physical position breaking ties, so
// rows with equal keys keep the order they were added in.
class RowOrder {
 public:
  RowOrder() = default;  // natural order
  // Resolves the index's fields; raises when one is not among `defs`.
  static RowOrder Bind(std::string_view table, const IndexDef& index,
                       const std::vector<FieldDef>& defs);

  bool IsNatural() const { return parts_.empty(); }
  // Strict order of row `a` at physical position `pa` and row `b` at `pb`.
  bool Less(const Row& a, std::uint32_t pa, const Row& b, std::uint32_t pb) const;
  // Sorts physical positions into this order.
  void Sort(std::vector<std::uint32_t>& positions, const std::vector<Row>& rows) const;

 private:
  struct KeyPart {
    int field;
    bool descending;
  };
  std::vector<KeyPart> parts_;
};

}  // namespace zel::dataset

#endif  // ZEL_HOST_DATASET_INDEX_H_
