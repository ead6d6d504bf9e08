#include "zel/host_services.h"

#include <gtest/gtest.h>

#include "support/recording_host.h"
#include "support/test_env.h"

namespace zel {
namespace {

TEST(HostServicesTest, RegisteredHostReceivesEveryArgumentAndAnswersQuestions) {
  RecordingHost host;
  ScopedHost use_host(&host);
  host.ScriptAnswers({true, false});

  EXPECT_TRUE(Host().Mensagem("Imprimir novamente?", "", "N", "S", 3, "", "007", 0, nullptr));
  EXPECT_FALSE(Host().Mensagem("Imprimir novamente?", "", "N", "S", 3, "", "007", 0, nullptr));
  // A notice is not a question: the script is not consumed by it.
  host.ScriptAnswers({true});
  EXPECT_FALSE(Host().Mensagem("Cupom aberto.", "", "N", "N", 0, "", "001", 0, nullptr));
  EXPECT_TRUE(Host().Mensagem("again?", "", "N", "S", 3, "", "001", 0, nullptr));

  ASSERT_EQ(host.dialogs.size(), 4u);
  EXPECT_EQ(host.dialogs[2],
            (RecordedDialog{"Cupom aberto.", "", "N", "N", 0, "", "001", 0, false}));

  Host().GravaCER("", "", "081226");
  Host().GravaDocumentosNaoFiscais("12", "001", "CM", 0, 0);
  Host().Terminate();
  EXPECT_EQ(host.cer_records, (std::vector<std::vector<std::string>>{{"", "", "081226"}}));
  EXPECT_EQ(host.document_records,
            (std::vector<std::vector<std::string>>{{"12", "001", "CM", "0", "0"}}));
  EXPECT_EQ(host.terminate_requests, 1);
}

TEST(HostServicesTest, WithoutAHostQuestionsAreAnsweredNoAndNothingBlocks) {
  ZelRegistraHost(nullptr);
  TestEnv env;
  ScopedCurrentEnv use_env(&env);
  const DateTime before = env.Now();

  testing::internal::CaptureStderr();
  EXPECT_FALSE(Host().Mensagem("Imprimir novamente?", "", "N", "S", 3, "", "001", 0, nullptr));
  Host().Delay(4);
  const std::string shown = testing::internal::GetCapturedStderr();

  EXPECT_NE(shown.find("Imprimir novamente?"), std::string::npos);
  // The pause goes through the platform clock, so a test clock just moves.
  EXPECT_NEAR((env.Now().value - before.value) * 86400.0, 4.0, 1e-3);
}

TEST(HostServicesTest, RegionalSettingsAreCopiedCheckedAndNullRestoresTheDefaults) {
  FormatSettings settings;
  settings.decimal_separator = '.';
  settings.thousand_separator = ',';
  EXPECT_TRUE(ZelDefineFormatos(&settings));
  settings.decimal_separator = ';';
  EXPECT_EQ(CurrentFormatSettings().decimal_separator, '.');

  // The same character for both separators is refused, not thrown at a host
  // that cannot catch it; the settings in force stay.
  settings.decimal_separator = ',';
  EXPECT_FALSE(ZelDefineFormatos(&settings));
  EXPECT_EQ(CurrentFormatSettings().decimal_separator, '.');

  EXPECT_TRUE(ZelDefineFormatos(nullptr));
  EXPECT_EQ(CurrentFormatSettings().decimal_separator, ',');
}

}  // namespace
}  // namespace zel
