// Runs a test once with ',' and once with '.' as the decimal separator (the
// thousands separator being the other one), restoring the default settings
// afterwards, and writes expected texts in the Brazilian form.
#ifndef ZEL_TESTS_HOST_SEPARATOR_FIXTURE_H_
#define ZEL_TESTS_HOST_SEPARATOR_FIXTURE_H_

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "zel/format_settings.h"

namespace zel {

class BothSeparators : public ::testing::TestWithParam<char> {
 protected:
  void SetUp() override {
    FormatSettings settings;
    settings.decimal_separator = GetParam();
    settings.thousand_separator = GetParam() == ',' ? '.' : ',';
    SetFormatSettings(settings);
  }
  void TearDown() override { SetFormatSettings(FormatSettings{}); }

  // `brazilian` with its ',' and '.' swapped when the test runs with '.'.
  static std::string Local(std::string_view brazilian) {
    std::string text(brazilian);
    if (GetParam() == ',') return text;
    for (char& c : text) {
      if (c == ',') {
        c = '.';
      } else if (c == '.') {
        c = ',';
      }
    }
    return text;
  }
};

// Restores the default settings after tests that change them.
class DefaultSettings : public ::testing::Test {
 protected:
  void SetUp() override { SetFormatSettings(FormatSettings{}); }
  void TearDown() override { SetFormatSettings(FormatSettings{}); }
};

}  // namespace zel

#endif  // ZEL_TESTS_HOST_SEPARATOR_FIXTURE_H_
