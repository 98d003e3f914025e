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
#include "tests/support/Files.h"


inline std::string BuiltProgramFolder() {
  const char* dir = std::getenv("VELM_BIN_DIR");
  return std::string(dir ? dir : VELM_BIN_DIR_DEFAULT) + "/";
}
inline std::string BuiltTekum() { return BuiltProgramFolder() + "DllCpu/Tekum/TEKUM.DLL"; }
inline std::string BuiltRunner() { return EngineRunnerIn(BuiltProgramFolder()); }

// Time limits short enough for a test.
inline constexpr EngineTimeLimits kShortLimits{std::chrono::seconds(2), std::chrono::seconds(1)};

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
    WriteFile(path, bytes);
  }

  void MakeFolder(const std::string& relative) { QDir().mkpath(QString::fromStdString(ProgramFolder() + relative)); }

 private:
  QTemporaryDir dir_;
};
