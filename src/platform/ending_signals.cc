#include "platform/ending_signals.h"

#ifdef _WIN32

namespace platform {

void catch_ending_signals() {}

}  // namespace platform

#else

#include <fcntl.h>
#include <unistd.h>

#include <vector>

namespace platform {
namespace {

// What a handler does first. It reads these only; they change while the
// signals are held back.
enum : sig_atomic_t { kNothing, kRemove, kNote };
volatile sig_atomic_t pending = kNothing;
int pending_folder = -1;
const char* pending_name = nullptr;
const char* pending_note = nullptr;
size_t pending_note_length = 0;

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
  if (pending == kRemove) {
    unlinkat(pending_folder, pending_name, 0);
  } else if (pending == kNote) {
    const char* text = pending_note;
    size_t left = pending_note_length;
    while (left > 0) {
      ssize_t got = ::write(STDERR_FILENO, text, left);
      if (got <= 0) break;
      text += got;
      left -= static_cast<size_t>(got);
    }
  }
  pending = kNothing;
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

void remove_on_ending_signal(int folder, const char* name) {
  pending_folder = folder;
  pending_name = name;
  pending = kRemove;
}

void note_on_ending_signal(const char* note, size_t length) {
  pending_note = note;
  pending_note_length = length;
  pending = kNote;
}

void forget_on_ending_signal() { pending = kNothing; }

}  // namespace platform

#endif
