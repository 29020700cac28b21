#include "bind_images.h"

TBindImageGlobals BindImg;

void ClearBindImages() {
  BindImg.BindImages.clear();
  BindImg.BindImageCount = 0;
}
