// TJwwData: one JWW drawing in memory. Its fields are public: the
// split-and-print program reads and rewrites them between load and save.
// Every consumer uses the counts, never the array lengths: the element arrays
// grow in steps and the application lowers and raises counts to hide rows.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "jwwtype.h"

class ByteReader;
class ByteWriter;
struct JwwWriteContext;  // running object index and class indices (writer)
struct JwwReadContext;   // class index table (reader)
class TCanvas;
struct TDrawPlacement;   // render/draw_model.h

class TJwwData {
 public:
  TEntJwwHeader Header;
  int32_t EntityOrderCount = 0;
  int32_t BlockListCount = 0;
  std::vector<TEntJwwLayerGroup> LayerGroups;  // 16
  std::vector<TEntJwwLayer> Layers;            // 256, row = group * 16 + layer
  std::vector<TEntJwwPen> Pens;                // pens 0..9
  std::vector<TEntJwwLineType> LineTypes;      // line types 2..9
  std::vector<TEntJwwRandomLine> RandomLines;  // 11..15
  std::vector<TEntJwwDoubleLine> DoubleLines;  // 16..19
  std::vector<TEntJwwColorExNo> ColorsEx;      // 257 rows
  std::vector<TEntJwwLineTypeExNo> LineTypesEx;  // 33 rows
  std::vector<TEntJwwTextSize> TextSizes;      // 10
  std::vector<TEntJwwOrder> EntityOrder;
  std::vector<TEntJwwLine> Lines;
  int32_t LineCount = 0;
  std::vector<TEntJwwArc> Arcs;
  int32_t ArcCount = 0;
  std::vector<TEntJwwPoint> Points;
  int32_t PointCount = 0;
  std::vector<TEntJwwText> Texts;
  int32_t TextCount = 0;
  std::vector<TEntJwwDimension> Dimensions;
  int32_t DimensionCount = 0;
  std::vector<TEntJwwSolid> Solids;
  int32_t SolidCount = 0;
  std::vector<TEntJwwBlockInsert> BlockInserts;
  int32_t BlockInsertCount = 0;
  std::vector<TEntJwwBlockDef> BlockDefs;
  int32_t BlockDefCount = 0;
  std::vector<TEntJwwBlockTree> BlockTree;
  int32_t BlockTreeCount = 0;
  int32_t UsedBlockDefCount = 0;
  // Set by BuildBlockTree when its depth or size bound (not a cycle) left
  // occurrences out: the tree then does not stand for the whole drawing.
  bool BlockTreeCut = false;
  // The cut came from the size bound: the drawing stands for more block
  // occurrences than memory is given for, whatever its depth.
  bool BlockTreeTooLarge = false;
  std::array<double, 4> Extents{};  // x min, y min, x max, y max
  int32_t SaveOptions = 0;
  // Outcome of the last save: the system's error number when the file could
  // not be written (0 otherwise), and how many held images that texts refer
  // to were left out because their extracted files are missing.
  int32_t LastSaveErrno = 0;
  int32_t LastSaveDroppedImages = 0;

  TJwwData();
  ~TJwwData();
  TJwwData(const TJwwData&) = delete;
  TJwwData& operator=(const TJwwData&) = delete;

  void Clear();
  void FreeData();
  bool IsJwwFile(const std::string& path) const;

  // Reader (jww_reader.cpp). True when the whole file was read; on false the
  // model holds what was read before the fault.
  bool LoadFromFile(const std::string& path);
  // Parses a file image already in memory; LoadFromFile reads the file whole
  // and calls this. Publishes nothing and builds no tree.
  bool LoadFromBytes(const uint8_t* data, size_t size);

  // Writer (jww_writer.cpp).
  bool SaveToFile(const std::string& path, int32_t version);
  // Builds the whole file image for the version in memory; SaveToFile writes
  // it out. False (and bytes empty) when the drawing cannot be saved.
  bool SaveToBytes(std::vector<uint8_t>& bytes, int32_t version);
  void SetSaveOptions(int32_t bits);

