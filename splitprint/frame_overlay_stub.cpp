// Hooks of the drawing-frame overlay, called where the sheet loop and the
// batch need them. Until the overlay is built they do nothing, and
// LoadFrameDrawing answers false, so no sheet gets an overlay insert (the
// same as a paper class without a drawing-frame file).
#include "form1_state.h"

void TForm1::SaveBindImages() {}
void TForm1::RestoreBindImages() {}
void TForm1::MergeBindImages() {}
void TForm1::DeleteAddedBindImages() {}
bool TForm1::LoadFrameDrawing(int32_t /*paperClass*/) { return false; }
void TForm1::InsertFrameBlock() {}
