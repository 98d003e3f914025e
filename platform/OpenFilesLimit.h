#pragma once

namespace platform {

// Raises this process's soft limit of open files to its hard limit: every member of a room
// costs the host two descriptors, and the usual soft limit of 1,024 would cap a room near 500.
// Answers the soft limit in force afterwards (-1 when it cannot be read).
long RaiseOpenFilesLimit();

}  // namespace platform
