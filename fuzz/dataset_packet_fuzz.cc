// The dataset's packet and file format: the bytes a host passes as a data
// packet and the bytes of a table file (Ploteva.cds, cdsVenda.cds) go
// through the same decoder. Any input is either refused with zel::Error or
// gives a table that encodes back to the very same bytes and loads into a
// dataset whose rows can all be read.
//
// Most random inputs stop at the checksum, so each input is also tried with
// its last four bytes replaced by the right checksum, which takes the
// fuzzer past it into the fields and rows.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "host/dataset_packet.h"
#include "zel/dataset.h"
#include "zel/error.h"
#include "zel/variant.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void Load(const std::string& bytes) {
  zel::dataset::Table table;
  try {
    table = zel::dataset::DecodePacket("fuzz", "pacote de dados", bytes);
  } catch (const zel::Error&) {
    return;
  }
  // Decoding is exact: what loads writes back byte for byte.
  Check(zel::dataset::EncodePacket(table.fields, table.rows) == bytes);

  zel::Dataset dataset("fuzz");
  dataset.SetData(zel::Variant(zel::Packet{bytes}));
  Check(dataset.RecordCount() == static_cast<int>(table.rows.size()));
  for (dataset.First(); !dataset.Eof(); dataset.Next()) {
    for (const zel::FieldDef& field : dataset.FieldDefs()) {
      const zel::Variant value = dataset.FieldValue(field.name);
      try {
        value.AsText();
      } catch (const zel::Error&) {
        // A date-time out of the calendar has no text; refusing is right.
      }
    }
  }
  Check(dataset.Data().AsPacket().bytes == bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  Load(bytes);
  if (size > 4) {
    std::string sealed = bytes;
    const std::uint32_t crc = zel::dataset::Crc32(std::string_view(sealed).substr(0, size - 4));
    for (int i = 0; i < 4; ++i) sealed[size - 4 + i] = static_cast<char>((crc >> (8 * i)) & 0xFF);
    if (sealed != bytes) Load(sealed);
  }
  return 0;
}
