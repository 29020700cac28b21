// The image section of a version-700 file: the held images that the
// drawing's image texts refer to.
#pragma once

class ByteWriter;
class TJwwData;

// Sets the used flags of BindImg.BindImages and writes the section. Throws
// JwwWriteError when a flagged image file cannot be read.
void WriteImageSection(const TJwwData& d, ByteWriter& out);
