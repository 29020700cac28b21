// Plays another user: a step runs in a child switched to uid and gid 65534, so what it makes is theirs.
#pragma once

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace jwwtest {

constexpr uid_t kOtherUid = 65534;
constexpr gid_t kOtherGid = 65534;
inline constexpr char kNoOtherUser[] = "playing another user needs the superuser";

// True when step ran as the other user and returned true.
template <class TStep>
bool AsOtherUser(const TStep& step) {
  const pid_t child = ::fork();
  if (child == 0)
    ::_exit(::setgroups(0, nullptr) != 0 || ::setresgid(kOtherGid, kOtherGid, kOtherGid) != 0 ||
            ::setresuid(kOtherUid, kOtherUid, kOtherUid) != 0 || !step());
  int status = 0;
  return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace jwwtest
