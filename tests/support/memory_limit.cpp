#include "memory_limit.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define MEMORY_LIMIT_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MEMORY_LIMIT_UNDER_ASAN 1
#endif
#endif

namespace {

// Field `field` of /proc/self/statm (0 size, 1 resident), in bytes.
size_t StatmBytes(int field) {
  FILE* f = std::fopen("/proc/self/statm", "r");
  if (!f) return 0;
  unsigned long values[2] = {0, 0};
  const int read = std::fscanf(f, "%lu %lu", &values[0], &values[1]);
  std::fclose(f);
  if (read != 2) return 0;
  return values[field] * static_cast<size_t>(::sysconf(_SC_PAGESIZE));
}

}  // namespace

bool RunsWithinMemory(size_t bytes, const std::function<bool()>& fn) {
  std::fflush(nullptr);
  const size_t residentBefore = StatmBytes(1);
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
      ok = false;
    }
    ::_exit(ok ? 0 : 1);
  }
  int status = 0;
  rusage usage{};
  if (::wait4(child, &status, 0, &usage) != child) return false;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
#ifdef MEMORY_LIMIT_UNDER_ASAN
  // The sanitizer's own bookkeeping roughly doubles what a routine takes.
  const size_t peak = static_cast<size_t>(usage.ru_maxrss) * 1024;
  return peak <= residentBefore + 2 * bytes;
#else
  (void)residentBefore;
  return true;
#endif
}
