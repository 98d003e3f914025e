#pragma once
#include <QString>

#include <cstdint>
#include <optional>

namespace settings {

// A port box's text as a whole 32-bit integer: blanks around it and a sign are allowed, "$" or
// "0x" introduces hexadecimal digits (up to 8, taken as the 32-bit pattern); anything else,
// an empty text or a decimal value outside 32 bits fails. Full-width forms ("８０８０", the
// ideographic space) count as their ASCII ones. No port range is checked here.
std::optional<std::int32_t> ParsePortText(const QString& text);

// A port box's text as a port: ParsePortText, then 1 to 65535 only, so a number outside the
// range is refused instead of wrapping to some other port.
std::optional<std::uint16_t> PortFromText(const QString& text);

}  // namespace settings
