#include "platform/FileSearch.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cctype>

namespace platform {

bool MatchesPattern(const std::string& name, const std::string& pattern) {
  // Iterative glob with backtracking on the last '*'.
  std::size_t n = 0, p = 0, starP = std::string::npos, starN = 0;
  auto same = [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  };
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || same(pattern[p], name[n]))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::vector<FoundFile> FindFiles(const std::string& folder, const std::string& pattern) {
  std::vector<FoundFile> found;
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return found;
  std::string base = folder;
  if (!base.empty() && base.back() != '/') base += '/';
  while (dirent* e = readdir(dir)) {
    std::string name = e->d_name;
    if (!MatchesPattern(name, pattern)) continue;
    // The folder says what most entries are; a link, or a file system that does not say, is
    // looked at (a link as what it leads to).
    if (e->d_type == DT_REG || e->d_type == DT_DIR) {
      found.push_back({name, e->d_type == DT_DIR, e->d_type == DT_REG});
      continue;
    }
    struct stat st {};
    const bool known = stat((base + name).c_str(), &st) == 0;
    found.push_back({name, known && S_ISDIR(st.st_mode), known && S_ISREG(st.st_mode)});
  }
  closedir(dir);
  return found;
}

}  // namespace platform
