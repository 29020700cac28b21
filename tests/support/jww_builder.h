// Test-side JWW byte builder. It writes JWW files straight from the file
// layout (header steps by version, the object archive with its class tags,
// counts and strings, element data, block definitions, held images) without
// using the engine's reader or writer, so tests can compare those against an
// independent encoding byte for byte.
//
// Two levels:
//  * JwwArchiveWriter: the low-level encoder. Knows the archive forms
//    (strings, counts, class tags, the shared running index) and writes one
//    header, element or block-definition head at a time. Use it to stream very
//    large files (see synthetic_drawing.h).
//  * JwwBuilder: a whole drawing held as a description (header, tables,
//    ordered element lists, block definitions, images) and `Bytes(version)`.
//
// Defaults follow the forms the engine's writer uses, so a faithful writer
// produces the same bytes:
//  - a count is a uint16 when at most 65534, else 0xFFFF and a uint32;
//  - a class seen before is 0x8000 + index while the index is at most 32766,
//    else 0x7FFF and the index with its top bit set as a uint32;
//  - a new class is 0xFFFF, schema (= the target version), name length, name;
//  - strings of at most 254 bytes take one length byte, longer ones 255 and a
//    uint16 length; 65534 bytes or more (0xFFFE is the Unicode marker) take
//    255, 0xFFFF and a uint32 (a form the engine's reader rejects);
//  - reserved header blocks (steps 6 and 8) are zero bytes;
//  - the print value after DrawSwitches is SkipDisplayOnlyLayers +
//    10 * DotPitchClass (written as the header fields hold them, no clamping);
//  - every field is written as the description holds it: the builder applies
//    none of the writer's clamps, renames or down-conversion rules.
// Options (JwwBuildOptions) switch on the other legal forms a reader must
// accept: Unicode strings, wide counts, 0x7FFF class references, long string
// lengths.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "bind_images.h"
#include "byte_io.h"
#include "jwwtype.h"

class TJwwData;


namespace jwwtest {

// The archive class names of the seven element kinds (index = kind) and of a
// block definition.
const char* ElementClassName(int32_t kind);  // kinds 1..7; nullptr otherwise
inline constexpr const char* kBlockDefClassName = "CDataList";

// Bytes written verbatim as one object (tag included). It takes one running
// index like any object. For hand-made damage: unknown class indices etc.
struct JwwRawObject {
  std::vector<uint8_t> Bytes;
};

// An object of a class outside the seven element kinds: written with the
// ordinary class tags (new class on first use) and the given data.
struct JwwForeignObject {
  std::string ClassName;
  std::vector<uint8_t> Data;
};

using JwwElement = std::variant<TEntJwwLine, TEntJwwArc, TEntJwwPoint, TEntJwwText, TEntJwwDimension,
                                TEntJwwSolid, TEntJwwBlockInsert, JwwForeignObject, JwwRawObject>;

// Kind of an element (1..7), 0 for foreign and raw objects.
int32_t ElementKind(const JwwElement& e);

// An element list as stored: count, then objects.
struct JwwElementList {
  std::vector<JwwElement> Items;
  // Written instead of Items.size() when set (e.g. 0xFFFFFFFF for damage).
  std::optional<uint32_t> CountOverride;

