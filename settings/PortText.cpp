#include "settings/PortText.h"

namespace settings {
namespace {

int digitValue(QChar c, int base) {
  const char16_t u = c.unicode();
  int v = -1;
  if (u >= u'0' && u <= u'9') v = u - u'0';
  else if (u >= u'a' && u <= u'f') v = u - u'a' + 10;
  else if (u >= u'A' && u <= u'F') v = u - u'A' + 10;
  return v < base ? v : -1;
}

// What a Japanese input method types: full-width letters, digits and signs, and the
// ideographic space, as their ASCII forms.
QString HalfWidth(const QString& text) {
  QString out = text;
  for (QChar& c : out) {
    if (c.unicode() >= u'！' && c.unicode() <= u'～') c = QChar(c.unicode() - (u'！' - u'!'));
    else if (c == u'　') c = u' ';
  }
  return out;
}

}  // namespace

std::optional<std::int32_t> ParsePortText(const QString& typed) {
  const QString text = HalfWidth(typed);
  qsizetype i = 0;
  qsizetype n = text.size();
  while (i < n && text[i] == u' ') ++i;
  while (n > i && text[n - 1] == u' ') --n;
  bool negative = false;
  if (i < n && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';

  int base = 10;
  if (i < n && text[i] == u'$') {
    base = 16;
    ++i;
  } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
    base = 16;
    i += 2;
  }
  if (i == n) return std::nullopt;

  // Decimal must fit a signed 32-bit value; hexadecimal may use all 32 bits.
  const std::uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  std::uint64_t value = 0;
  for (; i < n; ++i) {
    const int d = digitValue(text[i], base);
    if (d < 0) return std::nullopt;
    value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
    if (value > limit) return std::nullopt;
  }
  std::uint32_t bits = static_cast<std::uint32_t>(value);
  if (negative) bits = 0u - bits;
  return static_cast<std::int32_t>(bits);
}

std::optional<std::uint16_t> PortFromText(const QString& text) {
  const std::optional<std::int32_t> value = ParsePortText(text);
  if (!value || *value < 1 || *value > 65535) return std::nullopt;
  return static_cast<std::uint16_t>(*value);
}

}  // namespace settings
