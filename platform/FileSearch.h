#pragma once
#include <string>
#include <vector>

namespace platform {

struct FoundFile {
  std::string name;  // file name only, as stored on disk
  bool isDirectory = false;
  bool isRegularFile = false;  // a plain file, not a FIFO, a device or a folder
};

// Entries of folder whose names match pattern ("*", "*.bmp", "TEKUM.DLL"), matched without regard
// to letter case, in the file system's own order (not sorted). "." and ".." are included when the
// pattern matches them, as callers expect to skip them themselves. A missing folder yields nothing.
std::vector<FoundFile> FindFiles(const std::string& folder, const std::string& pattern);

// Case-insensitive wildcard match with '*' and '?'.
bool MatchesPattern(const std::string& name, const std::string& pattern);

}  // namespace platform