  // Block tree (block_tree.cpp).
  void BuildBlockTree();
  // The definitions' used flags and new numbers and UsedBlockDefCount for
  // the current inserts, exactly as BuildBlockTree sets them, without
  // building (or touching) the tree: all the writer needs.
  void MarkUsedBlockDefs();

  // Layer attributes, extents and counts (extents.cpp).
  void ApplyLayerAttributes();
  void CalcExtents();
  // Counters in order: lines, arcs, points, temporary points, texts,
  // dimensions, solids, block inserts of the drawing itself; then lines,
  // arcs, points, temporary points, texts, dimensions, solids inside inserts.
  void CountEntities(int32_t group, int32_t layer,
                     std::array<int32_t, 15>& counters) const;

  // Block explosion (explode.cpp). Refused (false, nothing changed) when
  // the tree was cut by a bound.
  bool ExplodeBlocks();

  // Drawing onto a canvas (render/draw_model*.cpp), through the view, scale
  // and attributes in Gval. order: 0 every kind over all layers, 1 layer by
  // layer, 2 layer by layer from the last. Filters -1 (all) or 0..15; any
  // other filter selects nothing. angle turns the drawing about the origin
  // (radians). Escape (CheckAbort) ends the drawing at once.
  void Draw(TCanvas& canvas, int32_t order, int32_t groupFilter, int32_t layerFilter,
            bool skipHiddenLayers, bool printing, bool drawTemporaryPoints, double angle) const;
  // One element each, placed by the placement; colorOverride -1 for none,
  // else it replaces the pen colour (and the fill and text colour).
  void DrawImageText(TCanvas& canvas, bool lineWidthMode, const TDrawPlacement& place,
                     const TEntJwwText& e, int32_t colorOverride) const;
  void DrawSolid(TCanvas& canvas, bool lineWidthMode, const TDrawPlacement& place,
                 const TEntJwwSolid& e, int32_t colorOverride) const;
  void DrawLine(TCanvas& canvas, bool lineWidthMode, const TDrawPlacement& place,
                const TEntJwwLine& e, int32_t colorOverride) const;
  void DrawArc(TCanvas& canvas, bool lineWidthMode, const TDrawPlacement& place,
               const TEntJwwArc& e, int32_t colorOverride) const;
  void DrawPoint(TCanvas& canvas, bool lineWidthMode, const TDrawPlacement& place,
                 const TEntJwwPoint& e, int32_t colorOverride) const;
  void DrawText(TCanvas& canvas, bool lineWidthMode, const TDrawPlacement& place,
                const TEntJwwText& e, int32_t colorOverride) const;
  void DrawDimension(TCanvas& canvas, bool lineWidthMode, const TDrawPlacement& place,
                     const TEntJwwDimension& e, int32_t colorOverride, bool skipAuxiliary) const;
  void DrawDimensionText(TCanvas& canvas, bool lineWidthMode, const TDrawPlacement& place,
                         const TEntJwwText& e, const std::string& valueText,
                         int32_t colorOverride) const;

  // Internal steps of the reader, on the file image.
  void ReadHeader(ByteReader& in);
  void ReadEntities(ByteReader& in);
  std::string ReadCString(ByteReader& in);
  std::string ReadString(ByteReader& in);
  static void CopyEntityCommon(const TEntJwwCommon& from, TEntJwwCommon& to);

  // Internal steps of the writer.
  void WriteHeader(ByteWriter& out, int32_t version);
  void WriteEntities(ByteWriter& out, int32_t version, JwwWriteContext& ctx);
  static void WriteCString(ByteWriter& out, const std::string& text);
  static void WriteCount(ByteWriter& out, uint32_t count);
  static void WriteClassRef(ByteWriter& out, uint32_t index);
  static void WriteEntityCommon(ByteWriter& out, const TEntJwwCommon& common,
                                int32_t kind, int32_t version);
  uint32_t MapBlockNumber(uint32_t number) const;
};
