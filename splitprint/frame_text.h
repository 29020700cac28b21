// Small Shift-JIS text helpers of frame detection.
#pragma once

#include <cstddef>
#include <string>

#include "func.h"  // FindOnCharBoundary

// Equality ignoring the case of single-byte and full-width Latin letters.
bool EqualIgnoringCase(const std::string& a, const std::string& b);
// A key for hashing under that equality: EqualIgnoringCase(a, b) exactly when
// the keys are equal.
std::string IgnoringCaseKey(const std::string& s);
// Three-way byte comparison ignoring the case of single-byte letters.
int CompareIgnoringCase(const std::string& a, const std::string& b);
