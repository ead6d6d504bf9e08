// The fiscal-memory reading (printed and as a file), the detail-tape mirror
// and their signature, through the loaded driver against the simulated
// printer and the signing stand-in.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "fiscal_menu_fixture.h"
#include "zel/variant.h"

namespace zel {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;

constexpr char kScheme[] = "005";
// The pinned clock, 7 December 2026 10:05:07, under the two stamps.
constexpr char kReadingStamp[] = "0712202610507";
constexpr char kMirrorStamp[] = "07122026100507";
// A signature record: "EAD", 256 hexadecimal digits, CR LF.
constexpr std::size_t kRecordLength = 261;

class FiscalMemoryFilesTest : public FiscalMenuFixture {
 protected:
  bool SerialReading(const std::string& flag, const std::string& selector,
                     const std::string& first = "01/12/2026",
                     const std::string& last = "31/12/2026") {
    return CallArrayOp("EmiteLeituraMemoriaFiscalSerial",
                       MenuArray({{0, kScheme}, {1, first}, {2, last}, {3, flag}, {4, selector}}));
  }
  bool Mirror(const std::string& type = "2", const std::string& first = "1",
              const std::string& last = "999999") {
    return CallArrayOp("geraEspelhoMfd",
                       MenuArray({{0, kScheme}, {6, first}, {7, last}, {8, type}}));
  }
  std::string VendorPath() {
    return Symbol<std::string()>("_ZN8Zel0010119retornaPathBematechB5cxx11Ev")();
  }
  // The reading the printer wrote, as the driver's copy should hold it.
  std::string PrinterReading(const std::string& directory = "C:\\") {
    return FileText(directory + "Retorno.txt");
  }
};

// ---- The reading as a file ---------------------------------------------------------

TEST_F(FiscalMemoryFilesTest, SerialReadingIsCopiedUnderItsStampSignedAndAnnounced) {
  ASSERT_TRUE(SerialReading("C", "DATA", "011226", "071226"));

  const std::string target = std::string("C:\\MenuFiscal\\LMFC_") + kReadingStamp + ".txt";
  EXPECT_THAT(SimJournal(),
              Contains("Bematech_FI_LeituraMemoriaFiscalSerialDataMFD|011226|071226|C"));
  EXPECT_THAT(LogEntries(), Contains("Bematech_FI_LeituraMemoriaFiscalSerialDataMFD :  - 011226 - "
                                     "071226 - C\r\nRetorno da Impressora : 1"));
  const std::string copy = FileText(target);
  EXPECT_EQ(copy.substr(0, copy.size() - kRecordLength), PrinterReading());
  EXPECT_THAT(copy.substr(copy.size() - kRecordLength), StartsWith("EAD"));
  EXPECT_EQ(Validate(target), 1);
  ASSERT_EQ(host_.dialogs.size(), 1u);
  EXPECT_EQ(Dialogs()[0], "LEITURA DE MEMORIA FISCAL GERADA COM SUCESSO NO DIRETÓRIO: " + target);
  EXPECT_EQ(host_.dialogs[0].kind, 0);
  EXPECT_EQ(host_.dialogs[0].colour_scheme, kScheme);
}

// Which entry reads, and which prefix the copy gets, follow the exact
// texts the host sent: only "C" is complete, only "DATA" is by date.
TEST_F(FiscalMemoryFilesTest, FlagAndSelectorChooseEntryAndPrefixExactly) {
  struct Case {
    const char* flag;
    const char* selector;
    const char* first;
    const char* last;
    const char* entry;
    const char* prefix;
  };
  const Case cases[] = {
      {"c", "DATA", "01/12/2026", "31/12/2026", "Bematech_FI_LeituraMemoriaFiscalSerialDataMFD",
       "LMFS_"},
      {"S", "REDUCAO", "1", "5", "Bematech_FI_LeituraMemoriaFiscalSerialReducaoMFD", "LMFS_"},
      {"C", "data", "1", "5", "Bematech_FI_LeituraMemoriaFiscalSerialReducaoMFD", "LMFC_"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.flag) + " " + c.selector);
    ClearSimJournal();
    for (const std::string& file : MenuFiles()) env_.RemoveFile("C:\\MenuFiscal\\" + file);

    EXPECT_TRUE(SerialReading(c.flag, c.selector, c.first, c.last));

    EXPECT_THAT(SimJournal(),
                Contains(std::string(c.entry) + "|" + c.first + "|" + c.last + "|" + c.flag));
    EXPECT_THAT(MenuFiles(), ElementsAre(std::string(c.prefix) + kReadingStamp + ".txt"));
  }
}

