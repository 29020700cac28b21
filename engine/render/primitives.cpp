// Placeholder bodies until the primitives are written.
#include "primitives.h"

void SetBrushByCode(TCanvas&, int32_t, int32_t) {}
void SetPenForEntity(TCanvas&, int32_t, int32_t, int32_t, double) {}
void DrawLine(TCanvas&, double, double, double, double) {}
void DrawRotatedRect(TCanvas&, double, double, double, double, double) {}
