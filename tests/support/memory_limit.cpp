#include "memory_limit.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define MEMORY_LIMIT_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MEMORY_LIMIT_UNDER_ASAN 1
#endif
#endif

namespace {

// Field `field` of /proc/self/statm (0 size, 1 resident), in bytes; 0 if unread.
size_t StatmBytes(int field) {
  size_t values[2] = {0, 0};
  std::ifstream("/proc/self/statm") >> values[0] >> values[1];
  return values[field] * static_cast<size_t>(::sysconf(_SC_PAGESIZE));
}

}  // namespace

bool RunsWithinMemory(size_t bytes, const std::function<bool()>& fn) {
  std::fflush(nullptr);
  [[maybe_unused]] const size_t residentBefore = StatmBytes(1);
  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
#ifndef MEMORY_LIMIT_UNDER_ASAN
    const rlimit cap{StatmBytes(0) + bytes, StatmBytes(0) + bytes};
    ::setrlimit(RLIMIT_AS, &cap);
#endif
    bool ok = false;
    try {
      ok = fn();
    } catch (const std::bad_alloc&) {
    }
    ::_exit(ok ? 0 : 1);
  }
  int status = 0;
  rusage usage{};
  if (::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
#ifdef MEMORY_LIMIT_UNDER_ASAN
  // The sanitizer's own bookkeeping roughly doubles what a routine takes.
  return static_cast<size_t>(usage.ru_maxrss) * 1024 <= residentBefore + 2 * bytes;
#else
  return true;
#endif
}
