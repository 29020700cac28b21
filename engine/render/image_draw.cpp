// Placeholder body until image drawing is written.
#include "image_draw.h"

void DrawImage(TCanvas&, const std::string&, double, double, double, double, double, double,
               double, double) {}
