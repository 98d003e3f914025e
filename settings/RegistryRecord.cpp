#include "settings/RegistryRecord.h"

#include "platform/Registry.h"

#include <QByteArray>

#include <bit>
#include <cstdint>

namespace settings {

void WriteRegistryRecord(const QString& programFile) {
  // The version as the 8 little-endian bytes of the double 1.0.
  const auto bits = std::bit_cast<std::uint64_t>(1.0);
  QByteArray version(8, '\0');
  for (int i = 0; i < 8; ++i) version[i] = static_cast<char>(bits >> (8 * i));

  platform::RegistryKey key(QString::fromLatin1(kRegistryKeyPath));
  key.WriteString(QStringLiteral("PATH"), programFile);
  key.WriteString(QStringLiteral("NAME"), QStringLiteral("Velmora"));
  key.WriteBinary(QStringLiteral("VER"), version);
  key.WriteString(QStringLiteral("PARAM"), QStringLiteral("ipn"));
  key.WriteString(QStringLiteral("URL"), QString::fromLatin1(kDownloadUrl));
  key.WriteString(QStringLiteral("FILE"), QStringLiteral("velm.lzh"));
  key.WriteInteger(QStringLiteral("TYPE"), 1);
}

}  // namespace settings
