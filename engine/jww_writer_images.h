// The image section of a version-700 file: the held images that the
// drawing's image texts refer to.
#pragma once

#include <cstdint>

class ByteWriter;
class TJwwData;

// Sets the used flags of BindImg.BindImages and writes the section. Throws
// JwwWriteError when a flagged image file cannot be read. Answers how many
// held images the texts refer to that could not be embedded (their files
// are missing or their names unsafe) while images are kept.
uint32_t WriteImageSection(const TJwwData& d, ByteWriter& out);
