// Paths that came through Shift-JIS (Jw_cad's interface file) name Linux
// files whose characters Shift-JIS folds together: "〜" may be U+301C on
// disk and U+FF5E after the round trip, "−" U+2212 or U+FF0D.
#pragma once

#include <string>

// The existing path whose components have the same Shift-JIS form as those
// of `path` (native, absolute), ASCII case ignored; `path` itself when it
// exists or nothing matches. Reads at most a bounded number of entries per
// folder.
std::string MatchBySjisForm(const std::string& path);
