#include "settings/RegistryRecord.h"

#include "platform/Registry.h"

#include <QByteArray>

#include <bit>
#include <cstdint>

namespace settings {

QString WriteRegistryRecord(const QString& root, const QString& programFile) {
  // The version as the 8 little-endian bytes of the double 1.0.
  const auto bits = std::bit_cast<std::uint64_t>(1.0);
  QByteArray version(8, '\0');
  for (int i = 0; i < 8; ++i) version[i] = static_cast<char>(bits >> (8 * i));

  const platform::RegistryKey key(root, QString::fromLatin1(kRegistryKeyPath));
  return key.Write({
      {QStringLiteral("PATH"), programFile},
      {QStringLiteral("NAME"), QStringLiteral("Velmora")},
      {QStringLiteral("VER"), version},
      {QStringLiteral("PARAM"), QStringLiteral("ipn")},
      {QStringLiteral("URL"), QString::fromLatin1(kDownloadUrl)},
      {QStringLiteral("FILE"), QStringLiteral("velm.lzh")},
      {QStringLiteral("TYPE"), 1},
  });
}

}  // namespace settings
