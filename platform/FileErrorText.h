#pragma once
#include <QString>

namespace platform {

enum class FileFailure { Read, Save };

// A file error as the user is told it: what failed, in Japanese, on the file's full name; the
// system's own words, which may be English, follow in brackets.
QString FileErrorText(FileFailure failure, const QString& path, const QString& systemText);
QString FileErrorText(FileFailure failure, const QString& path, int error);  // an errno value

}  // namespace platform
