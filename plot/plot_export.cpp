#include "plot/plot_export.h"

#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>

#include "plot/plot_layout.h"
#include "plot/renderer.h"

namespace tavlo {

namespace {

// The tallest PNG or SVG drawn: beyond it viewers give up; the scale is
// changed to fit.
constexpr double kMaxPictureRows = 30000;
// A PDF page may not be longer than 200 inches; pages stay a little shorter.
constexpr double kMaxPageRows = 190 * kPixelsPerInch;

struct Geometry {
  double headerHeight = 0;
  double bodyRows = 0;
  double pixelsPerIndex = 0;
};

Geometry Measure(const PlotModel& model, const ExportRequest& request, double maxBodyRows) {
  Geometry geometry;
  PlotLayout probe = LayOutPlot(model, QRectF(0, 0, request.width, 10000));
  geometry.headerHeight = probe.body.top() + 4;  // the bottom margin
  double span = std::max(request.toIndex - request.fromIndex, 1.0);
  if (request.height) {
    geometry.bodyRows = std::max(*request.height - geometry.headerHeight, 10.0);
  } else {
    geometry.bodyRows = span * PixelsPerIndex(model.scale, model.timeBased);
    geometry.bodyRows = std::clamp(geometry.bodyRows, 10.0, maxBodyRows);
  }
  geometry.bodyRows = std::round(geometry.bodyRows);
  geometry.pixelsPerIndex = geometry.bodyRows / span;
  return geometry;
}

void Paint(QPainter& painter, const PlotModel& model, const ExportRequest& request,
           const Geometry& geometry, double fromIndex, double rows) {
  QRectF area(0, 0, request.width, geometry.headerHeight + rows);
  painter.fillRect(area, Qt::white);
  PlotLayout layout = LayOutPlot(model, area);
  DepthAxis axis(fromIndex, layout.body.top(), geometry.pixelsPerIndex);
  DrawHeader(painter, model, layout);
  DrawBody(painter, model, layout, axis);
}

bool WritePng(const PlotModel& model, const ExportRequest& request, const Geometry& geometry,
              QSaveFile& file) {
  QImage image(request.width, static_cast<int>(geometry.headerHeight + geometry.bodyRows),
               QImage::Format_RGB32);
  if (image.isNull()) return false;
  image.setDotsPerMeterX(3780);  // 96 to the inch
  image.setDotsPerMeterY(3780);
  QPainter painter(&image);
  Paint(painter, model, request, geometry, request.fromIndex, geometry.bodyRows);
  painter.end();
  return image.save(&file, "PNG");
}

bool WriteSvg(const PlotModel& model, const ExportRequest& request, const Geometry& geometry,
              QSaveFile& file) {
  QSvgGenerator svg;
  svg.setOutputDevice(&file);
  QSize size(request.width, static_cast<int>(geometry.headerHeight + geometry.bodyRows));
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(0, 0), size));
  svg.setResolution(static_cast<int>(kPixelsPerInch));
  svg.setTitle(model.source);
  QPainter painter;
  if (!painter.begin(&svg)) return false;
  Paint(painter, model, request, geometry, request.fromIndex, geometry.bodyRows);
  return painter.end();
}

// Pages of at most kMaxPageRows rows, each with the header above its part.
bool WritePdf(const PlotModel& model, const ExportRequest& request, const Geometry& geometry,
              QSaveFile& file) {
  QPdfWriter pdf(&file);
  pdf.setResolution(static_cast<int>(kPixelsPerInch));
  pdf.setTitle(model.source);
  pdf.setCreator("tavlo");
  double pageRows = std::min(geometry.bodyRows, kMaxPageRows - geometry.headerHeight);
  auto pageSize = [&](double rows) {
    return QPageSize(QSizeF(request.width / kPixelsPerInch * 72,
                            (geometry.headerHeight + rows) / kPixelsPerInch * 72),
                     QPageSize::Point, QString(), QPageSize::ExactMatch);
  };
  pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
  pdf.setPageSize(pageSize(pageRows));
  QPainter painter;
  if (!painter.begin(&pdf)) return false;
  for (double done = 0; done < geometry.bodyRows; done += pageRows) {
    double rows = std::min(pageRows, geometry.bodyRows - done);
    if (done > 0) {
      pdf.setPageSize(pageSize(rows));
      if (!pdf.newPage()) return false;
    }
    Paint(painter, model, request, geometry, request.fromIndex + done / geometry.pixelsPerIndex, rows);
  }
  return painter.end();
}

}  // namespace

ExportFormat FormatOf(const QString& file) {
  QString suffix = QFileInfo(file).suffix().toLower();
  if (suffix == "png") return ExportFormat::kPng;
  if (suffix == "svg") return ExportFormat::kSvg;
  if (suffix == "pdf") return ExportFormat::kPdf;
  return ExportFormat::kUnknown;
}

bool ExportPlot(const PlotModel& model, const ExportRequest& request, double* usedScale,
                QString* message) {
  ExportFormat format = FormatOf(request.file);
  if (format == ExportFormat::kUnknown) {
    *message = request.file + ": the file name must end in .png, .svg or .pdf";
    return false;
  }
  Geometry geometry = Measure(model, request, format == ExportFormat::kPdf ? 1e9 : kMaxPictureRows);
  *usedScale = ScaleOf(geometry.pixelsPerIndex, model.timeBased);
  PlotModel shown = model;  // the header tells the scale drawn at
  shown.scale = *usedScale;
  QSaveFile file(request.file);
  if (!file.open(QIODevice::WriteOnly)) {
    *message = request.file + ": cannot be written: " + file.errorString();
    return false;
  }
  bool drawn = format == ExportFormat::kPng   ? WritePng(shown, request, geometry, file)
               : format == ExportFormat::kSvg ? WriteSvg(shown, request, geometry, file)
                                              : WritePdf(shown, request, geometry, file);
  if (!drawn || !file.commit()) {
    file.cancelWriting();
    *message = request.file + ": cannot be written" +
               (file.error() != QFileDevice::NoError ? ": " + file.errorString() : QString());
    return false;
  }
  return true;
}

}  // namespace tavlo
