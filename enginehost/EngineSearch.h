#pragma once
// Engine discovery off the window thread: one search of DllCpu/ on a worker of its own, whose
// result is handed to the window thread when it is complete, so the window never waits for an
// engine (a hung GetStatus costs its time limit per folder).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "enginehost/CpuDiscovery.h"
#include "platform/Worker.h"

class EngineSearch {
 public:
  using Done = std::function<void(const EngineSearchResult&)>;

  // Starts at once; construct on the window thread. done runs there once the search is
  // complete, unless the search was stopped or destroyed first; done may destroy it.
  // moreFolders: where else engines lie, searched after the program folder (see SearchEngines).
  EngineSearch(const std::string& programFolder, std::vector<std::string> moreFolders,
               std::chrono::milliseconds statusLimit, Done done);

  // Ends the search early; the call in progress is cancelled (its runner killed) and done
  // never runs. Returns at once.
  void Stop() { worker_.Stop(); }

 private:
  std::shared_ptr<EngineCallCancel> cancel_;
  platform::Worker worker_;
};
