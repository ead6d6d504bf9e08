// The signing stand-in on its own, loaded as the driver loads it: the
// signature record, its check, the refusals, and a key pair of its own.
#include "sign_bema.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/env.h"
#include "support/temp_dir.h"

namespace zel {
namespace {

using ::testing::EndsWith;
using ::testing::StartsWith;

// The driver's public key (src/fiscalmenu/ead_public.pem).
constexpr char kModulus[] =
    "EE2C05A6AA3118F5C44AC27EE3F409A33EE242FA003C915C8593A3F00CF4B458"
    "DCD11590666489A8A59BF01F81C433FF7F835A361C453F0652F25521AD748E5F"
    "587FC8675ED82D5DF07522120AFD22ADE61A7951EB468EF2F8319B4123ED2351"
    "A79FE2BD8739FF28F2AAB95CF0CCD5FC04712D1BB829C8AAD6639BFC15AD0F15";

class SignBemaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    library_ = Env::Default()->OpenLibrary("sign_bema.dll");
    ASSERT_NE(library_, nullptr) << Env::Default()->LastLibraryError();
    genkkey_ = Entry<decltype(genkkey)>("genkkey");
    generate_ = Entry<decltype(generateEAD)>("generateEAD");
    validate_ = Entry<decltype(validateFile)>("validateFile");
    set_type_ = Entry<decltype(setLibType)>("setLibType");
    char modulus[257], exponent[257];
    ASSERT_EQ(genkkey_(modulus, exponent), 1);
    modulus_ = modulus;
    private_exponent_ = exponent;
  }
  template <typename Function>
  Function* Entry(const char* name) {
    return reinterpret_cast<Function*>(Env::Default()->GetSymbol(library_, name));
  }
  std::string Path(const char* name) { return dir_.Join(name); }
  std::string Write(const char* name, const std::string& bytes) {
    Env::Default()->WriteFile(Path(name), bytes);
    return Path(name);
  }
  std::string Read(const std::string& path) { return Env::Default()->ReadFile(path); }
  int Sign(const std::string& path, char* work = nullptr) {
    return generate_(path.c_str(), modulus_.c_str(), private_exponent_.c_str(), work, 1);
  }
  int Check(const std::string& path) { return validate_(path.c_str(), modulus_.c_str(), "10001"); }

  TempDir dir_;
  LibraryHandle library_ = nullptr;
  decltype(genkkey)* genkkey_ = nullptr;
  decltype(generateEAD)* generate_ = nullptr;
  decltype(validateFile)* validate_ = nullptr;
  decltype(setLibType)* set_type_ = nullptr;
  std::string modulus_, private_exponent_;
};

// Whatever the file holds, the record goes on a line of its own after it
// and signs exactly the bytes before it.
TEST_F(SignBemaTest, RecordSignsEveryByteBeforeIt) {
  struct Case {
    const char* name;
    std::string text;
    std::string signed_part;
  };
  const Case cases[] = {
      {"empty", "", ""},
      {"crlf", "linha 1\r\nlinha 2\r\n", "linha 1\r\nlinha 2\r\n"},
      {"lf", "linha\n", "linha\n"},
      {"no final break", "sem quebra", "sem quebra\r\n"},
      {"a record-like line inside", "EAD00\r\nfim\r\n", "EAD00\r\nfim\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Write("f.txt", c.text);
    char work[256];

    ASSERT_EQ(Sign(path, work), 1);

    const std::string signed_file = Read(path);
    ASSERT_EQ(signed_file.size(), c.signed_part.size() + 261);
    EXPECT_EQ(signed_file.substr(0, c.signed_part.size()), c.signed_part);
    EXPECT_THAT(signed_file, EndsWith(std::string(work, 256) + "\r\n"));
    EXPECT_THAT(signed_file.substr(c.signed_part.size()), StartsWith("EAD"));
    EXPECT_EQ(Check(path), 1);
  }
}

TEST_F(SignBemaTest, ChecksFailForChangesOtherKeysAndUnsignedFiles) {
  const std::string path = Write("f.txt", "conteudo\r\n");
  EXPECT_EQ(Check(path), 0);
  ASSERT_EQ(Sign(path), 1);
  EXPECT_EQ(validate_(path.c_str(), kModulus, ""), 0);  // another key

  std::string changed = Read(path);
  changed[0] = 'C';
  Env::Default()->WriteFile(path, changed);
  EXPECT_EQ(Check(path), 0);

  changed = Read(path);
  changed[changed.size() - 3] = changed[changed.size() - 3] == '0' ? '1' : '0';
  changed[0] = 'c';
  Env::Default()->WriteFile(path, changed);
  EXPECT_EQ(Check(path), 0);
}

TEST_F(SignBemaTest, RefusesWhatItCannotDoAndLeavesTheFileAlone) {
  const std::string path = Write("f.txt", "x\r\n");
  ASSERT_EQ(Sign(path), 1);
  const std::string signed_once = Read(path);

  EXPECT_EQ(Sign(path), kSignAlreadySigned);
  EXPECT_EQ(generate_(path.c_str(), "12AB", private_exponent_.c_str(), nullptr, 1), kSignBadKey);
  EXPECT_EQ(generate_(path.c_str(), modulus_.c_str(), private_exponent_.c_str(), nullptr, 2),
            kSignUnknownMode);
  EXPECT_EQ(Read(path), signed_once);
  EXPECT_EQ(Sign(Path("missing.txt")), kSignCannotReadFile);
  EXPECT_EQ(Check(Path("missing.txt")), kSignCannotReadFile);
  EXPECT_EQ(validate_(path.c_str(), "xyz", ""), kSignBadKey);
  EXPECT_EQ(set_type_(1), 1);
  EXPECT_EQ(set_type_(2), kSignUnknownMode);
}

}  // namespace
}  // namespace zel
