// The seven element arrays with their counts, and the order list that
// indexes them: those of the drawing itself or of one block definition.
// The reader fills them, the writer and the explosion walk them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

#include "counted_rows.h"
#include "jww_data.h"
#include "jwwtype.h"

template <bool kConst>
struct TElementArraysOf {
  template <class T>
  using Rows = std::conditional_t<kConst, const std::vector<T>, std::vector<T>>;
  using Count = std::conditional_t<kConst, const int32_t, int32_t>;

  Rows<TEntJwwOrder>& Order;
  Count& OrderCount;
  Rows<TEntJwwLine>& Lines;
  Count& LineCount;
  Rows<TEntJwwArc>& Arcs;
  Count& ArcCount;
  Rows<TEntJwwPoint>& Points;
  Count& PointCount;
  Rows<TEntJwwText>& Texts;
  Count& TextCount;
  Rows<TEntJwwDimension>& Dimensions;
  Count& DimensionCount;
  Rows<TEntJwwSolid>& Solids;
  Count& SolidCount;
  Rows<TEntJwwBlockInsert>& Inserts;
  Count& InsertCount;

  // Rows of the array of an order item's kind (1..7); 0 for other kinds.
  size_t ArrayRows(int32_t kind) const {
    switch (kind) {
      case kKindLine: return Lines.size();
      case kKindArc: return Arcs.size();
      case kKindPoint: return Points.size();
      case kKindText: return Texts.size();
      case kKindDimension: return Dimensions.size();
      case kKindSolid: return Solids.size();
      case kKindBlockInsert: return Inserts.size();
      default: return 0;
    }
  }
  // Rows of the kind that its count covers.
  size_t CountedRowsOf(int32_t kind) const {
    switch (kind) {
      case kKindLine: return CountedRows(LineCount, Lines);
      case kKindArc: return CountedRows(ArcCount, Arcs);
      case kKindPoint: return CountedRows(PointCount, Points);
      case kKindText: return CountedRows(TextCount, Texts);
      case kKindDimension: return CountedRows(DimensionCount, Dimensions);
      case kKindSolid: return CountedRows(SolidCount, Solids);
      case kKindBlockInsert: return CountedRows(InsertCount, Inserts);
      default: return 0;
    }
  }
  // The order item names a row of its kind's array. Rows may lie beyond the
  // kind's count (the program lowers counts to hide rows), never beyond the
  // array.
  bool Names(const TEntJwwOrder& o) const { return o.Row >= 0 && static_cast<size_t>(o.Row) < ArrayRows(o.Kind); }
};

using TElementArrays = TElementArraysOf<false>;
using TConstElementArrays = TElementArraysOf<true>;

template <class Model>  // TJwwData or TEntJwwBlockDefElements, const or not
auto ElementArraysOf(Model& m) {
  if constexpr (std::is_same_v<std::remove_const_t<Model>, TJwwData>) {
    return TElementArraysOf<std::is_const_v<Model>>{m.EntityOrder, m.EntityOrderCount, m.Lines,  m.LineCount,
                                                     m.Arcs,        m.ArcCount,         m.Points, m.PointCount,
                                                     m.Texts,       m.TextCount,        m.Dimensions,
                                                     m.DimensionCount, m.Solids,        m.SolidCount,
                                                     m.BlockInserts, m.BlockInsertCount};
  } else {
    return TElementArraysOf<std::is_const_v<Model>>{m.Order,  m.OrderCount, m.Lines,      m.LineCount,
                                                     m.Arcs,   m.ArcCount,   m.Points,     m.PointCount,
                                                     m.Texts,  m.TextCount,  m.Dimensions, m.DimensionCount,
                                                     m.Solids, m.SolidCount, m.Inserts,    m.InsertCount};
  }
}
