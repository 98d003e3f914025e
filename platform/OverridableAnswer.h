#pragma once
#include <QString>
#include <functional>

namespace platform {

// Something the system answers (this machine's name, the user's login) that tests may answer
// in its place.
class OverridableAnswer {
 public:
  explicit OverridableAnswer(QString (*system)()) : system_(system) {}
  QString operator()() const { return override_ ? override_() : system_(); }
  void Override(std::function<QString()> provider) { override_ = std::move(provider); }

 private:
  QString (*system_)();
  std::function<QString()> override_;
};

}  // namespace platform
