// The dataset's own binary format, shared by data packets and files:
//
//   "ZDSP"            4 bytes, magic
//   version           u16 (1)
//   field count       u32 (at least 1)
//   per field         name length u16 (at least 1), name bytes, type u8
//                     (1 text, 2 integer, 3 float, 4 Boolean, 5 date-time),
//                     size u32 (text: at least 1; others: 0)
//   row count         u32
//   per row, per field: u8 0 (null) or 1 followed by the value:
//                     text: length u32 (1..size) and the bytes; integer: i64;
//                     float and date-time: IEEE double (never NaN); Boolean: u8 0/1
//   checksum          u32, CRC-32 of every byte before it
//
// All integers little-endian. Anything else (a short read, trailing bytes,
// a bad type, a length past the end, a wrong checksum) is refused.
#ifndef ZEL_HOST_DATASET_PACKET_H_
#define ZEL_HOST_DATASET_PACKET_H_

#include <string>
#include <string_view>
#include <vector>

#include "host/dataset_value.h"

namespace zel::dataset {

inline constexpr std::string_view kPacketMagic = "ZDSP";
inline constexpr unsigned kPacketVersion = 1;

struct Table {
  std::vector<FieldDef> fields;
  std::vector<Row> rows;
};

std::string EncodePacket(const std::vector<FieldDef>& fields, const std::vector<Row>& rows);

// Parses a whole packet. Raises zel::Error "Tabela <table>: <source> ...
// byte N: <problem>", where `source` says where the bytes came from ("pacote
// de dados", "arquivo 'C:\x.cds'") and N is the 0-based offset at which the
// problem was seen.
Table DecodePacket(std::string_view table, std::string_view source, std::string_view bytes);

// CRC-32 (the common polynomial 0xEDB88320).
std::uint32_t Crc32(std::string_view bytes);

}  // namespace zel::dataset

#endif  // ZEL_HOST_DATASET_PACKET_H_
