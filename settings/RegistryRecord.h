#pragma once
#include <QString>

namespace settings {

inline constexpr const char* kRegistryKeyPath = "SOFTWARE\\KSG\\SOFT\\QX0002";
inline constexpr const char* kDownloadUrl = "https://velmora.example.org/";

// Describes the program in the user's registry (under root, see platform::RegistryKey): PATH,
// NAME, VER, PARAM, URL, FILE, TYPE, overwriting values of the same names. programFile is the
// running program's path. Answers the error as the user is told it, empty on success.
QString WriteRegistryRecord(const QString& root, const QString& programFile);

}  // namespace settings