TEST_F(FiscalMemoryFilesTest, StampsWriteTheMinuteTheirOwnWay) {
  env_.SetNow(
      EncodeDateTime({.year = 2026, .month = 12, .day = 7, .hour = 2, .minute = 5, .second = 9}));
  ASSERT_TRUE(SerialReading("C", "DATA"));
  ASSERT_TRUE(Mirror());

  EXPECT_THAT(MenuFiles(), ElementsAre("Espelho_MFD_07122026020509.txt", "LMFC_0712202602509.txt"));
}

TEST_F(FiscalMemoryFilesTest, VendorPathFollowsThePathKeyOfTheIni) {
  struct Case {
    std::vector<std::string> ini;
    std::string path;
  };
  const Case cases[] = {
      {{"[Sistema]", "Path=C:\\Bema"}, "C:\\Bema\\"},
      {{"PATH=C:\\Saida\\", "Path=C:\\Outra"}, "C:\\Saida\\"},
      {{"[Sistema]", "Porta=COM1"}, "\\"},
      {{"path="}, "\\"},
  };
  for (const Case& c : cases) {
    WriteBemaIni(c.ini);
    EXPECT_EQ(VendorPath(), c.path);
  }
  // A file that cannot be read counts as one that is not there.
  env_.InjectFailure(EnvOperation::kReadFile, 1, "BemaFI32.ini");
  EXPECT_EQ(VendorPath(), "ARQ_N_ENC");
  env_.RemoveFile(env_.SystemDirectory() + "/BemaFI32.ini");
  EXPECT_EQ(VendorPath(), "ARQ_N_ENC");
}

TEST_F(FiscalMemoryFilesTest, ReadingIsTakenFromThePathDirectory) {
  WriteBemaIni({"[Sistema]", "Path=C:\\Bema"});
  env_.CreateDirectories("C:\\Bema");

  ASSERT_TRUE(SerialReading("S", "DATA"));

  const std::string copy = FileText(std::string("C:\\MenuFiscal\\LMFS_") + kReadingStamp + ".txt");
  EXPECT_EQ(copy.substr(0, copy.size() - kRecordLength), PrinterReading("C:\\Bema\\"));
}

TEST_F(FiscalMemoryFilesTest, MissingIniIsReportedAfterTheReadingAndNothingIsCopied) {
  env_.RemoveFile(env_.SystemDirectory() + "/BemaFI32.ini");

  EXPECT_FALSE(SerialReading("C", "DATA"));

  EXPECT_THAT(SimJournal(), Contains(StartsWith("Bematech_FI_LeituraMemoriaFiscalSerialDataMFD|")));
  EXPECT_THAT(Dialogs(), ElementsAre("ARQUIVO DE CONFIGURACAO DA BEMATECH NÃO ENCONTRADO "
                                     "(BEMAFI32.INI)."));
  EXPECT_EQ(host_.dialogs[0].kind, 3);
  EXPECT_THAT(MenuFiles(), IsEmpty());
}

// The printer made its reading, but without the copy the host has no file:
// the operation fails (it used to answer true).
TEST_F(FiscalMemoryFilesTest, FailedCopyIsAFailureWithTheWindowsCode) {
  std::filesystem::remove(env_.MapPath("C:\\MenuFiscal"));

  EXPECT_FALSE(SerialReading("C", "DATA"));

  EXPECT_THAT(Dialogs(), ElementsAre("ERRO AO GERAR ARQUIVO DE MEMORIA FISCAL. (ERRO COPIA - 3)"));
  EXPECT_FALSE(env_.DirectoryExists("C:\\MenuFiscal"));
}

