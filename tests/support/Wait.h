#pragma once
// The one way a test waits for something to happen: the event loop runs (hand-overs, timers,
// deferred deletions) until done() holds or the limit, generous for a loaded machine, has passed.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <QtCore/qtestsupport_core.h>
#include <functional>

inline bool WaitUntil(const std::function<bool()>& done, int limitMs = 10000) {
  return QTest::qWaitFor(
      [&] {
        // qWaitFor rests 10 ms between its rounds, which would let a worker handing over one
        // item after another through once per round: each round also waits in the loop itself,
        // woken by the next event, and a timer ends the round when nothing comes.
        QTimer wake;
        wake.setSingleShot(true);
        wake.start(20);
        while (!done() && wake.isActive()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        return done();
      },
      limitMs);
}
