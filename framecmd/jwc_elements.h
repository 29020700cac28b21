// Element lines of the interface file: records of kinds 1 to 15.
#pragma once

#include <string>
#include <vector>

#include "jwc_data.h"

// Item 21 of the dispatch: an element keyword with a token count it takes.
// True when the line was claimed (an "sl" with 6 or 8 tokens is claimed and
// ignored, like every element keyword with a count it does not take).
bool AddElementLine(TJwcData& d, const TJwcTokens& tokens);
// A keyword-less line of four tokens: the held line in message mode, else a
// line element.
void AddPlainLine(TJwcData& d, const TJwcTokens& tokens);
// Token 0 of a keyword-less line starts with a digit, a sign or ".".
bool LooksLikeNumber(const std::string& token);
