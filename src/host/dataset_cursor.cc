// The cursor of zel::Dataset: the view of visible rows, moving through it,
// and editing (insert, append, edit, post, cancel, delete).
#include <algorithm>

#include "host/dataset_impl.h"

namespace zel {

using dataset::Cp;

void Dataset::Impl::RebuildView(bool keep_current) {
  const int current = keep_current && cursor >= 0 ? static_cast<int>(view[cursor]) : -1;
  view.clear();
  for (std::uint32_t at = 0; at < rows.size(); ++at) {
    if (Visible(rows[at])) view.push_back(at);
  }
  order.Sort(view, rows);
  if (current >= 0) {
    const auto found = std::find(view.begin(), view.end(), static_cast<std::uint32_t>(current));
    if (found != view.end()) {
      cursor = static_cast<int>(found - view.begin());
      bof = eof = false;
      return;
    }
  }
  MoveFirst();
}

void Dataset::Impl::MoveFirst() {
  cursor = view.empty() ? -1 : 0;
  bof = true;
  eof = view.empty();
}

std::size_t Dataset::Impl::ViewSlot(std::uint32_t at) const {
  const auto slot = std::lower_bound(
      view.begin(), view.end(), at, [&](std::uint32_t in_view, std::uint32_t placed) {
        return order.Less(rows[in_view], in_view, rows[placed], placed);
      });
  return static_cast<std::size_t>(slot - view.begin());
}

void Dataset::Impl::PlaceRow(std::uint32_t at) {
  const std::size_t slot = ViewSlot(at);
  if (Visible(rows[at])) {
    view.insert(view.begin() + static_cast<std::ptrdiff_t>(slot), at);
    cursor = static_cast<int>(slot);
  } else if (view.empty()) {
    // The row is hidden by the filter: the row that now holds its place in
    // the walk becomes current.
    cursor = -1;
  } else {
    cursor = static_cast<int>(std::min(slot, view.size() - 1));
  }
  bof = eof = view.empty();
}

void Dataset::Impl::PostPending() {
  const std::uint32_t at = pending_at;
  if (state == State::kInsert) {
    // Rows after the new one move up by one; an appended row moves nothing.
    if (at < rows.size()) {
      for (std::uint32_t& in_view : view) {
        if (in_view >= at) ++in_view;
      }
    }
    rows.insert(rows.begin() + at, std::move(pending));
    state = State::kBrowse;
    PlaceRow(at);
    return;
  }
  rows[at] = std::move(pending);
  state = State::kBrowse;
  // An edit that keeps the row visible and between its neighbours leaves
  // the view as it is; otherwise the row moves to its new place.
  const Row& row = rows[at];
  const bool after_previous =
      cursor == 0 || order.Less(rows[view[cursor - 1]], view[cursor - 1], row, at);
  const bool before_next = cursor + 1 == static_cast<int>(view.size()) ||
                           order.Less(row, at, rows[view[cursor + 1]], view[cursor + 1]);
  if (Visible(row) && after_previous && before_next) {
    bof = eof = false;
    return;
  }
  view.erase(view.begin() + cursor);
  PlaceRow(at);
}

void Dataset::Impl::DeleteCurrent() {
  const std::uint32_t at = view[cursor];
  rows.erase(rows.begin() + at);
  view.erase(view.begin() + cursor);
  for (std::uint32_t& in_view : view) {
    if (in_view > at) --in_view;
  }
  bof = false;
  eof = false;
  if (view.empty()) {
    MoveFirst();
  } else if (cursor == static_cast<int>(view.size())) {
    // The last row went: the new last row is current, at the end.
    cursor = static_cast<int>(view.size()) - 1;
    eof = true;
  }
}

const Dataset::Impl::Row* Dataset::Impl::CurrentRow() const {
  if (Editing()) return &pending;
  if (cursor < 0) return nullptr;
  return &rows[view[cursor]];
}

void Dataset::Impl::CheckBrowseMode() {
  if (Editing()) PostPending();
}

void Dataset::First() {
  impl_->RequireActive();
  impl_->CheckBrowseMode();
  impl_->MoveFirst();
}

void Dataset::Last() {
  Impl& d = *impl_;
  d.RequireActive();
  d.CheckBrowseMode();
  d.cursor = static_cast<int>(d.view.size()) - 1;
  d.eof = true;
  d.bof = d.view.empty();
}

void Dataset::Next() {
  Impl& d = *impl_;
  d.RequireActive();
  d.CheckBrowseMode();
  if (d.view.empty()) return;
  if (d.cursor + 1 < static_cast<int>(d.view.size())) {
    ++d.cursor;
  } else {
    d.eof = true;
  }
  d.bof = false;
}

void Dataset::Prior() {
  Impl& d = *impl_;
  d.RequireActive();
  d.CheckBrowseMode();
  if (d.view.empty()) return;
  if (d.cursor > 0) {
    --d.cursor;
  } else {
    d.bof = true;
  }
  d.eof = false;
}

bool Dataset::Eof() const { return impl_->eof; }
bool Dataset::Bof() const { return impl_->bof; }

int Dataset::RecNo() const {
  if (impl_->state == State::kInsert) return 0;
  return impl_->cursor + 1;
}

int Dataset::RecordCount() const { return static_cast<int>(impl_->view.size()); }
bool Dataset::IsEmpty() const { return impl_->view.empty(); }

void Dataset::Insert() {
  Impl& d = *impl_;
  d.RequireActive();
  d.CheckBrowseMode();
  d.pending.assign(d.defs.size(), std::monostate{});
  d.pending_at = d.cursor >= 0 ? d.view[d.cursor] : static_cast<std::uint32_t>(d.rows.size());
  d.state = State::kInsert;
}

void Dataset::Append() {
  Impl& d = *impl_;
  d.RequireActive();
  d.CheckBrowseMode();
  d.pending.assign(d.defs.size(), std::monostate{});
  d.pending_at = static_cast<std::uint32_t>(d.rows.size());
  d.state = State::kInsert;
}

void Dataset::Edit() {
  Impl& d = *impl_;
  d.RequireActive();
  if (d.Editing()) return;
  if (d.cursor < 0) {
    Insert();
    return;
  }
  d.pending_at = d.view[d.cursor];
  d.pending = d.rows[d.pending_at];
  d.state = State::kEdit;
}

void Dataset::Post() {
  impl_->RequireActive();
  impl_->CheckBrowseMode();
}

void Dataset::Cancel() {
  Impl& d = *impl_;
  d.RequireActive();
  if (!d.Editing()) return;
  // The view was not touched while the row was pending, so the cursor is
  // back where it was.
  d.pending.clear();
  d.state = State::kBrowse;
}

void Dataset::Delete() {
  Impl& d = *impl_;
  d.RequireActive();
  if (d.state == State::kInsert) {
    Cancel();
    return;
  }
  if (d.cursor < 0) d.Fail(Cp("não é possível excluir: a tabela está vazia"));
  d.pending.clear();
  d.state = State::kBrowse;
  d.DeleteCurrent();
}

}  // namespace zel
