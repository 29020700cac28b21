// Plays an enhanced metafile into a sink: pens, brushes (solid, hatched,
// hollow), fonts, mapping modes and world transforms, poly-shapes, paths,
// rectangles, ellipses, arcs, chords, pies, ExtTextOut texts and bitmaps.
// EMF+ comments are skipped. Every record is checked against the bytes
// before it is read; a damaged record ends the picture where it stands.
#pragma once

#include "metafile_sink.h"

// The picture's size (its frame at 96 dpi); false when the bytes are no
// enhanced metafile.
bool ReadEmfSize(const uint8_t* data, size_t size, TMetafileSize& out);

// Plays the picture; false when the bytes are no enhanced metafile, or when
// a path outgrows the room the sink has left (the picture is then refused
// as a whole: a part of a path would fill the wrong area).
bool PlayEmf(const uint8_t* data, size_t size, TMetafileSink& sink);
