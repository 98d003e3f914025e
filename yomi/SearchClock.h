#pragma once
// Node counting and the time limit every search of one call shares.
#include <chrono>
#include <cstdint>

namespace yomi {

class SearchClock {
 public:
  using Clock = std::chrono::steady_clock;

  SearchClock() : start_(Clock::now()), limit_(Clock::time_point::max()) {}

  // From now on the search stops once this much time has passed since the call began.
  void LimitTo(Clock::duration sinceStart) { limit_ = start_ + sinceStart; }
  void Unlimit() { limit_ = Clock::time_point::max(); }

  // Counts a node; true once the limit has passed. The clock is read only every so many nodes,
  // which keeps the cost of the check out of the search's speed.
  bool Tick() {
    if ((++nodes_ & 1023) == 0 && Clock::now() >= limit_) stopped_ = true;
    return stopped_;
  }
  bool Stopped() const { return stopped_; }
  // A stopped search may start again under a new limit.
  void Resume() { stopped_ = false; }

  std::uint64_t Nodes() const { return nodes_; }
  Clock::duration Elapsed() const { return Clock::now() - start_; }

 private:
  Clock::time_point start_;
  Clock::time_point limit_;
  std::uint64_t nodes_ = 0;
  bool stopped_ = false;
};

}  // namespace yomi
