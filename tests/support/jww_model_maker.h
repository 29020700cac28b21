// Builds drawing models in code for the writer's tests: appending elements
// to a model or a block definition the way the reader fills them, and a
// drawing whose every value the writer keeps unchanged in a given version.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "jww_data.h"

namespace jwwtest {

// Gives the table arrays their fixed lengths (all rows zero), as the reader
// does before reading a header.
void SizeTables(TJwwData& m);

// Appends an element to the model's array, raises the kind's count and adds
// an order row (EntityOrderCount follows).
void Append(TJwwData& m, const TEntJwwLine& e);
void Append(TJwwData& m, const TEntJwwArc& e);
void Append(TJwwData& m, const TEntJwwPoint& e);
void Append(TJwwData& m, const TEntJwwText& e);
void Append(TJwwData& m, const TEntJwwDimension& e);
void Append(TJwwData& m, const TEntJwwSolid& e);
void Append(TJwwData& m, const TEntJwwBlockInsert& e);

// The same for a block definition's own arrays and order list.
void Append(TEntJwwBlockDef& d, const TEntJwwLine& e);
void Append(TEntJwwBlockDef& d, const TEntJwwArc& e);
void Append(TEntJwwBlockDef& d, const TEntJwwPoint& e);
void Append(TEntJwwBlockDef& d, const TEntJwwText& e);
void Append(TEntJwwBlockDef& d, const TEntJwwDimension& e);
void Append(TEntJwwBlockDef& d, const TEntJwwSolid& e);
void Append(TEntJwwBlockDef& d, const TEntJwwBlockInsert& e);

// Appends a block definition (both definition counts follow) and answers it.
TEntJwwBlockDef& AddBlockDef(TJwwData& m, int32_t number, const std::string& name);

// A drawing of every element kind, two block definitions reached by the
// inserts (numbered 0 and 1, so renumbering keeps them) and, from version
// 700, two image texts referring to the held images of StableImages(). Every
// value lies in the range that the writer keeps for `version`: pens and
// line types that the version has, pen 0 printing white, named extended
// pens and line types, a dot-pitch class only where the version stores it,
// non-negative block times. Header.Version is `version`; the block tree is
// built.
void MakeStableModel(TJwwData& m, int32_t version);

// The held images that the stable model's texts refer to: name -> content.
const std::map<std::string, std::string>& StableImages();

// Puts StableImages() into BindImg (rows, both flags set, TempFolder =
// folder with a trailing '/') and writes their files into folder.
void InstallStableImages(const std::string& folder);

// A fresh empty folder of this process under the test temp directory,
// ending in '/'.
std::string FreshFolder(const std::string& name);

}  // namespace jwwtest
