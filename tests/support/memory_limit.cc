// Every unit-test program runs with its address space limited, so that a
// test that loops on a list that keeps growing fails at once instead of
// taking the machine's memory. Not under the sanitizers, which reserve far
// more address space than they use, and only where the limit exists.
#if defined(__linux__)
#include <sys/resource.h>

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define AU3_TEST_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define AU3_TEST_SANITIZED 1
#endif

#ifndef AU3_TEST_SANITIZED
namespace {

[[maybe_unused]] const bool kLimited = [] {
  constexpr rlim_t kLimit = rlim_t{4} << 30;
  rlimit limit{};
  if (getrlimit(RLIMIT_AS, &limit) != 0) return false;
  if (limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur <= kLimit) return true;
  limit.rlim_cur = kLimit;
  return setrlimit(RLIMIT_AS, &limit) == 0;
}();

}  // namespace
#endif
#endif
