// Plays a Windows metafile into a sink through libwmflite: libwmf walks the
// records and keeps the device context, our callbacks map its coordinates
// to the picture's pixels and draw. The bytes are checked first (see
// wmf_checker.h) and libwmf's memory is held to a budget.
#pragma once

#include "metafile_sink.h"

// Plays the picture and reports its size (96 dpi); false when the bytes are
// no metafile libwmf can scan.
bool PlayWmf(const uint8_t* data, size_t size, TMetafileSink& sink, TMetafileSize& pictureSize);
