#include "enginehost/EngineSearch.h"

#include "enginehost/EngineProcess.h"

EngineSearch::EngineSearch(const std::string& programFolder, std::vector<std::string> moreFolders,
                           std::chrono::milliseconds statusLimit, Done done)
    : cancel_(std::make_shared<EngineCallCancel>()),
      worker_(
          [programFolder, moreFolders = std::move(moreFolders), statusLimit, done = std::move(done),
           cancel = cancel_](platform::Worker::Context& context) {
            const EngineSearchResult result = SearchEngines(programFolder, moreFolders, cancel.get(), statusLimit);
            if (cancel->Cancelled()) return;
            context.Hand([&] {
              if (done) done(result);
            });
          },
          [cancel = cancel_] { cancel->Cancel(); }) {}
