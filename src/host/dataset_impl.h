// The inside of zel::Dataset, shared by dataset.cc (structure, life cycle,
// packets, fields, filter, locate) and dataset_cursor.cc (the view, moving
// and editing).
//
// Rows live in `rows` in natural order (the order they were added in; an
// inserted row goes before the row that was current). The cursor walks
// `view`: the physical positions of the rows that pass the filter, sorted by
// the active index with the physical position breaking ties. The view is
// rebuilt when the index, the filter or the whole table changes, and kept up
// to date row by row on post and delete.
#ifndef ZEL_HOST_DATASET_IMPL_H_
#define ZEL_HOST_DATASET_IMPL_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/dataset_filter.h"
#include "host/dataset_index.h"
#include "host/dataset_value.h"
#include "zel/dataset.h"

namespace zel {

struct Dataset::Impl {
  using Row = dataset::Row;

  explicit Impl(std::string table_name) : name(std::move(table_name)) {}

  // Definitions, kept while closed.
  std::string name;
  // The definitions given by AddField / SetFieldDefs, which CreateDataSet
  // builds from, and the layout of the table now (those, or what the last
  // packet or file brought).
  std::vector<FieldDef> design_defs;
  std::vector<FieldDef> defs;
  std::vector<dataset::IndexDef> indexes;
  std::string index_name;
  std::string filter_text;
  std::shared_ptr<const dataset::ParsedFilter> parsed_filter;  // null for a blank filter
  bool filtered = false;
  std::string file_name;

  // The open table.
  State state = State::kInactive;
  std::vector<Row> rows;
  dataset::RowOrder order;
  std::optional<dataset::BoundFilter> filter;  // the filter in force, if any
  std::vector<std::uint32_t> view;
  int cursor = -1;  // position in `view`; -1 when it is empty
  bool bof = true;
  bool eof = true;
  Row pending;                   // the row being edited or inserted
  std::uint32_t pending_at = 0;  // its physical position (insert: where it goes)

  [[noreturn]] void Fail(const std::string& detail) const { dataset::Fail(name, detail); }
  void RequireActive() const;
  bool Editing() const { return state == State::kEdit || state == State::kInsert; }
  // Posts a pending edit or insertion, as moving the cursor does.
  void CheckBrowseMode();

  const dataset::IndexDef* FindIndex(std::string_view index) const;
  // Bind an index (a declared name, or empty for the natural order) / a
  // filter (when `apply`) to a field layout; raise when they do not fit it.
  dataset::RowOrder BindOrder(std::string_view index, const std::vector<FieldDef>& layout) const;
  std::optional<dataset::BoundFilter> BindFilter(
      bool apply, const std::shared_ptr<const dataset::ParsedFilter>& parsed,
      const std::vector<FieldDef>& layout) const;
  // Opens on `table_rows` of layout `layout`, on the first row. Binds before
  // changing anything, so a failure leaves the dataset as it was.
  void Activate(std::vector<FieldDef> layout, std::vector<Row> table_rows);
  void Deactivate();

  // --- dataset_cursor.cc ---
  bool Visible(const Row& row) const { return !filter || filter->Matches(row); }
  // Recomputes `view`; keeps the current row current when asked and still
  // visible, else moves to the first row.
  void RebuildView(bool keep_current);
  void MoveFirst();
  // Where the row at physical position `at` belongs in `view`.
  std::size_t ViewSlot(std::uint32_t at) const;
  // Puts the row at physical position `at` into the view (when visible) and
  // makes it, or the row that now holds its place, current.
  void PlaceRow(std::uint32_t at);
  void PostPending();
  void DeleteCurrent();
  // The current row's cells, or nullptr when there is none.
  const Row* CurrentRow() const;
};

}  // namespace zel

#endif  // ZEL_HOST_DATASET_IMPL_H_
