#include "enginehost/EngineSearch.h"

#include "enginehost/EngineProcess.h"
#include "platform/MainThreadHandover.h"

EngineSearch::EngineSearch(const std::string& programFolder, std::vector<std::string> moreFolders, Done done)
    : programFolder_(programFolder),
      moreFolders_(std::move(moreFolders)),
      done_(std::move(done)),
      handover_(std::make_shared<MainThreadHandover>(this)),
      cancel_(std::make_shared<EngineCallCancel>()) {
  connect(this, &QThread::finished, this, &QObject::deleteLater);
  start();
}

EngineSearch::~EngineSearch() { Stop(); }

void EngineSearch::Stop() {
  handover_->Close();
  cancel_->Cancel();
}

void EngineSearch::run() {
  const EngineSearchResult result = SearchEngines(programFolder_, moreFolders_, cancel_.get());
  if (cancel_->Cancelled()) return;
  handover_->Run([this, &result] {
    if (done_) done_(result);
  });
}
