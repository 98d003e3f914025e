#pragma once
// Engine discovery off the window thread: one search of DllCpu/ on a worker of its own, whose
// result is handed to the window thread when it is complete, so the window never waits for an
// engine (a hung GetStatus costs its time limit per folder).
#include <QThread>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "enginehost/CpuDiscovery.h"

class EngineCallCancel;
class MainThreadHandover;

class EngineSearch : public QThread {
 public:
  using Done = std::function<void(const EngineSearchResult&)>;

  // Starts at once; construct on the window thread. done runs there once the search is
  // complete, unless Stop() came first. Deletes itself when it has finished.
  // moreFolders: where else engines lie, searched after the program folder (see SearchEngines).
  EngineSearch(const std::string& programFolder, std::vector<std::string> moreFolders, Done done);
  ~EngineSearch() override;

  // Window thread: ends the search early; the call in progress is cancelled (its runner killed)
  // and done never runs. Returns at once.
  void Stop();

 protected:
  void run() override;

 private:
  const std::string programFolder_;
  const std::vector<std::string> moreFolders_;
  const Done done_;
  std::shared_ptr<MainThreadHandover> handover_;
  std::shared_ptr<EngineCallCancel> cancel_;
};
