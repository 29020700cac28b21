// Plays another user of the machine: the step runs in a child process
// switched to other user and group ids, so the files it makes are theirs
// and the kernel checks its rights as theirs.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>

namespace jwwtest {

// The ids the other user plays with ("nobody"); the group shares folders.
constexpr uid_t kOtherUid = 65534;
constexpr gid_t kOtherGid = 65534;

// Why another user cannot be played here; empty when it can.
std::string WhyNoOtherUser();
// Runs step as kOtherUid / group gid; true when it ran and returned true.
bool AsOtherUser(const std::function<bool()>& step, gid_t gid = kOtherGid);

}  // namespace jwwtest
