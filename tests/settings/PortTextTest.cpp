// The port box's text: the integer rule, and the port it gives.
#include "settings/PortText.h"

#include <gtest/gtest.h>

#include <limits>

using namespace settings;

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(PortText, WholeIntegersWithBlanksSignsAndHexOnly) {
  const std::pair<const char*, std::int32_t> good[] = {
      {"8080", 8080},      {"   +8080", 8080}, {"-1", -1},           {"$1F90", 8080},
      {"0x1f90", 8080},    {"-$10", -16},     {"70000", 70000},     {"2147483647", kMax},
      {"-2147483648", kMin}, {"$FFFFFFFF", -1}};
  for (const auto& [text, value] : good) EXPECT_EQ(value, ParsePortText(QString::fromUtf8(text))) << text;
  for (const char* bad : {"", "   ", "abc", "80a", "80 80", "+", "$", "0x", "2147483648", "-2147483649",
                          "$100000000", "８ ０"})
    EXPECT_FALSE(ParsePortText(QString::fromUtf8(bad)).has_value()) << bad;
}

TEST(PortFromText, AcceptsTheIntegerFormsWithinThePortRange) {
  EXPECT_EQ(PortFromText("5000"), 5000);
  EXPECT_EQ(PortFromText("  5000"), 5000);
  EXPECT_EQ(PortFromText("+80"), 80);
  EXPECT_EQ(PortFromText("$1F90"), 8080);
  EXPECT_EQ(PortFromText("0x1f90"), 8080);
  EXPECT_EQ(PortFromText("1"), 1);
  EXPECT_EQ(PortFromText("65535"), 65535);
}

TEST(PortFromText, TakesWhatAJapaneseInputMethodTypesAndSpacesAround) {
  EXPECT_EQ(PortFromText(QStringLiteral(u"８０８０")), 8080);
  EXPECT_EQ(PortFromText(QStringLiteral(u" 8080 ")), 8080);
  EXPECT_EQ(PortFromText(QStringLiteral(u"　８０８０　")), 8080);
  EXPECT_EQ(PortFromText(QStringLiteral(u"＄１Ｆ９０")), 8080);
  EXPECT_FALSE(PortFromText(QStringLiteral(u"８０　８０")));
  EXPECT_FALSE(PortFromText(QStringLiteral(u"　")));
}

TEST(PortFromText, RefusesWhatWouldWrapOrIsNoNumber) {
  for (const char* text : {"65536", "70000", "0", "-1", "-65535", "$10000", "abc", "", "50 00", "5000x", "0x"}) {
    EXPECT_FALSE(PortFromText(QString::fromUtf8(text)).has_value()) << text;
  }
}

}  // namespace
