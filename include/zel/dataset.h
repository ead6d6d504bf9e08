// zel::Dataset is an in-memory table in the manner of the host's client
// datasets: typed fields, a cursor, editing, a filter, locate, named indexes,
// a data packet that carries structure and rows, and a file of its own.
//
// Ownership: a Dataset owns its field and index definitions and its rows;
// values are copied in and out as zel::Variant. Data packets are
// self-contained bytes (zel::Packet inside a Variant).
// Empty values: every field may be null (an empty Variant). A text field
// holding an empty text is null, as in the host's framework.
// Errors: bad input (an unknown field or index, a filter that does not parse,
// a value that does not fit its field, a truncated or corrupt packet or file)
// raises zel::Error naming the table and the field or byte position; the
// messages are Portuguese Windows-1252 text, fit to show the operator. A
// failed load or SetData leaves the dataset exactly as it was.
// Files: read and written through zel::Env, so paths may keep their Windows
// spelling; a file that cannot be read or written raises zel::FileError.
// Threading: not thread-safe; the driver is called from one host thread.
#ifndef ZEL_DATASET_H_
#define ZEL_DATASET_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "zel/date_time.h"
#include "zel/variant.h"

namespace zel {

enum class FieldType : std::uint8_t { kText = 1, kInteger, kFloat, kBoolean, kDateTime };

struct FieldDef {
  std::string name;
  FieldType type = FieldType::kText;
  int size = 0;  // Text fields: the most bytes a value keeps (>= 1). Others: 0.
};

struct LocateOptions {
  bool case_insensitive = false;  // Text values compare ignoring letter case.
};

class Dataset {
 public:
  enum class State { kInactive, kBrowse, kEdit, kInsert };

  // `name` appears in every error message ("cdsTipoRece").
  explicit Dataset(std::string name);
  ~Dataset();
  // A moved-from Dataset may only be destroyed or assigned to.
  Dataset(Dataset&&) noexcept;
  Dataset& operator=(Dataset&&) noexcept;
  Dataset(const Dataset&) = delete;
  Dataset& operator=(const Dataset&) = delete;

  const std::string& Name() const;

  // --- Structure -----------------------------------------------------------
  // Field definitions (the design-time fields) may change only while the
  // dataset is closed. Names are unique ignoring case; a text field needs a
  // size of at least 1.
  void AddField(std::string name, FieldType type, int size = 0);
  void SetFieldDefs(std::vector<FieldDef> defs);
  // The fields of the table as it stands: the definitions, or the layout the
  // last packet or file brought.
  const std::vector<FieldDef>& FieldDefs() const;
  int FieldCount() const;
  // Position of the field named `name` (case ignored), or -1.
  int FieldIndex(std::string_view name) const;

  // Declares a named index: `fields` and `descending_fields` are lists of
  // field names separated by ';' ("NRORDTROCO;DTHRINCMOV", "DTHRINCMOV").
  // Field names are checked when the index is used, so an index may be
  // declared before the fields come with a data packet.
  void AddIndex(std::string name, std::string_view fields, std::string_view descending_fields = {});
  // Makes the cursor walk in the order of the named index (case ignored);
  // an empty name restores the natural order (the order rows were added in).
  // Rows with equal keys keep their natural order. The current row stays
  // current. The choice survives Close, Open and SetData.
  void SetIndexName(std::string_view name);
  const std::string& IndexName() const;

  // --- Life cycle ----------------------------------------------------------
  // Creates an empty table from the field definitions and opens it,
  // discarding any rows (a table without definitions of its own keeps the
  // layout of the last packet or file).
  void CreateDataSet();
  // With a file name: loads that file. Without: same as CreateDataSet.
  // Does nothing when already open.
  void Open();
  // Posts a pending edit; with a file name, writes the table back to that
  // file first (when writing fails the dataset stays open and the error is
  // raised). Then drops the rows; definitions, index and filter stay.
  void Close();
  bool Active() const;
  State state() const;
  // Deletes every row; the dataset stays open.
  void EmptyDataSet();