  template <typename T>
  T& Add(const T& e) {
    Items.emplace_back(e);
    return std::get<T>(Items.back());
  }
};

struct JwwBuilderBlockDef {
  TEntJwwCommon Common;
  int32_t Number = 0;
  int32_t Referenced = 0;
  int32_t Time = 0;    // a negative time is followed by the 8 bytes of Time64
  int64_t Time64 = 0;  // written only when Time < 0
  std::string Name;
  JwwElementList Elements;
};

struct JwwBuilderImage {
  std::string Name;
  std::string Content;  // bytes of the image file; written only when Name is not empty
  // Size written instead of Content.size() when set (damage tests).
  std::optional<uint32_t> SizeOverride;
};

struct JwwBuildOptions {
  bool UnicodeMemo = false;        // memo in the archive's Unicode form (as real files have it)
  bool UnicodeStrings = false;     // every other string in the Unicode form as well
  bool LongStringLengths = false;  // 255 + uint16 length even for short strings
  bool WideCounts = false;         // every object count as 0xFFFF + uint32
  bool LongClassRefs = false;      // every reference to a known class as 0x7FFF + uint32
  int32_t Schema = -1;             // schema of new classes; -1: the target version
  uint8_t ReservedFill = 0;        // byte value of the reserved header blocks
  // The 56 bytes of step 6 and the 4 of step 8 as given (overrides ReservedFill).
  std::optional<std::array<uint8_t, 60>> ReservedBytes;
  // Raw UTF-16 units for the Unicode memo (overrides Header.Memo when set;
  // implies the Unicode form for the memo).
  std::optional<std::u16string> MemoUtf16;
  // Overrides the print value (step 20) when set.
  std::optional<int32_t> PrintValue;
};

// The drawing as stored. Table vectors have their fixed lengths (16 groups,
// 256 layers, 10 pens, 8 line types, 5 random lines, 4 double lines, 257
// extended pens, 33 extended line types, 10 text sizes), all rows zero.
struct JwwDrawingDesc {
  TEntJwwHeader Header;  // Signature "JwwData.", otherwise the model defaults
  std::vector<TEntJwwLayerGroup> LayerGroups;
  std::vector<TEntJwwLayer> Layers;
  std::vector<TEntJwwPen> Pens;
  std::vector<TEntJwwLineType> LineTypes;
  std::vector<TEntJwwRandomLine> RandomLines;
  std::vector<TEntJwwDoubleLine> DoubleLines;
  std::vector<TEntJwwColorExNo> ColorsEx;
  std::vector<TEntJwwLineTypeExNo> LineTypesEx;
  std::vector<TEntJwwTextSize> TextSizes;
  JwwElementList Elements;
  std::vector<JwwBuilderBlockDef> BlockDefs;
  std::optional<uint32_t> BlockDefCountOverride;
  std::vector<JwwBuilderImage> Images;  // written from version 700
  std::optional<uint32_t> ImageCountOverride;

  JwwDrawingDesc();
};

// Low-level encoder of one file. Keeps the running object index and the
// class index table shared by all lists of the file.
class JwwArchiveWriter {
 public:
  JwwArchiveWriter(int32_t version, const JwwBuildOptions& options = {});

  int32_t Version() const { return version_; }
  std::vector<uint8_t>& Buffer() { return out_.Buffer(); }
  ByteWriter& Out() { return out_; }
  uint32_t NextIndex() const { return nextIndex_; }

  // Strings: the ordinary form (by length) or the Unicode form (Shift-JIS
  // text converted to UTF-16), chosen by `unicode`.
  void String(const std::string& sjis, bool unicode);
  void String(const std::string& sjis) { String(sjis, options_.UnicodeStrings); }
  void UnicodeString(const std::u16string& units);
  void Count(uint32_t n);
  // Tag of one object of the class: new class the first time (the class
  // takes an index), else a reference. The object takes the next index.
  void ObjectTag(const std::string& className);
  void TakeIndex() { ++nextIndex_; }

  void Header(const JwwDrawingDesc& drawing);
  void Common(const TEntJwwCommon& c);
  void Line(const TEntJwwLine& e);
  void Arc(const TEntJwwArc& e);
  void Point(const TEntJwwPoint& e);  // 20-byte tail when line type is 100
  void Text(const TEntJwwText& e);
  void Dimension(const TEntJwwDimension& e);  // SXF part from version 420
  void Solid(const TEntJwwSolid& e);          // Rgb when pen is 10
  void BlockInsert(const TEntJwwBlockInsert& e);
  // Tag and data of one element (kind element or foreign/raw object).
  void Element(const JwwElement& e);
  void ElementList(const JwwElementList& list);
  void BlockDef(const JwwBuilderBlockDef& def);
  void Images(const std::vector<JwwBuilderImage>& images, std::optional<uint32_t> countOverride);

 private:
  void ClassTag(const std::string& className);  // a new class takes an index
  void ClassRef(uint32_t index);

  int32_t version_;
  JwwBuildOptions options_;
  ByteWriter out_;
  uint32_t nextIndex_ = 1;
  std::map<std::string, uint32_t> classIndex_;
};

class JwwBuilder {
 public:
  JwwDrawingDesc drawing;
  JwwBuildOptions options;

