// The renderer: draws a plot with a QPainter, on any paint device (the
// window, a QImage for PNG, QSvgGenerator, QPdfWriter), for a range of
// index values, into the rectangle a PlotLayout gives.
//
// Order: white paper, the header (title, boxes, texts, line samples), then
// per track its grid, the shading and the curves, clipped to the track, and
// the frames last so that no curve covers an edge. Grid lines are one pixel
// wide and sit on pixel centres, without antialiasing, so they stay sharp;
// curves are antialiased lines of their width in points (a point or less:
// one pixel). Each curve is a
// Trace (plot/trace.h): at most four points a pixel row, however long the
// log.
#pragma once

#include <QPainter>

#include "plot/depth_axis.h"
#include "plot/plot_layout.h"
#include "plot/plot_model.h"

namespace tavlo {

// Draws the header of the layout.
void DrawHeader(QPainter& painter, const PlotModel& model, const PlotLayout& layout);

// Draws the tracks' bodies for the axis: rows of layout.body, depth going
// down from the axis's top.
void DrawBody(QPainter& painter, const PlotModel& model, const PlotLayout& layout,
              const DepthAxis& axis);

// Both, on white.
void DrawPlot(QPainter& painter, const PlotModel& model, const PlotLayout& layout,
              const DepthAxis& axis);

// The pen of a curve: its colour, its width in points (at 96 pixels to the
// inch; a point or less is one device pixel) and its line style.
QPen CurvePen(const CurveStyle& style);

}  // namespace tavlo