  // File written back on Close and loaded by Open; empty for none.
  void SetFileName(std::string path);
  const std::string& FileName() const;

  // --- Data packets and files ----------------------------------------------
  // The whole table (structure and every row in natural order, ignoring the
  // filter) as a Variant of kind Packet. Posts a pending edit first. A closed
  // dataset gives its structure with no rows.
  Variant Data();
  // Replaces structure and rows with those of `packet` and opens the dataset
  // on its first row. Index and filter are kept and applied to the new rows.
  void SetData(const Variant& packet);
  // Writes the whole table (as Data) to a file, replacing it; the dataset
  // must be open. LoadFromFile replaces the table as SetData does.
  void SaveToFile(const std::string& path);
  void LoadFromFile(const std::string& path);

  // --- Cursor --------------------------------------------------------------
  // The cursor walks the rows that pass the filter, in the index order.
  // Moving posts a pending edit. Eof is true after Next on the last row (or
  // after Last), Bof after Prior on the first row (or after First); both are
  // true when no row is visible. The current row stays the last (first) one.
  void First();
  void Next();
  void Prior();
  void Last();
  bool Eof() const;
  bool Bof() const;
  // 1-based position of the current row among the visible rows; 0 when none
  // is visible or a new row is being inserted.
  int RecNo() const;
  // Number of visible rows (0 when closed).
  int RecordCount() const;
  bool IsEmpty() const;

  // --- Editing -------------------------------------------------------------
  // Insert starts a new row placed before the current one in natural order;
  // Append one placed after the last. Edit starts changing the current row
  // (on an empty dataset it inserts). Post stores the pending row, Cancel
  // drops it; both do nothing when nothing is pending. Delete removes the
  // current row (cancels a pending insertion) and makes the next row current,
  // or the new last row with Eof set when the deleted row was the last.
  void Insert();
  void Append();
  void Edit();
  void Post();
  void Cancel();
  void Delete();

  // --- Fields of the current row -------------------------------------------
  // `name` ignores case; an unknown name raises. With no current row every
  // field reads as null. Reading converts the field's value by the host's
  // rules (see zel::Variant); a value that does not convert raises.
  Variant FieldValue(std::string_view name) const;
  bool IsNull(std::string_view name) const;
  std::string AsText(std::string_view name) const;
  std::int64_t AsInteger(std::string_view name) const;
  double AsDouble(std::string_view name) const;
  bool AsBoolean(std::string_view name) const;
  DateTime AsDateTime(std::string_view name) const;
  // Only in the edit or insert state. The value is converted to the field's
  // type (a text longer than the field's size is cut to it); an empty Variant
  // makes the field null. A value that does not convert raises and leaves
  // the field unchanged.
  void SetValue(std::string_view name, const Variant& value);
  void SetNull(std::string_view name);

  // --- Filter and locate ---------------------------------------------------
  // Filter expression: comparisons (= <> < > <= >=) between fields and
  // quoted texts ('x' or "x", a doubled quote stands for itself) or numbers,
  // joined with AND, OR, NOT and parentheses; keywords ignore case. Texts
  // compare byte by byte ignoring trailing blanks. A null text field reads
  // as the empty text; any other null field equals nothing, so only <> holds
  // for it. The expression is checked at once (a parse error raises and
  // keeps the previous filter) and bound to the fields when the filter
  // applies. Changing the filter or turning it on or off moves to the first
  // visible row. An empty expression filters nothing.
  void SetFilter(std::string_view expression);
  const std::string& Filter() const;
  void SetFiltered(bool filtered);
  bool Filtered() const;

  // Moves to the first visible row (in the current order) whose fields
  // `key_fields` ("CDFAMILISALD;IDTPMOVEXT") equal `values` (one value for
  // one field, an array of values for several). Returns false and leaves the
  // cursor where it was when no row matches. Texts ignore trailing blanks.
  bool Locate(std::string_view key_fields, const Variant& values, LocateOptions options = {});

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace zel

#endif  // ZEL_DATASET_H_
