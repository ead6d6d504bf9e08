// Host values: a Variant of any kind, nested arrays and packets included,
// read with every host conversion, looked up as a parameter array, and
// stored into a dataset field of every type. Each step either gives a value
// or raises zel::Error; nothing else may happen. The decimal separator is
// taken from the input too, so both ',' and '.' are exercised.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "fuzz_input.h"
#include "zel/dataset.h"
#include "zel/date_time.h"
#include "zel/error.h"
#include "zel/format_settings.h"
#include "zel/variant.h"

namespace {

using zel::fuzz::FuzzInput;

constexpr int kMostDepth = 4;
constexpr int kMostElements = 8;

zel::Variant MakeVariant(FuzzInput& in, int depth) {
  switch (in.Byte() % 8) {
    case 0:
      return zel::Variant();
    case 1:
      return zel::Variant(in.Flag());
    case 2: {
      std::int64_t value = 0;
      for (int i = 0; i < 8; ++i) value = static_cast<std::int64_t>((value << 8) | in.Byte());
      return zel::Variant(value);
    }
    case 3:
      return zel::Variant(in.Double());
    case 4:
      return zel::Variant(in.Text());
    case 5:
      return zel::Variant(zel::DateTime{in.Double()});
    case 6: {
      zel::VariantArray elements;
      if (depth < kMostDepth) {
        const int count = in.Byte() % (kMostElements + 1);
        for (int i = 0; i < count; ++i) elements.push_back(MakeVariant(in, depth + 1));
      }
      return zel::Variant(std::move(elements));
    }
    default:
      return zel::Variant(zel::Packet{in.Text()});
  }
}

template <typename Conversion>
void Try(Conversion conversion) {
  try {
    conversion();
  } catch (const zel::Error&) {
    // Refused with a message: the host's rule for a value that does not
    // convert.
  }
}

void Convert(const zel::Variant& value) {
  Try([&] { value.AsBoolean(); });
  Try([&] { value.AsInteger(); });
  Try([&] { value.AsDouble(); });
  Try([&] { value.AsText(); });
  Try([&] { value.AsDateTime(); });
  Try([&] { value.AsArray(); });
  Try([&] { value.AsPacket(); });
}

zel::Dataset& Row() {
  static zel::Dataset* row = [] {
    auto* data = new zel::Dataset("cdsFuzz");
    data->AddField("T", zel::FieldType::kText, 8);
    data->AddField("I", zel::FieldType::kInteger);
    data->AddField("F", zel::FieldType::kFloat);
    data->AddField("B", zel::FieldType::kBoolean);
    data->AddField("D", zel::FieldType::kDateTime);
    data->CreateDataSet();
    data->Append();
    data->Post();
    return data;
  }();
  return *row;
}

void Store(const zel::Variant& value) {
  zel::Dataset& row = Row();
  for (const char* field : {"T", "I", "F", "B", "D"}) {
    row.Edit();
    Try([&] { row.SetValue(field, value); });
    row.Post();
    Try([&] { row.AsText(field); });
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  zel::FormatSettings settings;
  if (in.Flag()) {
    settings.decimal_separator = '.';
    settings.thousand_separator = ',';
  }
  zel::SetFormatSettings(settings);

  const zel::Variant value = MakeVariant(in, 0);
  Convert(value);
  if (value.IsArray()) {
    for (const zel::Variant& element : value.AsArray()) Convert(element);
  }
  const std::string name = in.Text(16);
  Try([&] { Convert(zel::RecebeParams(value, name)); });
  Store(value);
  return 0;
}
