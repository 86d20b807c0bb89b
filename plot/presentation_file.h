// Presentation files (.PRS): our own INI text, read in file order.
//
//   [Presentation]          Title=...
//   [Track]                 a curve track: Width, Grid (Linear, Log, None), Divisions
//   [Depth]                 the depth (or time) track: Width
//   [Curve NAME]            a curve of the track above: Scale (Linear, Log), Left,
//                           Right, Colour, Line (Solid, Dash, Dot, DashDot), Width,
//                           Fill (a value to shade towards), FillColour, FillSide
//                           (Both, Left, Right)
//
// Sections are read in the order they come, so the file reads top to bottom
// as the plot reads left to right, and a track may appear any number of
// times. Names of sections, keys and words are matched without regard to
// case; lines starting with ';' or '#' are comments. A mistake in one line
// is told with the file's name and the line's number, and that line is left
// out (its key keeps its default), so one typing error costs one setting,
// not the plot; a file without any track is of no use and gives way to the
// automatic layout. docs/presentations.html is the user's description.
#pragma once

#include <QString>
#include <QStringList>

#include "plot/presentation.h"

namespace tavlo {

struct PresentationFile {
  Presentation presentation;
  QStringList messages;  // "FILE:LINE: what is wrong" and the like
  bool usable = false;   // read, with at least one track
};

// Reads a presentation from its text; `name` stands in the messages.
PresentationFile ParsePresentation(const QString& text, const QString& name);

// The file a presentation name means: a name holding "/" as given; else in
// the presentation folder, the exact name first, then one that matches
// without regard to case (with ".PRS" added when the name has no
// extension). Empty when there is none.
QString FindPresentation(const QString& folder, const QString& name);

// Finds and reads a presentation; a missing or unreadable file gives a
// message and usable false.
PresentationFile LoadPresentation(const QString& folder, const QString& name);

}  // namespace tavlo
