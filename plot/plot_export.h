// Exporting a plot to a file: PNG (QImage), SVG (QSvgGenerator) or PDF
// (QPdfWriter), chosen by the file's extension, all at 96 pixels to the
// inch so that one layout serves the three.
//
// The height follows from the depth range and the scale, unless a height
// is given, which then sets the scale. A picture taller than a PNG viewer
// or a PDF page can take is shown at the scale that fits (the caller is told
// the scale used), and a PDF longer than one page goes onto pages of a
// header each. The file is written through QSaveFile: a failed export
// leaves no half-written file behind.
#pragma once

#include <QString>
#include <optional>

#include "plot/plot_model.h"

namespace tavlo {

struct ExportRequest {
  QString file;
  double fromIndex = 0;
  double toIndex = 0;
  int width = 1000;            // pixels
  std::optional<int> height;   // pixels, header included; else from the scale
};

enum class ExportFormat { kPng, kSvg, kPdf, kUnknown };

ExportFormat FormatOf(const QString& file);

// Writes the plot; false with a message when it cannot. `usedScale` tells
// the scale the body was drawn at.
[[nodiscard]] bool ExportPlot(const PlotModel& model, const ExportRequest& request,
                              double* usedScale, QString* message);

}  // namespace tavlo
