// Device-independent bitmaps inside metafiles decoded to 32-bit pixels.
// Uncompressed 1, 4, 8, 16, 24 and 32 bits per pixel (with or without bit
// fields); run-length and embedded JPEG/PNG bitmaps are not decoded.
#pragma once

#include "metafile_sink.h"

// The bitmap's header and colour table at `info`, its pixel rows at `bits`.
// nullptr when the header is unusable, the rows are shorter than the header
// says, or the sink has no room for the pixels (then *noRoom is set).
std::shared_ptr<TMetaPixels> DecodeDib(const uint8_t* info, size_t infoSize, const uint8_t* bits, size_t bitsSize,
                                       const TMetafileSink& sink, bool* noRoom = nullptr);

// A packed bitmap: header, colour table and rows in one buffer.
std::shared_ptr<TMetaPixels> DecodePackedDib(const uint8_t* dib, size_t size, const TMetafileSink& sink,
                                             bool* noRoom = nullptr);

// Brush patterns are small tiles; larger bitmaps are refused as patterns.
inline bool IsPatternSize(const TMetaPixels& p) { return int64_t{p.Width} * p.Height <= 256 * 256; }

// Number of bytes the header and colour table of a packed bitmap take, 0
// when the header is unusable.
size_t DibInfoSize(const uint8_t* dib, size_t size);
