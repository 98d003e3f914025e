#pragma once
#include <QString>

namespace settings {

inline constexpr const char* kRegistryKeyPath = "SOFTWARE\\KSG\\SOFT\\QX0002";
inline constexpr const char* kDownloadUrl = "https://velmora.example.org/";

// Describes the program in the user's registry: PATH, NAME, VER, PARAM, URL, FILE, TYPE, in
// this order, overwriting values of the same names. programFile is the running program's path.
void WriteRegistryRecord(const QString& programFile);

}  // namespace settings
