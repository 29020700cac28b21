// The "%%" replacement table of the drawing being processed. Until the
// Jw_cad hand-over is built nothing is read; the table is never enabled in
// this program, so saved sheets are the same either way.
#include "form1_state.h"

void TForm1::LoadRefFile() {}
