#pragma once
// The processes this test program has started and not yet reaped (zombies included), read from
// /proc: an engine runner left behind shows up here.
#include <sys/types.h>
#include <unistd.h>

#include <QDir>
#include <vector>

#include "tests/support/Files.h"

inline std::vector<pid_t> ChildProcesses() {
  std::vector<pid_t> children;
  for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
    bool number = false;
    const pid_t pid = entry.toInt(&number);
    if (!number) continue;
    // "pid (name) state ppid ...": the name may hold spaces, so read from its closing bracket.
    const QByteArray line = ReadFile(QStringLiteral("/proc/%1/stat").arg(pid));
    if (line.isEmpty()) continue;
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() > 1 && fields[1].toInt() == getpid()) children.push_back(pid);
  }
  return children;
}
