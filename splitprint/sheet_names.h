// File names of sheets: the sheet number with its optional zero padding and
// sheet suffix, the seven naming patterns, and the rule that turns a
// composed name into a safe file name inside the destination folder.
#pragma once

#include <cstdint>
#include <string>

#include "frame_chain.h"  // HasForbiddenSheetNameChar

// True when the numbering's separator holds a character it may not: those
// of sheet names, and ";" and ":". Tested character by character.
bool HasForbiddenSeparatorChar(const std::string& separator);

// The number text of sheet `sheetIndex` (0-based) of a frame with
// `sheetsInFrame` sheets: number in decimal, padded with "0" to the digits of
// (frameCount + startNumber), at most 6, when zeroPad is 1; "-k" (1-based)
// appended when the frame has more than one sheet.
std::string SheetNumberText(int32_t number, int32_t zeroPad, int32_t frameCount, int32_t startNumber,
                            int32_t sheetsInFrame, int32_t sheetIndex);

// The file name (without extension) by naming pattern 0..6; any other
// pattern value is taken as 0. An empty sheet name takes the pattern's
// fallback form.
std::string ComposeSheetName(int32_t pattern, const std::string& number, const std::string& separator,
                             const std::string& base, const std::string& sheetName);

// The name made safe as one file name, Shift-JIS in and out:
//  - every byte that is not part of a valid Shift-JIS character, every
//    control byte (NUL included, 0x01..0x1F and 0x7F), "/" and "\" become "_";
//  - the name is then cut, on a character boundary, so that its UTF-8 form
//    plus ".jww" fits the 255-byte limit of a file name.
// The result never leaves the folder it is joined to and converts to UTF-8
// without loss.
std::string SafeSheetFileName(const std::string& name);

// The file name (without extension) of a sheet as the file system stores
// it: ComposeSheetName of the drawing's own name `base` (native bytes, kept
// as they are) with the number, separator and sheet name (Shift-JIS texts,
// each made safe as SafeSheetFileName does, and converted). A name too long
// for 255 bytes with ".jww" gives up the end of its drawing-name part
// first, on a character boundary, so that the number and the sheet name
// stay; a name still too long without its drawing name gives up the end of
// its sheet name before the "~n" that tells repeated sheet names apart.
// suffix (native, such as the "-2" of a name taken already) follows the
// name and always fits.
std::string SheetFileName(int32_t pattern, const std::string& number, const std::string& separator,
                          const std::string& base, const std::string& sheetName,
                          const std::string& suffix = std::string());

// The file name without its folder (after the last '/').
std::string FileNameOf(const std::string& path);
// The folder of a path with its trailing '/', empty when it has none.
std::string FolderOf(const std::string& path);
// The file name without its extension (from the last '.').
std::string RemoveExtension(const std::string& fileName);
// The extension (from the last '.' of the file name), ASCII upper-cased.
std::string UpperExtension(const std::string& path);
