// A drawing of what the real drawings of tests/data/realdata lack, for the
// reference images: dimensions, an image of every format, point symbols,
// circular solids, vertical texts and texts with "^" sequences.
#pragma once

#include <string>

#include "jww_data.h"

// Builds the model (block tree built, layers shown, scale 1) and writes the
// image files its image texts name into folder (with a trailing "/"). The
// drawing is meant to be drawn as if saved in that folder.
void MakeShowcaseDrawing(TJwwData& m, const std::string& folder);
