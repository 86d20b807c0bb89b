#include "libs/las/curve_description.h"

#include "libs/las/las_lines.h"

namespace las {

std::string DescribeCurve(const LasHeaderLine& curve) {
  std::string text = curve.mnemonic + "." + curve.unit;
  if (!curve.value.empty()) text += " " + curve.value;
  return text + " : " + curve.description;
}

bool CurveFromDescription(std::string_view description, LasHeaderLine* curve) {
  std::string_view text = TrimLas(description);
  if (text.find(':') == std::string_view::npos) return false;
  *curve = SplitHeaderLine(text, 0);
  // DescribeCurve writes the mnemonic and its dot together, first.
  return !curve->mnemonic.empty() && text.substr(curve->mnemonic.size()).starts_with('.');
}

}  // namespace las
