// Placeholder body until text drawing is written.
#include "text_draw.h"

void DrawTextEntity(TCanvas&, int32_t, const std::string&, double, double, double, double, double,
                    double, double, const std::string&) {}
