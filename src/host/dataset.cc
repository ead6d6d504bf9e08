// zel::Dataset: structure, life cycle, packets and files, field access,
// filter and locate. The cursor and editing are in dataset_cursor.cc.
#include "zel/dataset.h"

#include "host/dataset_impl.h"
#include "host/dataset_packet.h"
#include "platform/env.h"

namespace zel {

using dataset::Cp;
using dataset::Row;

// --- Impl helpers -------------------------------------------------------------

void Dataset::Impl::RequireActive() const {
  if (state == State::kInactive) Fail(Cp("a tabela está fechada"));
}

const dataset::IndexDef* Dataset::Impl::FindIndex(std::string_view index) const {
  for (const dataset::IndexDef& def : indexes) {
    if (dataset::EqualIgnoringCase(def.name, index)) return &def;
  }
  return nullptr;
}

dataset::RowOrder Dataset::Impl::BindOrder(std::string_view index,
                                           const std::vector<FieldDef>& layout) const {
  if (index.empty()) return {};
  return dataset::RowOrder::Bind(name, *FindIndex(index), layout);
}

std::optional<dataset::BoundFilter> Dataset::Impl::BindFilter(
    bool apply, const std::shared_ptr<const dataset::ParsedFilter>& parsed,
    const std::vector<FieldDef>& layout) const {
  if (!apply || parsed == nullptr) return std::nullopt;
  return dataset::BoundFilter::Bind(name, *parsed, layout);
}

void Dataset::Impl::Activate(std::vector<FieldDef> layout, std::vector<Row> table_rows) {
  dataset::RowOrder new_order = BindOrder(index_name, layout);
  std::optional<dataset::BoundFilter> new_filter = BindFilter(filtered, parsed_filter, layout);
  defs = std::move(layout);
  rows = std::move(table_rows);
  order = std::move(new_order);
  filter = std::move(new_filter);
  pending.clear();
  state = State::kBrowse;
  RebuildView(false);
}

void Dataset::Impl::Deactivate() {
  rows.clear();
  view.clear();
  pending.clear();
  filter.reset();
  order = {};
  state = State::kInactive;
  cursor = -1;
  bof = eof = true;
}

// --- Construction and structure ----------------------------------------------------

Dataset::Dataset(std::string name) : impl_(std::make_unique<Impl>(std::move(name))) {}
Dataset::~Dataset() = default;
Dataset::Dataset(Dataset&&) noexcept = default;
Dataset& Dataset::operator=(Dataset&&) noexcept = default;

const std::string& Dataset::Name() const { return impl_->name; }

void Dataset::AddField(std::string name, FieldType type, int size) {
  std::vector<FieldDef> defs = impl_->design_defs;
  defs.push_back({std::move(name), type, size});
  SetFieldDefs(std::move(defs));
}

void Dataset::SetFieldDefs(std::vector<FieldDef> defs) {
  Impl& d = *impl_;
  if (d.state != State::kInactive) {
    d.Fail(Cp("não é possível mudar os campos com a tabela aberta"));
  }
  std::vector<FieldDef> checked;
  checked.reserve(defs.size());
  for (FieldDef& def : defs) {
    FieldDef field = dataset::CheckedFieldDef(d.name, std::move(def));
    if (field.name.size() > 0xFFFF) d.Fail(Cp("nome de campo longo demais"));
    if (dataset::FindField(checked, field.name) >= 0) {
      d.Fail(Cp("campo '") + field.name + Cp("' definido duas vezes"));
    }
    checked.push_back(std::move(field));
  }
  d.design_defs = checked;
  d.defs = std::move(checked);
}

const std::vector<FieldDef>& Dataset::FieldDefs() const { return impl_->defs; }
int Dataset::FieldCount() const { return static_cast<int>(impl_->defs.size()); }

int Dataset::FieldIndex(std::string_view name) const {
  return dataset::FindField(impl_->defs, name);
}

void Dataset::AddIndex(std::string name, std::string_view fields,
                       std::string_view descending_fields) {
  Impl& d = *impl_;
  dataset::IndexDef index =
      dataset::MakeIndexDef(d.name, std::move(name), fields, descending_fields);
  if (d.FindIndex(index.name) != nullptr) {
    d.Fail(Cp("índice '") + index.name + Cp("' definido duas vezes"));
  }
  d.indexes.push_back(std::move(index));
}

void Dataset::SetIndexName(std::string_view name) {
  Impl& d = *impl_;
  std::string chosen;
  if (!name.empty()) {
    const dataset::IndexDef* index = d.FindIndex(name);
    if (index == nullptr) d.Fail(Cp("índice '") + std::string(name) + Cp("' não encontrado"));
    chosen = index->name;
  }
  if (d.state == State::kInactive) {
    d.index_name = std::move(chosen);
    return;
  }
  dataset::RowOrder order = d.BindOrder(chosen, d.defs);
  d.CheckBrowseMode();
  d.index_name = std::move(chosen);
  d.order = std::move(order);
  d.RebuildView(true);
}

const std::string& Dataset::IndexName() const { return impl_->index_name; }

// --- Life cycle -------------------------------------------------------------------

void Dataset::CreateDataSet() {
  Impl& d = *impl_;
  std::vector<FieldDef> layout = d.design_defs.empty() ? d.defs : d.design_defs;
  if (layout.empty()) d.Fail(Cp("não há campos definidos para criar a tabela"));
  d.Activate(std::move(layout), {});
}

void Dataset::Open() {
  Impl& d = *impl_;
  if (d.state != State::kInactive) return;
  if (d.file_name.empty()) {
    CreateDataSet();
  } else {
    LoadFromFile(d.file_name);
  }
}

void Dataset::Close() {
  Impl& d = *impl_;
  if (d.state == State::kInactive) return;
  d.CheckBrowseMode();
  if (!d.file_name.empty()) SaveToFile(d.file_name);
  d.Deactivate();
}

bool Dataset::Active() const { return impl_->state != State::kInactive; }
Dataset::State Dataset::state() const { return impl_->state; }

void Dataset::EmptyDataSet() {
  Impl& d = *impl_;
  d.RequireActive();
  d.pending.clear();
  d.state = State::kBrowse;
  d.rows.clear();
  d.view.clear();
  d.MoveFirst();
}

void Dataset::SetFileName(std::string path) { impl_->file_name = std::move(path); }
const std::string& Dataset::FileName() const { return impl_->file_name; }

// --- Packets and files -------------------------------------------------------------

Variant Dataset::Data() {
  Impl& d = *impl_;
  if (d.state == State::kInactive) return Variant(Packet{dataset::EncodePacket(d.defs, {})});
  d.CheckBrowseMode();
  return Variant(Packet{dataset::EncodePacket(d.defs, d.rows)});
}

void Dataset::SetData(const Variant& packet) {
  Impl& d = *impl_;
  if (packet.kind() != Variant::Kind::kPacket) {
    d.Fail(Cp("esperado um pacote de dados, recebido ") + packet.KindName());
  }
  dataset::Table table = dataset::DecodePacket(d.name, "pacote de dados", packet.AsPacket().bytes);
  d.Activate(std::move(table.fields), std::move(table.rows));
}

void Dataset::SaveToFile(const std::string& path) {
  Impl& d = *impl_;
  d.RequireActive();
  d.CheckBrowseMode();
  const std::string bytes = dataset::EncodePacket(d.defs, d.rows);
  try {
    // A failure half-way (disk full, power lost) must leave the old file
    // whole: a host's configuration is rewritten on every sale.
    Env::Current()->ReplaceFile(path, bytes);
  } catch (const FileError& error) {
    throw FileError("Tabela " + d.name + ": " + error.what(), error.windows_code());
  }
}

void Dataset::LoadFromFile(const std::string& path) {
  Impl& d = *impl_;
  std::string bytes;
  try {
    bytes = Env::Current()->ReadFile(path);
  } catch (const FileError& error) {
    throw FileError("Tabela " + d.name + ": " + error.what(), error.windows_code());
  }
  dataset::Table table = dataset::DecodePacket(d.name, Cp("arquivo '") + path + "'", bytes);
  d.Activate(std::move(table.fields), std::move(table.rows));
}

// --- Fields ---------------------------------------------------------------------------

Variant Dataset::FieldValue(std::string_view name) const {
  const Impl& d = *impl_;
  d.RequireActive();
  const int field = dataset::RequireField(d.name, d.defs, name);
  const Row* row = d.CurrentRow();
  return row == nullptr ? Variant() : dataset::ToVariant((*row)[field]);
}

bool Dataset::IsNull(std::string_view name) const { return FieldValue(name).IsEmpty(); }

namespace {

// Reads a field through one of Variant's conversions, naming table and field
// when the value does not convert.
template <typename Convert>
auto ReadAs(const Dataset& table, std::string_view field, Convert convert) {
  const Variant value = table.FieldValue(field);
  try {
    return convert(value);
  } catch (const Error& error) {
    throw Error("Tabela " + table.Name() + ", campo " + std::string(field) + ": " + error.what());
  }
}

}  // namespace

std::string Dataset::AsText(std::string_view name) const {
  return ReadAs(*this, name, [](const Variant& v) { return v.AsText(); });
}

std::int64_t Dataset::AsInteger(std::string_view name) const {
  return ReadAs(*this, name, [](const Variant& v) { return v.AsInteger(); });
}

double Dataset::AsDouble(std::string_view name) const {
  return ReadAs(*this, name, [](const Variant& v) { return v.AsDouble(); });
}

bool Dataset::AsBoolean(std::string_view name) const {
  return ReadAs(*this, name, [](const Variant& v) { return v.AsBoolean(); });
}

DateTime Dataset::AsDateTime(std::string_view name) const {
  return ReadAs(*this, name, [](const Variant& v) { return v.AsDateTime(); });
}

void Dataset::SetValue(std::string_view name, const Variant& value) {
  Impl& d = *impl_;
  d.RequireActive();
  const int field = dataset::RequireField(d.name, d.defs, name);
  if (!d.Editing()) {
    d.Fail(Cp("a tabela não está em modo de edição ou inclusão (campo ") + d.defs[field].name +
           ")");
  }
  d.pending[field] = dataset::ToCell(d.name, d.defs[field], value);
}

void Dataset::SetNull(std::string_view name) { SetValue(name, Variant()); }

// --- Filter and locate -------------------------------------------------------------------

void Dataset::SetFilter(std::string_view expression) {
  Impl& d = *impl_;
  std::shared_ptr<const dataset::ParsedFilter> parsed;
  if (expression.find_first_not_of(" \t\r\n") != std::string_view::npos) {
    parsed = dataset::ParsedFilter::Parse(d.name, expression);
  }
  if (d.state != State::kInactive && d.filtered) {
    std::optional<dataset::BoundFilter> bound = d.BindFilter(true, parsed, d.defs);
    d.CheckBrowseMode();
    d.filter = std::move(bound);
    d.RebuildView(false);
  }
  d.filter_text = std::string(expression);
  d.parsed_filter = std::move(parsed);
}

const std::string& Dataset::Filter() const { return impl_->filter_text; }

void Dataset::SetFiltered(bool filtered) {
  Impl& d = *impl_;
  if (d.state != State::kInactive) {
    std::optional<dataset::BoundFilter> bound = d.BindFilter(filtered, d.parsed_filter, d.defs);
    d.CheckBrowseMode();
    d.filter = std::move(bound);
    d.RebuildView(false);
  }
  d.filtered = filtered;
}

bool Dataset::Filtered() const { return impl_->filtered; }

bool Dataset::Locate(std::string_view key_fields, const Variant& values, LocateOptions options) {
  Impl& d = *impl_;
  d.RequireActive();
  d.CheckBrowseMode();
  const std::vector<std::string> names = dataset::SplitFieldList(key_fields);
  std::vector<Variant> wanted;
  if (values.IsArray()) {
    wanted = values.AsArray();
  } else {
    wanted.push_back(values);
  }
  if (wanted.size() != names.size()) {
    d.Fail(Cp("Locate com ") + std::to_string(names.size()) + Cp(" campo(s) e ") +
           std::to_string(wanted.size()) + Cp(" valor(es)"));
  }
  struct Key {
    int field;
    bool text;
    dataset::Cell value;
  };
  std::vector<Key> keys;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const int field = dataset::RequireField(d.name, d.defs, names[i]);
    const FieldDef& def = d.defs[field];
    // A text key is not cut to the field size: a longer key matches nothing.
    keys.push_back({field, def.type == FieldType::kText,
                    dataset::ToCell(d.name, def, wanted[i], /*cut=*/false)});
  }
  const auto matches = [&](const Row& row) {
    for (const Key& key : keys) {
      const dataset::Cell& cell = row[key.field];
      if (key.text) {
        const std::string_view a = dataset::CellText(cell);
        const std::string_view b = dataset::CellText(key.value);
        if (options.case_insensitive ? !dataset::EqualTextIgnoringCase(a, b)
                                     : dataset::CompareText(a, b) != 0) {
          return false;
        }
      } else if (dataset::CompareCells(cell, key.value) != 0) {
        return false;
      }
    }
    return true;
  };
  for (std::size_t i = 0; i < d.view.size(); ++i) {
    if (matches(d.rows[d.view[i]])) {
      d.cursor = static_cast<int>(i);
      d.bof = d.eof = false;
      return true;
    }
  }
  return false;
}

}  // namespace zel
