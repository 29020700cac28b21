// A label's text laid out in lines that fit its width, breaking only
// between the values it shows.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// The text (Shift-JIS, lines ended by CR LF) with every line that is wider
// than width broken at its ideographic spaces, never inside the words and
// values between them; the space where a line breaks is dropped. widthOf
// measures a piece of text. A piece too wide even alone gets a line of its
// own.
std::string BreakAtWideSpaces(const std::string& text, int32_t width,
                              const std::function<int32_t(const std::string&)>& widthOf);
