#pragma once
#include <QString>

namespace platform {

// An exclusive lock on a folder, held for as long as the object lives and honoured by every
// process that takes it: copies of the program take turns at a file in that folder. A folder
// that cannot be opened is not locked, and the work goes on without.
class FolderLock {
 public:
  explicit FolderLock(const QString& folder);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int fd_ = -1;
};

}  // namespace platform
