#include "host/dataset_packet.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

namespace zel::dataset {
namespace {

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}

constexpr std::array<std::uint32_t, 256> kCrcTable = MakeCrcTable();

// Smallest encoding of one field definition: a one-byte name, type, size.
constexpr std::size_t kMinFieldBytes = 2 + 1 + 1 + 4;

class Writer {
 public:
  void U8(std::uint8_t value) { out_.push_back(static_cast<char>(value)); }
  void U16(std::uint16_t value) { Little(value, 2); }
  void U32(std::uint32_t value) { Little(value, 4); }
  void U64(std::uint64_t value) { Little(value, 8); }
  void Bytes(std::string_view bytes) { out_.append(bytes); }
  std::string& out() { return out_; }

 private:
  void Little(std::uint64_t value, int count) {
    for (int i = 0; i < count; ++i) out_.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  }
  std::string out_;
};

class Reader {
 public:
  Reader(std::string_view table, std::string_view source, std::string_view bytes)
      : table_(table), source_(source), bytes_(bytes) {}

  [[noreturn]] void Corrupt(std::size_t at, const std::string& problem) const {
    Fail(table_,
         std::string(source_) + Cp(" inválido no byte ") + std::to_string(at) + ": " + problem);
  }

  std::size_t position() const { return pos_; }
  std::size_t remaining() const { return bytes_.size() - pos_; }

  std::string_view Bytes(std::size_t count, const char* what) {
    if (count > remaining()) {
      Corrupt(pos_, Cp("os dados terminam antes de ") + Cp(what) + " (faltam " +
                        std::to_string(count - remaining()) + " bytes)");
    }
    const std::string_view part = bytes_.substr(pos_, count);
    pos_ += count;
    return part;
  }
  std::uint8_t U8(const char* what) { return static_cast<std::uint8_t>(Little(1, what)); }
  std::uint16_t U16(const char* what) { return static_cast<std::uint16_t>(Little(2, what)); }
  std::uint32_t U32(const char* what) { return static_cast<std::uint32_t>(Little(4, what)); }
  std::uint64_t U64(const char* what) { return Little(8, what); }

 private:
  std::uint64_t Little(int count, const char* what) {
    const std::string_view part = Bytes(count, what);
    std::uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = (value << 8) | static_cast<std::uint8_t>(part[i]);
    return value;
  }

