#include "plot/presentation.h"

#include <algorithm>

namespace tavlo {

void EnsureDepthTrack(Presentation& presentation) {
  auto& tracks = presentation.tracks;
  bool has = std::any_of(tracks.begin(), tracks.end(),
                         [](const Track& track) { return track.kind == TrackKind::kDepth; });
  if (has) return;
  Track depth;
  depth.kind = TrackKind::kDepth;
  depth.width = 0.75;
  depth.grid = GridKind::kNone;
  tracks.insert(tracks.begin() + std::min<size_t>(1, tracks.size()), depth);
}

ValueScale GridScaleOf(const Track& track) {
  for (const CurveStyle& curve : track.curves) {
    if (curve.scale.kind == ScaleKind::kLogarithmic && curve.scale.IsValid()) return curve.scale;
  }
  return ValueScale{ScaleKind::kLogarithmic, 0.2, 2000};
}

}  // namespace tavlo