  JwwBuilder() = default;
  // Describes a model: header, tables (missing rows stay zero), the elements
  // of EntityOrder (rows 0..EntityOrderCount-1 of kinds 1..7), the block
  // definitions 0..BlockListCount-1 with their own order lists, and the
  // given held images (names and sizes; contents from `contents` when the
  // name is there, else `Size` zero bytes).
  static JwwBuilder FromModel(const TJwwData& model, const std::vector<TBindImageType>& images = {},
                              const std::map<std::string, std::string>& contents = {});

  TEntJwwHeader& Header() { return drawing.Header; }
  TEntJwwLayer& Layer(int group, int layer) { return drawing.Layers[group * 16 + layer]; }
  TEntJwwLayerGroup& LayerGroup(int group) { return drawing.LayerGroups[group]; }
  TEntJwwPen& Pen(int i) { return drawing.Pens[i]; }
  JwwElementList& Elements() { return drawing.Elements; }

  TEntJwwLine& AddLine(const TEntJwwLine& e) { return drawing.Elements.Add(e); }
  TEntJwwArc& AddArc(const TEntJwwArc& e) { return drawing.Elements.Add(e); }
  TEntJwwPoint& AddPoint(const TEntJwwPoint& e) { return drawing.Elements.Add(e); }
  TEntJwwText& AddText(const TEntJwwText& e) { return drawing.Elements.Add(e); }
  TEntJwwDimension& AddDimension(const TEntJwwDimension& e) { return drawing.Elements.Add(e); }
  TEntJwwSolid& AddSolid(const TEntJwwSolid& e) { return drawing.Elements.Add(e); }
  TEntJwwBlockInsert& AddBlockInsert(const TEntJwwBlockInsert& e) { return drawing.Elements.Add(e); }
  JwwBuilderBlockDef& AddBlockDef(int32_t number, const std::string& name);
  JwwBuilderImage& AddImage(const std::string& name, const std::string& content);

  // The file for `version` (the header's Version field is ignored).
  std::vector<uint8_t> Bytes(int32_t version) const;
  bool WriteFile(const std::string& path, int32_t version) const;
};

// Element makers with readable defaults (pen 1, line type 1, layer 0).
TEntJwwCommon MakeCommon(uint16_t layerGroup = 0, uint16_t layer = 0, uint16_t color = 1, uint8_t lineType = 1);
TEntJwwLine MakeLine(double x1, double y1, double x2, double y2, const TEntJwwCommon& c = MakeCommon());
TEntJwwArc MakeCircle(double cx, double cy, double r, const TEntJwwCommon& c = MakeCommon());
TEntJwwArc MakeArc(double cx, double cy, double r, double start, double sweep, const TEntJwwCommon& c = MakeCommon());
TEntJwwPoint MakePoint(double x, double y, const TEntJwwCommon& c = MakeCommon());
TEntJwwText MakeText(double x, double y, const std::string& content, const TEntJwwCommon& c = MakeCommon());
TEntJwwDimension MakeDimension(double x1, double y1, double x2, double y2, const std::string& value,
                               const TEntJwwCommon& c = MakeCommon());
TEntJwwSolid MakeSolid(double x, double y, double w, double h, const TEntJwwCommon& c = MakeCommon());
TEntJwwBlockInsert MakeInsert(double x, double y, uint32_t blockNumber, const TEntJwwCommon& c = MakeCommon());

// Gives every header field and every table row a distinct, non-default
// value (names included), so a test can see each field land in its place.
// Keeps Signature, Version and the derived RealWidth fields; MaxDrawWidth
// stays above -100 and the print value below 100.
void FillDistinctValues(JwwDrawingDesc& drawing);

// A small drawing that uses every element kind (points with and without the
// symbol tail, a solid with and without its colour, a dimension with SXF
// points), two block definitions (one with a negative time, one nested
// insert), named layers and pens, and two held images. A few KB.
JwwBuilder MakeSampleDrawing();

// A small file of inserts nested three deep (top, middle, inner at each level)
// of one line: top * middle * inner copies; names of `nameBytes` bytes.
JwwBuilder MakeNestedInsertsDrawing(int top, int middle, int inner, size_t nameBytes);

}  // namespace jwwtest
