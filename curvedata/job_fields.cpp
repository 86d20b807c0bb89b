#include "curvedata/job_fields.h"

#include <cmath>
#include <cstdlib>

#include "curvedata/context.h"
#include "curvedata/controls.h"

void ClearJobFields(Context& context) {
  Job& job = context.job;
  job.presentation.clear();
  job.input = DataSource{};
  job.destination = DataSource{};
  job.scale = kDefaultScale;
  context.screen.SetText(control::kPresentation, "");
  context.screen.SetText(control::kInputSource, "");
  context.screen.SetText(control::kDestination, "");
  context.screen.SetText(control::kScale, "240");
}

double ScaleForRun(const std::string& text) {
  double scale = std::strtod(text.c_str(), nullptr);
  return scale > 0.0 ? scale : kDefaultScale;
}

double ScaleForSave(const std::string& text) {
  double scale = std::strtod(text.c_str(), nullptr);
  return scale == 0.0 || std::isnan(scale) ? kDefaultScale : scale;
}
