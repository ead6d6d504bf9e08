// Loading shared libraries by their Windows names.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/env.h"
#include "platform/scoped_environment.h"
#include "support/temp_dir.h"

namespace zel {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

// The file a Windows library name stands for on this system ("ZelProbe":
// libZelProbe.so on Linux, ZelProbe.dll on Windows).
std::string LibraryFile(const std::string& stem) {
  return ZEL_LIBRARY_FILE_PREFIX + stem + ZEL_LIBRARY_FILE_SUFFIX;
}

// Two directories as one ZEL_LIBRARY_PATH: ';' between them where libraries
// are DLLs (Windows), ':' elsewhere.
std::string PathList(const std::string& first, const std::string& second) {
  const bool windows = std::string_view(ZEL_LIBRARY_FILE_SUFFIX) == ".dll";
  return first + (windows ? ";" : ":") + second;
}

using TwiceAndOne = int (*)(int);
using CopyName = const char* (*)();

// Which build of the probe library a handle holds.
std::string CopyOf(Env* env, LibraryHandle library) {
  auto copy = reinterpret_cast<CopyName>(env->GetSymbol(library, "ZelProbeCopy"));
  return copy != nullptr ? copy() : "(no ZelProbeCopy)";
}

class LibraryLoadingTest : public ::testing::Test {
 protected:
  Env* env_ = Env::Default();
};

TEST_F(LibraryLoadingTest, AWindowsNameIsFoundThroughZelLibraryPath) {
  ScopedEnvironmentVariable path("ZEL_LIBRARY_PATH",
                                 PathList("/nonexistent", ZEL_PROBE_LIBRARY_DIR));
  const LibraryHandle library = env_->OpenLibrary("ZelProbe.dll");
  ASSERT_NE(library, nullptr) << env_->LastLibraryError();
  auto twice_and_one =
      reinterpret_cast<TwiceAndOne>(env_->GetSymbol(library, "ZelProbeTwiceAndOne"));
  ASSERT_NE(twice_and_one, nullptr) << env_->LastLibraryError();
  EXPECT_EQ(twice_and_one(20), 41);
  EXPECT_EQ(CopyOf(env_, library), "library folder");
}

TEST_F(LibraryLoadingTest, TheNameMatchesInAnyCase) {
  ScopedEnvironmentVariable path("ZEL_LIBRARY_PATH", ZEL_PROBE_LIBRARY_DIR);
  const LibraryHandle library = env_->OpenLibrary("zelprobe.DLL");
  ASSERT_NE(library, nullptr) << env_->LastLibraryError();
  EXPECT_EQ(CopyOf(env_, library), "library folder");
}

TEST_F(LibraryLoadingTest, ALibraryBesideTheProgramIsFoundWithoutTheVariable) {
  ScopedEnvironmentVariable path("ZEL_LIBRARY_PATH", std::nullopt);
  const LibraryHandle library = env_->OpenLibrary("ZelProbeBeside.dll");
  ASSERT_NE(library, nullptr) << env_->LastLibraryError();
  EXPECT_EQ(CopyOf(env_, library), "beside the program");
}

TEST_F(LibraryLoadingTest, ZelLibraryPathComesBeforeThePlaceBesideTheProgram) {
  TempDir folder;
  // The library-folder build under the name of the one beside the program.
  fs::copy_file(ZEL_PROBE_LIBRARY_FILE, folder.Join(LibraryFile("ZelProbeBeside")));
  ScopedEnvironmentVariable path("ZEL_LIBRARY_PATH", folder.path());
  const LibraryHandle library = env_->OpenLibrary("ZelProbeBeside.dll");
  ASSERT_NE(library, nullptr) << env_->LastLibraryError();
  EXPECT_EQ(CopyOf(env_, library), "library folder");
}

TEST_F(LibraryLoadingTest, ANameWithADirectoryIsLoadedFromThereOnly) {
  ScopedEnvironmentVariable path("ZEL_LIBRARY_PATH", std::nullopt);
  const LibraryHandle library = env_->OpenLibrary(ZEL_PROBE_LIBRARY_DIR "\\ZelProbe.dll");
  ASSERT_NE(library, nullptr) << env_->LastLibraryError();
  EXPECT_EQ(CopyOf(env_, library), "library folder");

  TempDir empty;
  EXPECT_EQ(env_->OpenLibrary(empty.Join("ZelProbeBeside.dll")), nullptr);
  EXPECT_THAT(env_->LastLibraryError(), HasSubstr(env_->MapPath(empty.path())));
}

TEST_F(LibraryLoadingTest, AMissingLibraryGivesNullAndSaysWhereItLooked) {
  ScopedEnvironmentVariable path("ZEL_LIBRARY_PATH", ZEL_PROBE_LIBRARY_DIR);
  EXPECT_EQ(env_->OpenLibrary("NoSuchVendor.dll"), nullptr);
  const std::string reason = env_->LastLibraryError();
  EXPECT_THAT(reason, HasSubstr(LibraryFile("NoSuchVendor")));
  EXPECT_THAT(reason, HasSubstr(env_->MapPath(ZEL_PROBE_LIBRARY_DIR)));
}

TEST_F(LibraryLoadingTest, TheFirstFileFoundIsTheOneTriedEvenWhenItIsBroken) {
  TempDir folder;
  std::ofstream(folder.Join(LibraryFile("ZelProbe"))) << "not a shared object";
  ScopedEnvironmentVariable path("ZEL_LIBRARY_PATH",
                                 PathList(folder.path(), ZEL_PROBE_LIBRARY_DIR));
  EXPECT_EQ(env_->OpenLibrary("ZelProbe.dll"), nullptr);
  EXPECT_THAT(env_->LastLibraryError(),
              HasSubstr(env_->MapPath(folder.Join(LibraryFile("ZelProbe")))));
}

TEST_F(LibraryLoadingTest, AMissingSymbolGivesNullAndItsName) {
  ScopedEnvironmentVariable path("ZEL_LIBRARY_PATH", ZEL_PROBE_LIBRARY_DIR);
  const LibraryHandle library = env_->OpenLibrary("ZelProbe.dll");
  ASSERT_NE(library, nullptr) << env_->LastLibraryError();
  EXPECT_EQ(env_->GetSymbol(library, "Bematech_FI_NaoExiste"), nullptr);
  EXPECT_THAT(env_->LastLibraryError(), HasSubstr("Bematech_FI_NaoExiste"));
  EXPECT_EQ(env_->GetSymbol(nullptr, "ZelProbeTwiceAndOne"), nullptr);
}

TEST_F(LibraryLoadingTest, LoadingTwiceGivesTheSameLibrary) {
  ScopedEnvironmentVariable path("ZEL_LIBRARY_PATH", ZEL_PROBE_LIBRARY_DIR);
  const LibraryHandle first = env_->OpenLibrary("ZelProbe.dll");
  ASSERT_NE(first, nullptr) << env_->LastLibraryError();
  EXPECT_EQ(env_->OpenLibrary("ZelProbe.dll"), first);
}

}  // namespace
}  // namespace zel