  std::string_view table_;
  std::string_view source_;
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

void WriteCell(Writer& out, const Cell& cell) {
  if (cell.index() == 0) {
    out.U8(0);
    return;
  }
  out.U8(1);
  if (const auto* text = std::get_if<std::string>(&cell)) {
    out.U32(static_cast<std::uint32_t>(text->size()));
    out.Bytes(*text);
  } else if (const auto* integer = std::get_if<std::int64_t>(&cell)) {
    out.U64(static_cast<std::uint64_t>(*integer));
  } else if (const auto* real = std::get_if<double>(&cell)) {
    out.U64(std::bit_cast<std::uint64_t>(*real));
  } else if (const auto* boolean = std::get_if<bool>(&cell)) {
    out.U8(*boolean ? 1 : 0);
  } else {
    out.U64(std::bit_cast<std::uint64_t>(std::get<DateTime>(cell).value));
  }
}

FieldDef ReadFieldDef(Reader& in, const std::vector<FieldDef>& earlier) {
  const std::size_t start = in.position();
  const std::uint16_t name_size = in.U16("o tamanho do nome do campo");
  if (name_size == 0) in.Corrupt(start, Cp("campo sem nome"));
  FieldDef def;
  def.name = std::string(in.Bytes(name_size, "o nome do campo"));
  if (FindField(earlier, def.name) >= 0) {
    in.Corrupt(start, Cp("campo '") + def.name + Cp("' repetido"));
  }
  const std::size_t type_at = in.position();
  def.type = static_cast<FieldType>(in.U8("o tipo do campo"));
  if (!IsValidFieldType(def.type)) {
    in.Corrupt(type_at, Cp("campo '") + def.name + Cp("' com tipo desconhecido ") +
                            std::to_string(static_cast<int>(def.type)));
  }
  const std::size_t size_at = in.position();
  const std::uint32_t size = in.U32("o tamanho do campo");
  const bool text = def.type == FieldType::kText;
  if ((text && (size < 1 || size > INT32_MAX)) || (!text && size != 0)) {
    in.Corrupt(size_at,
               Cp("campo '") + def.name + Cp("' com tamanho inválido ") + std::to_string(size));
  }
  def.size = static_cast<int>(size);
  return def;
}

Cell ReadCell(Reader& in, const FieldDef& def) {
  const std::size_t start = in.position();
  const std::uint8_t presence = in.U8("o valor do campo");
  if (presence == 0) return std::monostate{};
  if (presence != 1) {
    in.Corrupt(start, Cp("marca de valor inválida no campo '") + def.name + "'");
  }
  const std::size_t at = in.position();
  switch (def.type) {
    case FieldType::kText: {
      const std::uint32_t size = in.U32("o tamanho do texto");
      if (size < 1 || size > static_cast<std::uint32_t>(def.size)) {
        in.Corrupt(at, Cp("texto de ") + std::to_string(size) + Cp(" bytes no campo '") + def.name +
                           Cp("' de tamanho ") + std::to_string(def.size));
      }
      return std::string(in.Bytes(size, "o texto"));
    }
    case FieldType::kInteger:
      return static_cast<std::int64_t>(in.U64("o valor inteiro"));
    case FieldType::kFloat: {
      const double value = std::bit_cast<double>(in.U64("o valor real"));
      if (std::isnan(value)) in.Corrupt(at, Cp("valor NAN no campo '") + def.name + "'");
      return value;
    }
    case FieldType::kBoolean: {
      const std::uint8_t value = in.U8("o valor lógico");
      if (value > 1) in.Corrupt(at, Cp("valor lógico inválido no campo '") + def.name + "'");
      return value == 1;
    }
    case FieldType::kDateTime: {
      const double value = std::bit_cast<double>(in.U64("a data"));
      if (!std::isfinite(value)) in.Corrupt(at, Cp("data inválida no campo '") + def.name + "'");
      return DateTime{value};
    }
  }
  in.Corrupt(start, Cp("tipo de campo desconhecido"));
}

}  // namespace

std::uint32_t Crc32(std::string_view bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (char byte : bytes)
    crc = kCrcTable[(crc ^ static_cast<std::uint8_t>(byte)) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

std::string EncodePacket(const std::vector<FieldDef>& fields, const std::vector<Row>& rows) {
  Writer out;
  // Room for the usual case: short texts and 8-byte numbers.
  out.out().reserve(64 + fields.size() * 16 + rows.size() * fields.size() * 12);
  out.Bytes(kPacketMagic);
  out.U16(kPacketVersion);
  out.U32(static_cast<std::uint32_t>(fields.size()));
  for (const FieldDef& def : fields) {
    out.U16(static_cast<std::uint16_t>(def.name.size()));
    out.Bytes(def.name);
    out.U8(static_cast<std::uint8_t>(def.type));
    out.U32(static_cast<std::uint32_t>(def.size));
  }
  out.U32(static_cast<std::uint32_t>(rows.size()));
  for (const Row& row : rows) {
    for (const Cell& cell : row) WriteCell(out, cell);
  }
  out.U32(Crc32(out.out()));
  return std::move(out.out());
}

Table DecodePacket(std::string_view table, std::string_view source, std::string_view bytes) {
  Reader in(table, source, bytes);
  if (in.Bytes(kPacketMagic.size(), "a assinatura") != kPacketMagic) {
    in.Corrupt(0, Cp("assinatura desconhecida (não é uma tabela)"));
  }
  const std::uint16_t version = in.U16("a versão");
  if (version != kPacketVersion) {
    in.Corrupt(kPacketMagic.size(), Cp("versão ") + std::to_string(version) +
                                        Cp(" não suportada (esperada ") +
                                        std::to_string(kPacketVersion) + ")");
  }
  Table result;
  const std::size_t count_at = in.position();
  const std::uint32_t field_count = in.U32("a contagem de campos");
  if (field_count == 0 || field_count > in.remaining() / kMinFieldBytes) {
    in.Corrupt(count_at, Cp("contagem de campos inválida ") + std::to_string(field_count));
  }
  result.fields.reserve(field_count);
  for (std::uint32_t i = 0; i < field_count; ++i) {
    result.fields.push_back(ReadFieldDef(in, result.fields));
  }
  const std::size_t rows_at = in.position();
  const std::uint32_t row_count = in.U32("a contagem de linhas");
  // Every cell takes at least its presence byte.
  if (row_count > in.remaining() / field_count) {
    in.Corrupt(rows_at,
               Cp("contagem de linhas ") + std::to_string(row_count) + Cp(" maior que os dados"));
  }
  result.rows.reserve(row_count);
  for (std::uint32_t r = 0; r < row_count; ++r) {
    Row row;
    row.reserve(field_count);
    for (const FieldDef& def : result.fields) row.push_back(ReadCell(in, def));
    result.rows.push_back(std::move(row));
  }
  const std::size_t sum_at = in.position();
  if (in.remaining() > 4) {
    in.Corrupt(sum_at, std::to_string(in.remaining() - 4) + Cp(" bytes a mais depois das linhas"));
  }
  const std::uint32_t expected = in.U32("a soma de verificação");
  if (Crc32(bytes.substr(0, sum_at)) != expected) {
    in.Corrupt(sum_at, Cp("soma de verificação não confere"));
  }
  return result;
}

}  // namespace zel::dataset
