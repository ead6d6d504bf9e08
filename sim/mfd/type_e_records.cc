#include "type_e_records.h"

#include "text.h"

namespace bemamfd2 {
namespace {

constexpr int kLineWidth = 48;

std::string Field(const std::string& text, int width) { return ecfsim::PadRight(text, width); }

}  // namespace

std::vector<std::string> TypeERecords(const ecfsim::DetailTapeDownload& download,
                                      const ecfsim::DetailTapeRange& dates,
                                      const SoftwareIdentity& software) {
  using ecfsim::Digits;
  const ecfsim::PrinterIdentity& identity = download.identity;
  std::vector<std::string> records = {
      "E01" + Field(identity.serial_number, 20) + Field(identity.brand, 20) +
          Field(identity.model, 20) + Digits(dates.first, 8) + Digits(dates.last, 8) +
          Field(software.name, 40) + Field(software.version, 10),
      "E02" + Field(identity.owner_cnpj, 18) + Field(identity.owner_ie, 15) +
          Digits(identity.user_number, 2),
  };
  for (const ecfsim::PrintedDocument& document :
       ecfsim::SelectDocuments(download.documents, dates)) {
    const std::string coo = Digits(document.coo, 6);
    records.push_back("E14" + coo + Field(document.kind, 8) + Digits(document.printed_at, 14) +
                      Digits(static_cast<std::int64_t>(document.lines.size()), 4));
    for (std::size_t i = 0; i < document.lines.size(); ++i) {
      records.push_back("E15" + coo + Digits(static_cast<std::int64_t>(i + 1), 4) +
                        Field(document.lines[i], kLineWidth));
    }
  }
  records.push_back("E99" + Digits(static_cast<std::int64_t>(records.size()), 8));
  return records;
}

}  // namespace bemamfd2
