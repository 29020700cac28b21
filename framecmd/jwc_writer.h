// The output side of the interface file: emitters that queue command lines
// (an attribute line only when the attribute changes) and the writer that
// puts the queue into "JWC_TEMP.TXT". Reals go out in the general form with
// "." whatever the locale; every line ends in CR LF.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "jwc_data.h"

// Appends one entry, cut to 255 bytes on a character boundary.
void AddOutputLine(TJwcData& d, const std::string& text);
void OutLayerGroup(TJwcData& d, int32_t group);
void OutLayer(TJwcData& d, int32_t layer);
void OutColor(TJwcData& d, int32_t number, int32_t map);
void OutLineType(TJwcData& d, int32_t number, int32_t map);
void OutLineWidth(TJwcData& d, int32_t width);  // -1: FirstLineWidth
void OutTextType(TJwcData& d, int32_t type, int32_t color, int32_t map, double width, double height,
                 double spacing);
void OutCcValue(TJwcData& d, int32_t n);
void OutFontName(TJwcData& d, const std::string& name);  // "" or "<>": FirstFont
void OutLine(TJwcData& d, double x1, double y1, double x2, double y2);
void OutText(TJwcData& d, int32_t kind, const std::string& text, double x, double y, double dx, double dy);
// Sets every must-emit flag and the starting values of the emitters.
void ResetOutputAttributes(TJwcData& d);

int32_t MapColorNo(const TJwcData& d, int32_t n);
int32_t MapLineTypeNo(const TJwcData& d, int32_t n);

// The bytes WriteJwcFile writes for the queue ("hq" when it is empty).
std::string JwcFileContents(const TJwcData& d);
// Writes the queue through a temporary file renamed over path. On failure
// nothing partial is left and path itself is removed when it is a file (so
// Jw_cad never applies stale commands); answers false.
bool WriteJwcFile(const TJwcData& d, const std::filesystem::path& path);
