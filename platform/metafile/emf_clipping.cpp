// EMF clipping: rectangles intersected or excluded, regions selected and
// the path made the clip. Kept as steps in picture pixels (see TMetaClip)
// and handed to the sink before the next thing drawn.
#include "emf_records.h"
#include "metafile_geometry.h"

namespace emf_detail {

namespace {

// Each step costs the painter an area operation; files that pile them up
// keep the first ones.
constexpr size_t kMaxClipSteps = 16;

TMetaFigure Box(const TXform& m, TMetaPoint a, TMetaPoint b) {
  return TMetaFigure{{m.Apply(a.X, a.Y), m.Apply(b.X, a.Y), m.Apply(b.X, b.Y), m.Apply(a.X, b.Y)}, true};
}

// Union and exclusive-or with the clip are not kept: the clip stays.
bool Combines(uint32_t mode) { return mode == U_RGN_COPY || mode == U_RGN_AND || mode == U_RGN_DIFF; }

}  // namespace

void TEmfPlayer::AddClipStep(TMetaClipStep step, bool replace) {
  if (replace) dc_.Clip.clear();
  if (dc_.Clip.size() >= kMaxClipSteps) return;
  BoundClipStep(step);
  const size_t bytes = sizeof(TEmfClipStep) + FigureBytes(step.Figures);
  auto kept = std::make_shared<TEmfClipStep>(TEmfClipStep{std::move(step), TRoomCharge(sink_)});
  if (!Charge(kept->Charge, bytes)) return;
  dc_.Clip.push_back(std::move(kept));
  clipChanged_ = true;
}

void TEmfPlayer::SyncClip() {
  if (!clipChanged_) return;
  clipChanged_ = false;
  TMetaClip clip;
  for (const auto& kept : dc_.Clip) clip.push_back(kept->Step);
  sink_.Clip(clip);
}

void TEmfPlayer::ClipRecord(uint32_t type, ByteReader& r) {
  if (type == U_EMR_INTERSECTCLIPRECT || type == U_EMR_EXCLUDECLIPRECT) {
    const TMetaPoint a = Corner(r), b = Corner(r);
    AddClipStep({{Box(Map(), a, b)}, type == U_EMR_EXCLUDECLIPRECT}, false);
    return;
  }
  if (type == U_EMR_SELECTCLIPPATH) {
    const uint32_t mode = r.U32();
    std::vector<TMetaFigure> figures = TakePath();
    if (figures.empty()) return;
    if (Combines(mode)) AddClipStep({std::move(figures), mode == U_RGN_DIFF}, mode == U_RGN_COPY);
    return;
  }
  // A region: rectangles in device units; none with the copy mode resets.
  const uint32_t bytes = r.U32();
  const uint32_t mode = r.U32();
  if (bytes == 0) {
    if (mode == U_RGN_COPY) {
      dc_.Clip.clear();
      clipChanged_ = true;
    }
    return;
  }
  r.Skip(8);  // header size, type
  const uint32_t count = r.U32();
  r.Skip(4 + 16);  // region size, bounds
  r.Require(size_t{count} * 16);
  const TXform m = DeviceToPicture(page_);
  TMetaClipStep step;
  for (uint32_t i = 0; i < count; ++i) {
    const TMetaPoint a = Corner(r), b = Corner(r);
    step.Figures.push_back(Box(m, a, b));
  }
  step.Exclude = mode == U_RGN_DIFF;
  if (Combines(mode)) AddClipStep(std::move(step), mode == U_RGN_COPY);
}

}  // namespace emf_detail
