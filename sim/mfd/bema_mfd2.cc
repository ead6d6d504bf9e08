#include "bema_mfd2.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "tape_files.h"
#include "text.h"
#include "type_e_records.h"
#include "windows_paths.h"

namespace bemamfd2 {
namespace {

// What went wrong, as the entry's result.
struct Failure {
  int code;
};

ecfsim::DetailTapeDownload ReadDownload(const std::string& source) {
  std::ifstream in(ecfsim::RealPath(source), std::ios::binary);
  if (!in) throw Failure{kMfdCannotRead};
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) throw Failure{kMfdCannotRead};
  try {
    return ecfsim::DecodeDownload(bytes);
  } catch (const std::invalid_argument&) {
    throw Failure{kMfdBadArgument};
  }
}

// Writes the lines beside the target first and renames them over it.
void WriteWhole(const std::string& target, const std::vector<std::string>& lines) {
  const std::string real = ecfsim::RealPath(target);
  if (real.empty()) throw Failure{kMfdCannotWrite};
  const std::string temporary = real + ".parcial";
  try {
    ecfsim::WriteCrLfFile(temporary, lines);
  } catch (const std::exception&) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    throw Failure{kMfdCannotWrite};
  }
  std::error_code error;
  std::filesystem::rename(temporary, real, error);
  if (error) {
    std::filesystem::remove(temporary, error);
    throw Failure{kMfdCannotWrite};
  }
}

template <typename Work>
int Run(Work work) {
  try {
    work();
    return 1;
  } catch (const Failure& failure) {
    return failure.code;
  } catch (const std::invalid_argument&) {
    return kMfdBadArgument;
  } catch (const std::exception&) {
    return kMfdCannotWrite;
  }
}

}  // namespace
}  // namespace bemamfd2

int BemaGeraTxtPorCOO(const char* source, const char* target, int user, int first_coo,
                      int last_coo) {
  return bemamfd2::Run([&] {
    const ecfsim::DetailTapeDownload download = bemamfd2::ReadDownload(ecfsim::Arg(source));
    if (user < 1 || user > download.identity.user_number || first_coo < 0 || first_coo > last_coo) {
      throw bemamfd2::Failure{kMfdBadArgument};
    }
    const ecfsim::DetailTapeRange range{ecfsim::DetailTapeRange::Kind::kByCoo, first_coo, last_coo};
    bemamfd2::WriteWhole(ecfsim::Arg(target), ecfsim::MirrorLines(download, range));
  });
}

int BemaGeraRegistrosTipoE(const char* source, const char* target, const char* first_date,
                           const char* last_date, const char* software_name,
                           const char* software_version, const char* /*reserved7*/,
                           const char* layout, const char* /*reserved9*/,
                           const char* /*reserved10*/, const char* /*reserved11*/,
                           const char* /*reserved12*/, const char* /*reserved13*/,
                           const char* /*reserved14*/, const char* /*reserved15*/,
                           const char* /*reserved16*/, const char* /*reserved17*/,
                           const char* /*reserved18*/, const char* /*reserved19*/,
                           const char* /*reserved20*/, const char* /*reserved21*/) {
  return bemamfd2::Run([&] {
    if (ecfsim::Trim(ecfsim::Arg(layout)) != "2") throw bemamfd2::Failure{kMfdBadArgument};
    const ecfsim::DetailTapeRange dates = ecfsim::ParseDetailTapeRange(
        "1", ecfsim::Trim(ecfsim::Arg(first_date)), ecfsim::Trim(ecfsim::Arg(last_date)));
    const ecfsim::DetailTapeDownload download = bemamfd2::ReadDownload(ecfsim::Arg(source));
    bemamfd2::WriteWhole(
        ecfsim::Arg(target),
        bemamfd2::TypeERecords(download, dates,
                               {ecfsim::Arg(software_name), ecfsim::Arg(software_version)}));
  });
}
