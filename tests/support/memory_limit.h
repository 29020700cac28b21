// Runs a piece of a test in a child process with a memory cap, so a routine
// that should stay bounded fails fast when it does not, instead of taking
// the machine's memory with it.
#pragma once

#include <cstddef>
#include <functional>

// True when fn returned true in a child that may take at most `bytes` more
// than the test process holds already. Without sanitizers the child's address
// space is capped (an allocation past the cap fails); under AddressSanitizer,
// whose shadow memory makes such a cap meaningless, the child's peak resident
// size is compared with the cap after it ends.
bool RunsWithinMemory(size_t bytes, const std::function<bool()>& fn);
