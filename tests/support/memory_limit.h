// Runs a piece of a test in a child process with a memory cap, so a routine
// that should stay bounded fails fast when it does not, instead of taking
// the machine's memory with it.
#pragma once

#include <cstddef>
#include <functional>

// True when fn returned true in a child taking at most `bytes` more than the
// test process holds: its address space is capped, or under AddressSanitizer
// (whose shadow memory defeats a cap) its peak resident size is compared.
bool RunsWithinMemory(size_t bytes, const std::function<bool()>& fn);
