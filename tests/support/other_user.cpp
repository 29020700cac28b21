#include "other_user.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace jwwtest {

std::string WhyNoOtherUser() {
  return ::geteuid() == 0 ? std::string() : "switching to another user needs the superuser";
}

bool AsOtherUser(const std::function<bool()>& step, gid_t gid) {
  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    const bool switched = ::setgroups(0, nullptr) == 0 && ::setresgid(gid, gid, gid) == 0 &&
                          ::setresuid(kOtherUid, kOtherUid, kOtherUid) == 0;
    ::_exit(switched && step() ? 0 : 1);
  }
  int status = 0;
  return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace jwwtest
