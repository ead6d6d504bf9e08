#include "platform/path_spelling.h"

#include <gtest/gtest.h>

#include <string>

namespace zel {
namespace {

std::string Spell(std::string_view path) {
  return SpellRealPath(
      path, [](char letter) { return std::string("/drives/") + letter; },
      [] { return std::string("/work/here"); });
}

TEST(SpellRealPathTest, DriveRootsMapToTheirDirectoriesInEitherCase) {
  EXPECT_EQ(Spell("C:\\MenuFiscal\\LMFC_1.txt"), "/drives/C/MenuFiscal/LMFC_1.txt");
  EXPECT_EQ(Spell("c:\\Download.MFD"), "/drives/C/Download.MFD");
  EXPECT_EQ(Spell("d:\\x"), "/drives/D/x");
  EXPECT_EQ(Spell("C:\\"), "/drives/C");
  EXPECT_EQ(Spell("C:"), "/drives/C");
  EXPECT_EQ(Spell("C:Bema"), "/drives/C/Bema");  // relative to the drive's root here
}

TEST(SpellRealPathTest, ALeadingBackslashIsTheRootOfDriveC) {
  EXPECT_EQ(Spell("\\Dados\\a.txt"), "/drives/C/Dados/a.txt");
}

TEST(SpellRealPathTest, RelativePathsHangBelowTheCurrentDirectory) {
  EXPECT_EQ(Spell("Dados\\Reducoes"), "/work/here/Dados/Reducoes");
  EXPECT_EQ(Spell("Download.MFD"), "/work/here/Download.MFD");
  EXPECT_EQ(Spell("./a/b"), "/work/here/./a/b");
}

TEST(SpellRealPathTest, PosixPathsPassAndMixedSpellingsJoin) {
  EXPECT_EQ(Spell("/tmp/x/y.txt"), "/tmp/x/y.txt");
  EXPECT_EQ(Spell("/tmp/x\\impdebug1226.txt"), "/tmp/x/impdebug1226.txt");
  EXPECT_EQ(Spell("/"), "/");
}

TEST(SpellRealPathTest, SeparatorsCollapseAndATrailingOneGoes) {
  EXPECT_EQ(Spell("C:\\\\Bema\\\\"), "/drives/C/Bema");
  EXPECT_EQ(Spell("//tmp//x/"), "/tmp/x");
}

TEST(SpellRealPathTest, TheCurrentDirectoryIsAskedOnlyForRelativePaths) {
  int asked = 0;
  const auto current = [&asked] {
    ++asked;
    return std::string("/cwd");
  };
  const auto drive = [](char) { return std::string("/c"); };
  SpellRealPath("/abs", drive, current);
  SpellRealPath("C:\\x", drive, current);
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(SpellRealPath("rel", drive, current), "/cwd/rel");
  EXPECT_EQ(asked, 1);
}

TEST(SpellRealPathTest, EmptyStaysEmpty) { EXPECT_EQ(Spell(""), ""); }

TEST(SpellRealPathTest, Windows1252NamesBecomeUtf8AndUtf8NamesStay) {
  // "Reduções" as the driver holds it (Windows-1252) and as UTF-8.
  EXPECT_EQ(Spell("Dados\\Redu\xE7\xF5"
                  "es"),
            "/work/here/Dados/Redu\xC3\xA7\xC3\xB5"
            "es");
  EXPECT_EQ(Spell("Dados\\Redu\xC3\xA7\xC3\xB5"
                  "es"),
            "/work/here/Dados/Redu\xC3\xA7\xC3\xB5"
            "es");
  // Decided per name, so a UTF-8 directory and a Windows-1252 name can meet.
  EXPECT_EQ(Spell("/tmp/Pre\xC3\xA7o\\Redu\xE7\xE3o"), "/tmp/Pre\xC3\xA7o/Redu\xC3\xA7\xC3\xA3o");
}

TEST(IsValidUtf8Test, AcceptsWellFormedAndRejectsBrokenSequences) {
  EXPECT_TRUE(IsValidUtf8("plain ascii"));
  EXPECT_TRUE(IsValidUtf8("\xC3\xA7\xE2\x82\xAC\xF0\x9F\x98\x80"));  // ç € 😀
  EXPECT_FALSE(IsValidUtf8("\xE7"));                                 // ç in Windows-1252
  EXPECT_FALSE(
      IsValidUtf8("\xE7"
                  "ao"));                         // lead byte, no continuation
  EXPECT_FALSE(IsValidUtf8("\xC3"));              // cut short
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong '/'
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
  EXPECT_FALSE(IsValidUtf8("\x80"));              // lone continuation
}

TEST(MatchesWildcardTest, StarsQuestionMarksAndCase) {
  EXPECT_TRUE(MatchesWildcard("LMFC_0712202602509.txt", "LMFC_*.txt"));
  EXPECT_TRUE(MatchesWildcard("lmfc_1.TXT", "LMFC_*.txt"));
  EXPECT_FALSE(MatchesWildcard("LMFS_1.txt", "LMFC_*.txt"));
  EXPECT_TRUE(MatchesWildcard("a1c", "a?c"));
  EXPECT_FALSE(MatchesWildcard("ac", "a?c"));
  EXPECT_TRUE(MatchesWildcard("anything", "*"));
  EXPECT_TRUE(MatchesWildcard("", "*"));
  EXPECT_TRUE(MatchesWildcard("abcbcd", "a*bcd"));  // needs the star to back off
  EXPECT_FALSE(MatchesWildcard("abcbce", "a*bcd"));
  EXPECT_TRUE(MatchesWildcard("x.txt", "*.*"));
  EXPECT_TRUE(MatchesWildcard("README", "*.*"));  // Windows: no extension matches ".*"
  EXPECT_FALSE(MatchesWildcard("README", "*.txt"));
}

TEST(EqualsIgnoringCaseTest, FoldsAsciiLettersOnly) {
  EXPECT_TRUE(EqualsIgnoringCase("Bemafi32.ini", "BemaFI32.INI"));
  EXPECT_FALSE(EqualsIgnoringCase("Bemafi32.ini", "Bemafi32.in"));
  EXPECT_FALSE(EqualsIgnoringCase("[", "{"));  // 0x5B and 0x7B differ by the case bit
  EXPECT_FALSE(EqualsIgnoringCase("\xC7", "\xE7"));
}

TEST(LibraryFileNameTest, WindowsNamesBecomeSharedObjectNames) {
  EXPECT_EQ(LibraryFileName("BemaFI32.dll"), "libBemaFI32.so");
  EXPECT_EQ(LibraryFileName("sign_bema.DLL"), "libsign_bema.so");
  EXPECT_EQ(LibraryFileName("Mp2032"), "libMp2032.so");
  EXPECT_EQ(LibraryFileName("libzel00100.so"), "libzel00100.so");
  EXPECT_EQ(LibraryFileName("libcrypto.so.3"), "libcrypto.so.3");
}

}  // namespace
}  // namespace zel
