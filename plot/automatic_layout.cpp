#include "plot/automatic_layout.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

namespace tavlo {

namespace {

using dorvex::UnitDimension;

enum class Family { kTrackOne, kResistivity, kPorosity, kOther };

struct Known {
  // Names, "|" between them, matched without regard to case; one ending
  // in "*" matches every name beginning with what comes before it.
  const char* names;
  Family family;
  ScaleKind kind;
  double left, right;
  QRgb colour;
  LineStyle line;
};

// Customary scales and colours, the first match winning ("DRHO" is a
// correction, not a density).
const Known kKnown[] = {
    {"GR*|SGR|CGR|HSGR|HCGR", Family::kTrackOne, ScaleKind::kLinear, 0, 150, 0x008000, LineStyle::kSolid},
    {"CALI*|CAL|HCAL|C1|C2|BS", Family::kTrackOne, ScaleKind::kLinear, 6, 16, 0x000000, LineStyle::kDash},
    {"SP", Family::kTrackOne, ScaleKind::kLinear, -120, 30, 0x0000c0, LineStyle::kSolid},
    {"ILD|LLD|RT|RD|AT90|AHT90|RLA5|HDRS|RDEP|RES*", Family::kResistivity, ScaleKind::kLogarithmic, 0.2, 2000, 0xd00000, LineStyle::kSolid},
    {"ILM|LLS|RM|AT30|AHT30|RLA3|HMRS|RMED", Family::kResistivity, ScaleKind::kLogarithmic, 0.2, 2000, 0x0000c0, LineStyle::kDash},
    {"MSFL|RXO|SFL|LL8|MLL|AT10|AHT10|RLA1|RS", Family::kResistivity, ScaleKind::kLogarithmic, 0.2, 2000, 0x000000, LineStyle::kDot},
    {"DRHO|DRHB|HDRA", Family::kOther, ScaleKind::kLinear, -0.25, 0.25, 0x808080, LineStyle::kSolid},
    {"RHOB*|RHOZ|DEN|ZDEN|RHO8", Family::kPorosity, ScaleKind::kLinear, 1.95, 2.95, 0xd00000, LineStyle::kSolid},
    {"NPHI*|TNPH|NPOR|CNC|NPRL|PHIN", Family::kPorosity, ScaleKind::kLinear, 0.45, -0.15, 0x0000c0, LineStyle::kDash},
    {"PHI*|DPHI*|SPHI*|POR*", Family::kPorosity, ScaleKind::kLinear, 0.45, -0.15, 0x008000, LineStyle::kSolid},
    {"PEF|PE", Family::kOther, ScaleKind::kLinear, 0, 10, 0x800080, LineStyle::kSolid},
    {"DTS|DTSM", Family::kOther, ScaleKind::kLinear, 240, 40, 0x800080, LineStyle::kDash},
    {"DT|DTC|DTCO|AC", Family::kOther, ScaleKind::kLinear, 140, 40, 0x800080, LineStyle::kSolid},
    {"VSH*|VCL*", Family::kOther, ScaleKind::kLinear, 0, 1, 0x8b5a00, LineStyle::kSolid},
    {"SW*|SXO", Family::kOther, ScaleKind::kLinear, 1, 0, 0x0000c0, LineStyle::kSolid},
};

// Colours for curves of a track beyond the customary ones, in turn.
const QRgb kPalette[] = {0x000000, 0xd00000, 0x0000c0, 0x008000, 0x800080, 0xb06000};

const Known* Find(const QString& mnemonic) {
  for (const Known& known : kKnown) {
    for (const QString& name : QString(known.names).split('|')) {
      bool matches = name.endsWith('*')
                         ? mnemonic.startsWith(name.chopped(1), Qt::CaseInsensitive)
                         : mnemonic.compare(name, Qt::CaseInsensitive) == 0;
      if (matches) return &known;
    }
  }
  return nullptr;
}

bool InPercent(const QString& units) {
  return QStringList{"PU", "LPU", "%", "PCT"}.contains(units, Qt::CaseInsensitive);
}

// Where a curve stands among the customary ones: gamma ray before caliper
// before SP, deep resistivity before shallow; others after them.
size_t RankOf(const QString& name) {
  const Known* known = Find(name);
  return known == nullptr ? std::size(kKnown) : static_cast<size_t>(known - kKnown);
}

Family FamilyOf(const CurveSummary& curve) {
  if (const Known* known = Find(curve.name)) return known->family;
  switch (curve.dimension) {
    case UnitDimension::kGammaRay:
    case UnitDimension::kPotential:
      return Family::kTrackOne;
    case UnitDimension::kResistivity:
      return Family::kResistivity;
    case UnitDimension::kDensity:
      return Family::kPorosity;
    default:
      return Family::kOther;
  }
}

CurveStyle StyleFor(const CurveSummary& curve) {
  CurveStyle style = KnownCurveStyle(curve.name, curve.units);
  if (style.fitToData && curve.dimension == UnitDimension::kResistivity) {
    style.scale = {ScaleKind::kLogarithmic, 0.2, 2000};
    style.fitToData = false;
  } else if (style.fitToData && curve.dimension == UnitDimension::kFraction &&
             !InPercent(curve.units)) {
    style.scale = {ScaleKind::kLinear, 0, 1};
    style.fitToData = false;
  }
  return style;
}

// Colours stay apart within a track: a curve whose colour is taken gets the
// palette's next free one, and then a line of its own.
void AddCurve(Track& track, CurveStyle style) {
  auto taken = [&track](QColor colour) {
    return std::any_of(track.curves.begin(), track.curves.end(),
                       [&](const CurveStyle& other) { return other.colour == colour; });
  };
  if (taken(style.colour)) {
    for (QRgb colour : kPalette) {
      if (!taken(QColor(colour))) {
        style.colour = QColor(colour);
        break;
      }
    }
  }
  track.curves.push_back(style);
}

}  // namespace

QString MnemonicOf(const QString& reference) {
  QStringList parts = reference.split('/', Qt::SkipEmptyParts);
  while (parts.size() > 1) {
    bool number = false;
    parts.back().toInt(&number);
    if (!number && parts.back() != "*") break;
    parts.removeLast();
  }
  return parts.isEmpty() ? reference : parts.back();
}

CurveStyle KnownCurveStyle(const QString& reference, const QString& units) {
  CurveStyle style;
  style.curve = reference;
  const Known* known = Find(MnemonicOf(reference));
  if (known == nullptr) {
    style.fitToData = true;
    return style;
  }
  double factor = known->family == Family::kPorosity && known->left == 0.45 && InPercent(units) ? 100 : 1;
  style.scale = {known->kind, known->left * factor, known->right * factor};
  style.colour = QColor(known->colour);
  style.line = known->line;
  return style;
}

Presentation AutomaticLayout(const std::vector<CurveSummary>& curves) {
  Track trackOne;
  Track resistivity;
  resistivity.grid = GridKind::kLogarithmic;
  Track porosity;
  std::vector<Track> others;
  for (const CurveSummary& curve : curves) {
    switch (FamilyOf(curve)) {
      case Family::kTrackOne: AddCurve(trackOne, StyleFor(curve)); break;
      case Family::kResistivity: AddCurve(resistivity, StyleFor(curve)); break;
      case Family::kPorosity: AddCurve(porosity, StyleFor(curve)); break;
      case Family::kOther:
        if (others.empty() || others.back().curves.size() == 3) others.emplace_back();
        AddCurve(others.back(), StyleFor(curve));
        break;
    }
  }
  Presentation presentation;
  for (Track* track : {&trackOne, &resistivity, &porosity}) {
    std::stable_sort(track->curves.begin(), track->curves.end(),
                     [](const CurveStyle& a, const CurveStyle& b) { return RankOf(MnemonicOf(a.curve)) < RankOf(MnemonicOf(b.curve)); });
    if (!track->curves.empty()) presentation.tracks.push_back(*track);
  }
  for (Track& track : others) presentation.tracks.push_back(track);
  if (presentation.tracks.empty()) presentation.tracks.emplace_back();
  EnsureDepthTrack(presentation);
  return presentation;
}

ValueScale FittedScale(double low, double high) {
  if (!std::isfinite(low) || !std::isfinite(high) || low > high) return {ScaleKind::kLinear, 0, 1};
  if (high - low < 1e-12 * std::max(1.0, std::fabs(high))) {
    double half = std::max(std::fabs(low) * 0.1, 0.5);
    low -= half;
    high += half;
  }
  // Ends on half the power of ten below the range: 12.3 to 87.6 is shown
  // 10 to 90.
  double step = std::pow(10.0, std::floor(std::log10(high - low))) / 2;
  return {ScaleKind::kLinear, std::floor(low / step + 1e-9) * step, std::ceil(high / step - 1e-9) * step};
}

}  // namespace tavlo