// An earlier reading's Retorno.txt is never copied and signed as this one:
// a printer that answers success without writing ends in the copy error,
// and an old file that cannot be removed stops before the printer is asked.
TEST_F(FiscalMemoryFilesTest, AnEarlierReadingIsNeverTakenForThisOne) {
  ASSERT_TRUE(SerialReading("C", "DATA"));
  host_.dialogs.clear();
  std::filesystem::remove_all(env_.MapPath("C:\\MenuFiscal"));
  std::filesystem::create_directory(env_.MapPath("C:\\MenuFiscal"));
  FailEntry("Bematech_FI_LeituraMemoriaFiscalSerialDataMFD", 1);

  EXPECT_FALSE(SerialReading("C", "DATA"));
  EXPECT_THAT(Dialogs(), ElementsAre("ERRO AO GERAR ARQUIVO DE MEMORIA FISCAL. (ERRO COPIA - 2)"));
  EXPECT_THAT(MenuFiles(), IsEmpty());

  env_.WriteFile("C:\\Retorno.txt", "an earlier reading\r\n");
  env_.InjectFailure(EnvOperation::kRemoveFile, 1, "Retorno.txt");
  host_.dialogs.clear();
  ClearSimJournal();
  EXPECT_FALSE(SerialReading("C", "DATA"));
  EXPECT_THAT(Dialogs(), ElementsAre("ERRO AO GERAR ARQUIVO DE MEMORIA FISCAL. (ERRO COPIA - 5)"));
  EXPECT_THAT(SimJournal(), Not(Contains(HasSubstr("LeituraMemoriaFiscalSerialDataMFD"))));
  EXPECT_THAT(MenuFiles(), IsEmpty());
}

TEST_F(FiscalMemoryFilesTest, PrinterRefusalStopsBeforeAnyFileWorkWithoutADialog) {
  FailEntry("Bematech_FI_LeituraMemoriaFiscalSerialDataMFD", -2);

  EXPECT_FALSE(SerialReading("C", "DATA"));

  EXPECT_THAT(host_.dialogs, IsEmpty());
  EXPECT_THAT(MenuFiles(), IsEmpty());
}

TEST_F(FiscalMemoryFilesTest, CopyOverwritesAnExistingTarget) {
  const std::string target = std::string("C:\\MenuFiscal\\LMFC_") + kReadingStamp + ".txt";
  env_.WriteFile(target, "an older file\r\n");

  ASSERT_TRUE(SerialReading("C", "DATA"));

  EXPECT_THAT(FileText(target), Not(HasSubstr("an older file")));
  EXPECT_EQ(Validate(target), 1);
}

// ---- The reading on paper ------------------------------------------------------------

