// The engine runner: makes one call into one engine library and writes the answer to stdout.
// The program starts it for every single call, so whatever an engine does (crash, hang, garbage)
// happens to this process alone, which the program can kill.
//   velmora-engine status <library>
//   velmora-engine move <library>      (the board on stdin)
#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>
#include <vector>

#include "enginerunner/EngineCall.h"
#include "contract/RunnerWire.h"

namespace {

constexpr int kUsage = 2;

bool WriteAll(int fd, const std::vector<unsigned char>& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Up to limit bytes, until end of file.
std::vector<unsigned char> ReadAll(int fd, std::size_t limit) {
  std::vector<unsigned char> bytes(limit);
  std::size_t done = 0;
  while (done < limit) {
    const ssize_t n = read(fd, bytes.data() + done, limit - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  bytes.resize(done);
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  // Ends with the program: a runner left behind would keep a hung engine spinning.
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  // The answer keeps stdout's pipe to itself; whatever an engine prints goes to stderr.
  const int answerFd = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
  if (answerFd < 0 || dup2(STDERR_FILENO, STDOUT_FILENO) < 0) return kUsage;
  if (argc != 3) return kUsage;
  const std::string library = argv[2];

  if (std::strcmp(argv[1], runnerwire::kStatusCall) == 0) {
    runnerwire::StatusAnswer answer;
    if (const auto buffers = enginecall::CallGetStatus(library)) {
      answer.reply = runnerwire::Reply::Answered;
      answer.buffers = *buffers;
    }
    return WriteAll(answerFd, runnerwire::EncodeStatusAnswer(answer)) ? 0 : 1;
  }
  if (std::strcmp(argv[1], runnerwire::kMoveCall) == 0) {
    const auto request = runnerwire::DecodeMoveRequest(ReadAll(STDIN_FILENO, runnerwire::kMaxRequestBytes + 1));
    if (!request) return kUsage;
    runnerwire::MoveAnswer answer;
    if (const auto move = enginecall::CallTekuming(library, *request)) {
      answer.reply = runnerwire::Reply::Answered;
      answer.move = *move;
    }
    return WriteAll(answerFd, runnerwire::EncodeMoveAnswer(answer)) ? 0 : 1;
  }
  return kUsage;
}
