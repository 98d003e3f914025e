#pragma once
// A throw-away program folder with the engine runner in it and a DllCpu/ folder to put engines
// in, and short time limits for tests.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <functional>
#include <string>

#include "enginehost/EngineCalls.h"

// Lets the main thread run handed-over work and deferred deletions until done() or the limit.
inline bool RunUntil(const std::function<bool()>& done, int limitMs) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > limitMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  return true;
}

inline std::string BuiltProgramFolder() {
  const char* dir = std::getenv("VELM_BIN_DIR");
  return std::string(dir ? dir : VELM_BIN_DIR_DEFAULT) + "/";
}
inline std::string BuiltTekum() { return BuiltProgramFolder() + "DllCpu/Tekum/TEKUM.DLL"; }
inline std::string BuiltRunner() { return EngineRunnerIn(BuiltProgramFolder()); }

// Time limits short enough for a test, for as long as this lives.
class ShortLimits {
 public:
  explicit ShortLimits(EngineTimeLimits limits) : saved_(CurrentEngineTimeLimits()) { SetEngineTimeLimits(limits); }
  ~ShortLimits() { SetEngineTimeLimits(saved_); }

 private:
  EngineTimeLimits saved_;
};

class EngineFolder {
 public:
  EngineFolder() {
    QDir(dir_.path()).mkpath("DllCpu");
    QFile::link(QString::fromStdString(BuiltRunner()), QString::fromStdString(EngineRunnerIn(ProgramFolder())));
  }

  // Ends in "/", as the program folder does.
  std::string ProgramFolder() const { return dir_.path().toStdString() + "/"; }
  std::string DllCpu() const { return ProgramFolder() + "DllCpu/"; }

  // Copies library into DllCpu/<folder>/<fileName> and answers the path.
  std::string Install(const std::string& folder, const std::string& library, const std::string& fileName = "TEKUM.DLL") {
    QDir(QString::fromStdString(DllCpu())).mkpath(QString::fromStdString(folder));
    const std::string target = DllCpu() + folder + "/" + fileName;
    QFile::copy(QString::fromStdString(library), QString::fromStdString(target));
    return target;
  }

  void Write(const std::string& relative, const QByteArray& bytes) {
    const QString path = QString::fromStdString(ProgramFolder() + relative);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
  }

  void MakeFolder(const std::string& relative) { QDir().mkpath(QString::fromStdString(ProgramFolder() + relative)); }

 private:
  QTemporaryDir dir_;
};