TEST_F(FiscalMemoryFilesTest, PrintedReadingChoosesItsEntryAndShowsNothing) {
  using PrintedOp = bool(const std::string&, const std::string&, const std::string&,
                         const std::string&, const std::string&);
  auto* print = Op<PrintedOp>("EmiteLeituraMemoriaFiscal");

  EXPECT_TRUE(print(kScheme, "011226", "311226", "C", "DATA"));
  EXPECT_TRUE(print(kScheme, "1", "3", "S", "Data"));
  FailEntry("Bematech_FI_LeituraMemoriaFiscalReducaoMFD", -2);
  EXPECT_FALSE(print(kScheme, "1", "3", "S", "REDUCAO"));

  EXPECT_THAT(SimJournal(), Contains("Bematech_FI_LeituraMemoriaFiscalDataMFD|011226|311226|C"));
  EXPECT_THAT(SimJournal(), Contains("Bematech_FI_LeituraMemoriaFiscalReducaoMFD|1|3|S"));
  EXPECT_THAT(LogEntries(), Contains("Bematech_FI_LeituraMemoriaFiscalReducaoMFD :  - 1 - 3 - S\r\n"
                                     "Retorno da Impressora : 1"));
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

// ---- The detail-tape mirror -------------------------------------------------------------

TEST_F(FiscalMemoryFilesTest, MirrorIsDownloadedConvertedSignedAndAnnounced) {
  PrintSupplies(2);

  ASSERT_TRUE(Mirror("2", "1", "999999"));

  const std::string target = std::string("C:\\MenuFiscal\\Espelho_MFD_") + kMirrorStamp + ".txt";
  EXPECT_THAT(SimJournal(), Contains("Bematech_FI_DownloadMFD|C:\\download.mfd|2|1|999999|1"));
  EXPECT_THAT(SimJournal(), Contains("Bematech_FI_FormatoDadosMFD|C:\\download.mfd|" + target +
                                     "|0|2|1|999999|1"));
  EXPECT_THAT(LogEntries(), Contains("Bematech_FI_DownloadMFD  :  - C:\\download.mfd - 2 - 1 - "
                                     "999999\r\nRetorno da Impressora : 1"));
  EXPECT_THAT(LogEntries(),
              Contains("Bematech_FI_FormatoDadosMFD :  - C:\\download.mfd - " + target +
                       " - 0 - 2 - 1 - 999999 - 1\r\nRetorno da Impressora : 1"));
  EXPECT_THAT(FileText(target), HasSubstr("COO:"));
  EXPECT_EQ(Validate(target), 1);
  EXPECT_THAT(Dialogs(), ElementsAre("ARQUIVO ESPELHO DE MEMORIA DE FITA DETALHE GERADO COM "
                                     "SUCESSO NO DIRETÓRIO: " +
                                     target));
  EXPECT_EQ(host_.dialogs[0].kind, 3);
}

// A failed download is reported and the conversion still tried; an older
// download left in the directory must not turn into this mirror.
TEST_F(FiscalMemoryFilesTest, FailedDownloadIsReportedAndNeverConvertsAnOlderDownload) {
  PrintSupplies(1);
  ASSERT_TRUE(Mirror());
  host_.dialogs.clear();
  for (const std::string& file : MenuFiles()) env_.RemoveFile("C:\\MenuFiscal\\" + file);
  ASSERT_TRUE(env_.FileExists("C:\\download.mfd"));
  FailEntry("Bematech_FI_DownloadMFD", -2);
  ClearSimJournal();

  EXPECT_FALSE(Mirror());

  EXPECT_THAT(SimJournal(), Contains(StartsWith("Bematech_FI_FormatoDadosMFD|")));
  EXPECT_THAT(Dialogs(), Contains("ERRO AO REALIZAR DOWNLOAD DA MEMÓRIA MFD."));
  EXPECT_THAT(Dialogs(), Contains("ERRO AO REALIZAR GERAÇÃO DO ESPELHO MFD."));
  EXPECT_THAT(MenuFiles(), IsEmpty());
}

// The printer library does not create its output folder for a download.
TEST_F(FiscalMemoryFilesTest, MirrorIntoAPathFolderThatDoesNotExistFails) {
  WriteBemaIni({"Path=C:\\Falta"});

  EXPECT_FALSE(Mirror());

  EXPECT_THAT(Dialogs(), Contains("ERRO AO REALIZAR DOWNLOAD DA MEMÓRIA MFD."));
  EXPECT_THAT(Dialogs(), Contains("ERRO AO REALIZAR GERAÇÃO DO ESPELHO MFD."));
  EXPECT_THAT(MenuFiles(), IsEmpty());
}

TEST_F(FiscalMemoryFilesTest, MirrorWithoutIniDoesNothing) {
  env_.RemoveFile(env_.SystemDirectory() + "/BemaFI32.ini");

  EXPECT_FALSE(Mirror());

  EXPECT_THAT(SimJournal(), IsEmpty());
  EXPECT_THAT(Dialogs(), ElementsAre("ARQUIVO DE CONFIGURACAO DA BEMATECH NÃO ENCONTRADO "
                                     "(BEMAFI32.INI)."));
}

// ---- The signature --------------------------------------------------------------------

TEST_F(FiscalMemoryFilesTest, WithoutTheSigningLibraryFilesAreMadeUnsigned) {
  env_.InjectFailure(EnvOperation::kOpenLibrary, TestEnv::kEveryCall, "sign_bema");
  PrintSupplies(1);

  ASSERT_TRUE(SerialReading("C", "DATA"));
  ASSERT_TRUE(Mirror());

  env_.ClearFailures();
  ASSERT_EQ(MenuFiles().size(), 2u);
  for (const std::string& file : MenuFiles()) {
    EXPECT_THAT(FileText("C:\\MenuFiscal\\" + file), Not(HasSubstr("EAD"))) << file;
    EXPECT_EQ(Validate("C:\\MenuFiscal\\" + file), 0) << file;
  }
  EXPECT_THAT(Dialogs(), ElementsAre(StartsWith("LEITURA DE MEMORIA FISCAL GERADA COM SUCESSO"),
                                     StartsWith("ARQUIVO ESPELHO DE MEMORIA DE FITA DETALHE")));
}

TEST_F(FiscalMemoryFilesTest, SigningLibraryWithoutValidateFileIsNeverCalled) {
  const char* previous = std::getenv("ZEL_LIBRARY_PATH");
  const std::string saved = previous != nullptr ? previous : "";
  ::setenv("ZEL_LIBRARY_PATH", (saved + "/signpartial:" + saved).c_str(), 1);

  ASSERT_TRUE(SerialReading("C", "DATA"));

  EXPECT_NE(Var<void*>("Bematech_generateEAD"), nullptr);
  EXPECT_EQ(Var<void*>("Bematech_validateFile"), nullptr);
  ::setenv("ZEL_LIBRARY_PATH", saved.c_str(), 1);
  const std::string target = std::string("C:\\MenuFiscal\\LMFC_") + kReadingStamp + ".txt";
  EXPECT_EQ(FileText(target), PrinterReading());
  EXPECT_EQ(Validate(target), 0);
}

TEST_F(FiscalMemoryFilesTest, SignatureHoldsForOpensslAndBreaksWithOneChangedByte) {
  ASSERT_TRUE(SerialReading("C", "DATA"));
  const std::string target = std::string("C:\\MenuFiscal\\LMFC_") + kReadingStamp + ".txt";
  const std::string real = env_.MapPath(target);
  // The check the README gives, on the command line.
  const std::string check = "cd '" + env_.root() + "' && tail -n 1 '" + real +
                            "' | tr -d '\\r\\n' | cut -c4- | xxd -r -p > f.sig && head -c -261 '" +
                            real + "' > f.body && openssl dgst -sha256 -verify '" +
                            ZEL_EAD_PUBLIC_KEY + "' -signature f.sig f.body > /dev/null 2>&1";
  EXPECT_EQ(std::system(check.c_str()), 0);
  // Signing again does not add a second record.
  const std::string signed_once = FileText(target);
  Op<void(const std::string&)>("geraEad")(target);
  EXPECT_EQ(FileText(target), signed_once);

  std::string changed = FileText(target);
  changed[10] ^= 1;
  env_.WriteFile(target, changed);

  EXPECT_EQ(Validate(target), 0);
  EXPECT_NE(std::system(check.c_str()), 0);
}

TEST_F(FiscalMemoryFilesTest, DriverStopsAndStartsAgainAfterSigning) {
  env_.SetNow(Env::Default()->Now());
  const Variant params = MakeParams({{"CDFILIAL", "0001"},
                                     {"CDCAIXA", "002"},
                                     {"NRSERIE", "X"},
                                     {"NRSERIEIMP", "X"},
                                     {"ESQUEMA", "001"},
                                     {"ESQUEMACOR", kScheme},
                                     {"PORTAIMPFIS", "COM1"},
                                     {"CDPORTAIMPFIS", "COM1"}});
  ASSERT_TRUE(Op<bool(const Variant&)>("StartImpFiscal")(params));
  for (int i = 0; i < 3; ++i) {
    env_.WriteFile("C:\\MenuFiscal\\f" + std::to_string(i) + ".txt", "linha\r\n");
    Op<void(const std::string&)>("geraEad")("C:\\MenuFiscal\\f" + std::to_string(i) + ".txt");
    EXPECT_EQ(Validate("C:\\MenuFiscal\\f" + std::to_string(i) + ".txt"), 1);
  }
  EXPECT_EQ(Var<void*>("Bematech_generateEAD"), nullptr);
  Op<void()>("StopImpFiscal")();

  EXPECT_TRUE(Op<bool(const Variant&)>("StartImpFiscal")(params));
  EXPECT_NE(Var<void*>("Bematech_FI_DownloadMFD"), nullptr);
}

}  // namespace
}  // namespace zel
