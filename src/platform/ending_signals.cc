// The POSIX handlers of ending signals and the files they remove or name
// before the process ends; Windows has its console handler with the output.
#include "platform/ending_signals.h"

#ifdef _WIN32

namespace platform {

void catch_ending_signals() {}

}  // namespace platform

#else

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <vector>

namespace platform {
namespace {

// What a handler does first, one entry per file under way. It reads these
// only; they change while the signals are held back, and an entry's action
// is set last and cleared first, so that a signal taken on another thread
// never sees half an entry.
enum : int { kNothing, kTaken, kRemove, kNote };
struct pending_file {
  std::atomic<int> action{kNothing};
  int folder = -1;
  const char* name = nullptr;
  const char* note = nullptr;
  size_t note_length = 0;
};
static_assert(std::atomic<int>::is_always_lock_free);
// The output, the map and the metafile, each with room for a copy aside.
constexpr int kPendingFiles = 8;
pending_file pending[kPendingFiles];

const std::vector<int>& ending_signals() {
  static const std::vector<int> numbers = [] {
    std::vector<int> list = {SIGHUP,  SIGINT,  SIGQUIT,   SIGTERM, SIGUSR1, SIGUSR2,
                             SIGPIPE, SIGALRM, SIGXCPU,   SIGXFSZ, SIGVTALRM, SIGPROF,
                             SIGABRT, SIGSEGV, SIGBUS,    SIGFPE,  SIGILL,  SIGTRAP,
                             SIGSYS};
#ifdef SIGIO
    list.push_back(SIGIO);
#endif
#ifdef SIGPWR
    list.push_back(SIGPWR);
#endif
#ifdef SIGSTKFLT
    list.push_back(SIGSTKFLT);
#endif
#ifdef SIGRTMIN
    for (int number = SIGRTMIN; number <= SIGRTMAX; ++number) list.push_back(number);
#endif
    return list;
  }();
  return numbers;
}

sigset_t ending_set() {
  sigset_t set;
  sigemptyset(&set);
  for (int number : ending_signals()) sigaddset(&set, number);
  return set;
}

// The kernel sends SIGPIPE (a reader gone) and SIGXFSZ (the file size limit)
// to the writer as if from the process itself; the write then fails, and
// the run says so.
bool caused_by_own_write(int number, const siginfo_t* info) {
  return (number == SIGPIPE || number == SIGXFSZ) && info != nullptr &&
         info->si_code == SI_USER && info->si_pid == getpid();
}

void on_ending_signal(int number, siginfo_t* info, void*) {
  if (caused_by_own_write(number, info)) return;
  for (pending_file& file : pending) {
    // Each entry is acted on once, also when two threads take a signal.
    int action = file.action.load(std::memory_order_acquire);
    if ((action != kRemove && action != kNote) ||
        !file.action.compare_exchange_strong(action, kNothing, std::memory_order_acquire)) {
      continue;
    }
    if (action == kRemove) {
      unlinkat(file.folder, file.name, 0);
    } else if (action == kNote) {
      const char* text = file.note;
      size_t left = file.note_length;
      while (left > 0) {
        ssize_t got = ::write(STDERR_FILENO, text, left);
        if (got <= 0) break;
        text += got;
        left -= static_cast<size_t>(got);
      }
    }
  }
  // Ends the process by the same signal once the handler returns.
  ::signal(number, SIG_DFL);
  ::raise(number);
}

}  // namespace

void catch_ending_signals() {
  struct sigaction action = {};
  action.sa_sigaction = on_ending_signal;
  action.sa_flags = SA_SIGINFO | SA_RESTART;
  action.sa_mask = ending_set();
  for (int number : ending_signals()) {
    struct sigaction current;
    if (sigaction(number, nullptr, &current) != 0) continue;
    // Ignored (nohup) or handled already (a sanitizer's report): left so.
    bool plain = (current.sa_flags & SA_SIGINFO) == 0 && current.sa_handler == SIG_DFL;
    if (plain) sigaction(number, &action, nullptr);
  }
}

std::span<const int> ending_signal_numbers() { return ending_signals(); }

sigset_t hold_ending_signals() {
  sigset_t block = ending_set(), saved;
  pthread_sigmask(SIG_BLOCK, &block, &saved);
  return saved;
}

void release_ending_signals(const sigset_t& saved) {
  pthread_sigmask(SIG_SETMASK, &saved, nullptr);
}

int remove_on_ending_signal(int folder, const char* name) {
  for (int place = 0; place < kPendingFiles; ++place) {
    pending_file& file = pending[place];
    // Taken before it is filled: two threads never fill one entry.
    int free = kNothing;
    if (!file.action.compare_exchange_strong(free, kTaken, std::memory_order_acquire)) continue;
    file.folder = folder;
    file.name = name;
    file.action.store(kRemove, std::memory_order_release);
    return place;
  }
  return -1;
}

void note_on_ending_signal(int place, const char* note, size_t length) {
  if (place < 0) return;
  pending_file& file = pending[place];
  file.action.store(kTaken, std::memory_order_relaxed);
  file.note = note;
  file.note_length = length;
  file.action.store(kNote, std::memory_order_release);
}

void forget_on_ending_signal(int place) {
  if (place >= 0) pending[place].action.store(kNothing, std::memory_order_release);
}

}  // namespace platform

#endif
