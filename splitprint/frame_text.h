// Small Shift-JIS text helpers of frame detection.
#pragma once

#include <cstddef>
#include <string>

#include "func.h"  // FindOnCharBoundary

// Equality ignoring the case of single-byte and full-width Latin letters.
bool EqualIgnoringCase(const std::string& a, const std::string& b);
// Three-way byte comparison ignoring the case of single-byte letters.
int CompareIgnoringCase(const std::string& a, const std::string& b);
