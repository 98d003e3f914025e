#include "enginehost/EngineProcess.h"

#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/eventfd.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <utility>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// The one engine call at a time of the whole program.
class CallGate {
 public:
  // Waits for the turn; false when the call is cancelled first.
  bool Enter(const EngineCallCancel& cancel) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return !busy_ || cancel.Cancelled(); });
    if (cancel.Cancelled()) return false;
    busy_ = true;
    return true;
  }
  void Leave() {
    {
      std::lock_guard lock(mutex_);
      busy_ = false;
    }
    changed_.notify_all();
  }
  // A waiter's call was cancelled: let it look again.
  void Wake() {
    { std::lock_guard lock(mutex_); }
    changed_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool busy_ = false;
};

// Never destroyed: a worker may still be leaving it while the program exits.
CallGate& Gate() {
  static CallGate* gate = new CallGate;
  return *gate;
}

class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() { Reset(); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  void Reset(int fd = -1) {
    if (fd_ >= 0) close(fd_);
    fd_ = fd;
  }

 private:
  int fd_;
};

// Above the standard descriptors (a program started with them closed gets pipes there), so
// that placing a pipe end on stdin or stdout in the runner is always a real copy.
int AboveStandard(int fd) {
  if (fd < 0 || fd > STDERR_FILENO) return fd;
  const int high = fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
  close(fd);
  return high;
}

bool MakePipe(Fd& readEnd, Fd& writeEnd) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return false;
  readEnd.Reset(AboveStandard(fds[0]));
  writeEnd.Reset(AboveStandard(fds[1]));
  return readEnd.get() >= 0 && writeEnd.get() >= 0;
}

pid_t Spawn(const std::vector<std::string>& argv, int stdinFd, int stdoutFd) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, stdinFd, STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, stdoutFd, STDOUT_FILENO);
  // Nothing else of the program's (sockets, the display connection) reaches an engine.
  posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  // A group of its own, so that one kill reaches whatever the engine started as well.
  posix_spawnattr_setpgroup(&attributes, 0);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attributes, &none);
  sigset_t all;
  sigfillset(&all);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_t pid = -1;
  const int error = posix_spawn(&pid, args[0], &actions, &attributes, args.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  return error == 0 ? pid : -1;
}

enum class ReadStep { Data, Later, End };

// Reads what is still missing of the answer.
ReadStep ReadAnswer(int fd, std::size_t answerBytes, std::vector<unsigned char>& answer) {
  const std::size_t before = answer.size();
  answer.resize(answerBytes);
  const ssize_t n = read(fd, answer.data() + before, answerBytes - before);
  answer.resize(before + (n > 0 ? static_cast<std::size_t>(n) : 0));
  if (n > 0) return ReadStep::Data;
  return n < 0 && (errno == EINTR || errno == EAGAIN) ? ReadStep::Later : ReadStep::End;
}

// Waits until the whole answer is in, the runner has ended, the time is up or the call is
// cancelled. exitedFd (a pidfd, or -1) tells of the runner's end even when something it started
// still holds the pipe open.
RunnerEnd AwaitAnswer(int answerFd, int exitedFd, int wakeFd, std::size_t answerBytes, Clock::time_point deadline,
                      std::vector<unsigned char>& answer) {
  while (answer.size() < answerBytes) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return RunnerEnd::TimedOut;
    pollfd fds[3] = {{answerFd, POLLIN, 0}, {wakeFd, POLLIN, 0}, {exitedFd, POLLIN, 0}};
    const int ready = poll(fds, exitedFd >= 0 ? 3 : 2, static_cast<int>(std::min<long long>(left, INT_MAX)));
    if (ready < 0 && errno != EINTR) return RunnerEnd::Died;
    if (ready <= 0) continue;
    if (fds[1].revents != 0) return RunnerEnd::Cancelled;
    if (fds[0].revents != 0) {
      if (ReadAnswer(answerFd, answerBytes, answer) == ReadStep::End) return RunnerEnd::Died;
      continue;
    }
    if (fds[2].revents != 0) {
      // Ended: what it wrote before is still in the pipe.
      fcntl(answerFd, F_SETFL, O_NONBLOCK);
      while (answer.size() < answerBytes && ReadAnswer(answerFd, answerBytes, answer) == ReadStep::Data) {
      }
      return answer.size() == answerBytes ? RunnerEnd::Answered : RunnerEnd::Died;
    }
  }
  return RunnerEnd::Answered;
}

// A descriptor that becomes readable when the process ends; -1 on a kernel without them, when the
// pipe's end has to tell. (The system call itself: this C library's header lacks C++ linkage.)
int ProcessEndFd(pid_t pid) { return static_cast<int>(syscall(SYS_pidfd_open, pid, 0)); }

void Reap(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace

EngineCallCancel::EngineCallCancel() : wakeFd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

EngineCallCancel::~EngineCallCancel() {
  if (wakeFd_ >= 0) close(wakeFd_);
}

void EngineCallCancel::Cancel() {
  {
    std::lock_guard lock(mutex_);
    cancelled_ = true;
    if (group_ > 0) kill(-group_, SIGKILL);
  }
  const std::uint64_t one = 1;
  if (wakeFd_ >= 0 && write(wakeFd_, &one, sizeof one) < 0) {
    // Already signalled often enough to be full: still readable.
  }
  Gate().Wake();
}

bool EngineCallCancel::Cancelled() const {
  std::lock_guard lock(mutex_);
  return cancelled_;
}

bool EngineCallCancel::Attach(pid_t group) {
  std::lock_guard lock(mutex_);
  if (cancelled_) return false;
  group_ = group;
  return true;
}

void EngineCallCancel::Detach() {
  std::lock_guard lock(mutex_);
  group_ = 0;
}

RunnerResult RunEngineRunner(const std::vector<std::string>& argv, const std::vector<unsigned char>& request,
                             std::size_t answerBytes, std::chrono::milliseconds limit, EngineCallCancel& cancel) {
  RunnerResult result;
  // The request goes into the pipe before the runner starts; an empty pipe takes PIPE_BUF at once.
  if (argv.empty() || request.size() > PIPE_BUF) return result;
  if (!Gate().Enter(cancel)) {
    result.end = RunnerEnd::Cancelled;
    return result;
  }
  struct LeaveGate {
    ~LeaveGate() { Gate().Leave(); }
  } leave;
  const Clock::time_point deadline = Clock::now() + limit;

  Fd requestRead, requestWrite, answerRead, answerWrite;
  if (!MakePipe(requestRead, requestWrite) || !MakePipe(answerRead, answerWrite)) return result;
  if (!request.empty() && write(requestWrite.get(), request.data(), request.size()) != static_cast<ssize_t>(request.size()))
    return result;
  requestWrite.Reset();
  const pid_t pid = Spawn(argv, requestRead.get(), answerWrite.get());
  requestRead.Reset();
  answerWrite.Reset();
  if (pid < 0) return result;

  Fd exited(ProcessEndFd(pid));
  if (cancel.Attach(pid))
    result.end = AwaitAnswer(answerRead.get(), exited.get(), cancel.WakeFd(), answerBytes, deadline, result.answer);
  else
    result.end = RunnerEnd::Cancelled;
  // A cancel kills the runner itself, which the wait may have seen first as its death.
  if (result.end != RunnerEnd::Answered && cancel.Cancelled()) result.end = RunnerEnd::Cancelled;
  // Whatever the end, nothing of the call outlives it.
  kill(-pid, SIGKILL);
  cancel.Detach();
  Reap(pid);
  if (result.end != RunnerEnd::Answered) result.answer.clear();
  return result;
}
