#include "fiscal_menu_fixture.h"

#include "host/codepage.h"
#include "platform/env.h"
#include "zel/error.h"

namespace zel {

void FiscalMenuFixture::SetUp() {
  DriverFixture::SetUp();
  BindPrinterEntries();
  env_.CreateDirectories("C:\\MenuFiscal");
  saved_directory_ = Env::Default()->CurrentDirectory();
  ChangeCurrentDirectory(env_.CurrentDirectory());
}

void FiscalMenuFixture::TearDown() {
  ChangeCurrentDirectory(saved_directory_);
  DriverFixture::TearDown();
}

std::vector<Variant> FiscalMenuFixture::MenuArray(
    std::initializer_list<std::pair<int, Variant>> values) {
  std::vector<Variant> params(9);
  for (const auto& [index, value] : values) {
    if (static_cast<std::size_t>(index) >= params.size()) params.resize(index + 1);
    params[index] = value;
  }
  return params;
}

bool FiscalMenuFixture::CallArrayOp(const char* name, const std::vector<Variant>& params) {
  Variant untouched = "untouched";
  const bool result = Op<ArrayOp>(name)(params, untouched);
  EXPECT_EQ(untouched, Variant("untouched")) << name << " wrote its by-reference argument";
  return result;
}

std::string FiscalMenuFixture::FileText(const std::string& path) { return env_.ReadFile(path); }

int FiscalMenuFixture::Validate(const std::string& path) {
  LibraryHandle library = Env::Default()->OpenLibrary("sign_bema.dll");
  auto* validate = reinterpret_cast<int (*)(const char*, const char*, const char*)>(
      RequireSymbol(library, "libsign_bema.so", "validateFile"));
  const std::string modulus = Op<std::string()>("ChavePublicaEad")();
  const std::string exponent = Op<std::string()>("ExpoentePublicoEad")();
  return validate(env_.MapPath(path).c_str(), modulus.c_str(), exponent.c_str());
}

std::vector<std::string> FiscalMenuFixture::Dialogs() {
  std::vector<std::string> texts;
  for (const std::string& text : host_.DialogTexts()) texts.push_back(Cp1252ToUtf8(text));
  return texts;
}

std::vector<std::string> FiscalMenuFixture::MenuFiles() {
  return env_.ListFiles("C:\\MenuFiscal", "*");
}

void FiscalMenuFixture::FailEntry(const char* entry, int code, int times) {
  Sim<void(const char*, int, int)>("EcfSim_FailEntry")(entry, code, times);
}

void FiscalMenuFixture::PrintSupplies(int count) {
  auto* supply = Sim<int(const char*, const char*)>("Bematech_FI_Suprimento");
  for (int i = 0; i < count; ++i) ASSERT_EQ(supply("10,00", "Dinheiro"), 1);
}

}  // namespace zel
