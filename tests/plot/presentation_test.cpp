// Presentation files: a whole file read into tracks and curves, each kind
// of mistake told with its line and costing only its own setting, and the
// file found in the presentation folder whatever the case of its name.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "plot/presentation_file.h"

namespace tavlo {
namespace {

const char kWhole[] =
    "; a comment\n"
    "[Presentation]\n"
    "Title = Main logs\n"
    "[Track]\n"
    "Width=2.5\n"
    "[Curve GR]\n"
    "Fill=75\n"
    "FillSide=left\n"
    "FillColour=#ffe080\n"
    "[Curve LOGS/CALI/2]\n"
    "Left=6\r\n"
    "Right=16\r\n"
    "Line=Dash\n"
    "[track]\n"
    "Grid=Log\n"
    "[Curve ILD]\n"
    "Scale=Log\n"
    "Left=0.2\n"
    "Right=2000\n"
    "Colour=red\n"
    "Width=1.5\n"
    "[Depth]\n"
    "Width=1\n";

TEST(PresentationFile, AWholeFileReadsAsTheTracksItDescribes) {
  PresentationFile file = ParsePresentation(kWhole, "MAIN.PRS");
  EXPECT_TRUE(file.messages.isEmpty()) << file.messages.join("\n").toStdString();
  ASSERT_TRUE(file.usable);
  const Presentation& p = file.presentation;
  EXPECT_EQ(p.title, "Main logs");
  ASSERT_EQ(p.tracks.size(), 3u);
  EXPECT_EQ(p.tracks[2].kind, TrackKind::kDepth) << "the file's own depth track, where it put it";
  EXPECT_EQ(p.tracks[2].width, 1);
  ASSERT_EQ(p.tracks[0].curves.size(), 2u);
  const CurveStyle& gr = p.tracks[0].curves[0];
  EXPECT_EQ(gr.scale.left, 0) << "GR's customary scale when the file gives none";
  EXPECT_EQ(gr.scale.right, 150);
  EXPECT_EQ(gr.fillValue.value_or(-1), 75);
  EXPECT_EQ(gr.fillSide, FillSide::kLeft);
  EXPECT_EQ(gr.fillColour, QColor("#ffe080"));
  EXPECT_EQ(p.tracks[0].curves[1].curve, "LOGS/CALI/2");
  EXPECT_EQ(p.tracks[0].curves[1].line, LineStyle::kDash);
  const CurveStyle& ild = p.tracks[1].curves[0];
  EXPECT_EQ(p.tracks[1].grid, GridKind::kLogarithmic);
  EXPECT_EQ(ild.scale.kind, ScaleKind::kLogarithmic);
  EXPECT_EQ(ild.colour, QColor(Qt::red));
  EXPECT_EQ(ild.width, 1.5);
}

TEST(PresentationFile, EachMistakeIsToldWithItsLine) {
  struct Case {
    const char* text;
    const char* message;  // the first message, word for word
    bool usable;
  } cases[] = {
      {"[Track]\nWidth=wide\n", "T.PRS:2: width: 'wide' is not a number", true},
      {"[Track]\nWidth=50\n", "T.PRS:2: width: 50 is out of range (0.1 to 20)", true},
      {"[Track]\nGrid=Dots\n", "T.PRS:2: grid: 'Dots' is not one of Linear, Log, None", true},
      {"[Track]\n[Curve GR]\nColour=purplish\n",
       "T.PRS:3: colour: 'purplish' is no colour (a name such as red, or #rrggbb)", true},
      {"[Track]\n[Curve GR]\nLeft=1\nLeft=2\n", "T.PRS:4: left given twice in [Curve GR]; the first holds", true},
      {"[Track]\n[Curve XYZ]\nLeft=1\n", "T.PRS:2: [Curve XYZ] needs both Left and Right; fitted to the data", true},
      {"[Track]\n[Curve R]\nScale=Log\nLeft=0\nRight=100\n",
       "T.PRS:2: [Curve R]: Left and Right make no scale (a log scale needs both above 0); fitted to the data", true},
      {"[Track]\nSpeed=3\n", "T.PRS:2: unknown key 'speed' in [Track]", true},
      {"[Tracks]\n[Track]\n", "T.PRS:1: unknown section [Tracks] (Presentation, Track, Depth or Curve NAME)", true},
      {"Width=3\n[Track]\n", "T.PRS:1: a key before any [section]", true},
      {"[Track]\njust words\n", "T.PRS:2: 'just words' is neither a [section] nor a key=value line", true},
      {"[Curve GR]\n[Track]\n", "T.PRS:1: [Curve GR] is not under a [Track]; left out", true},
      {"[Presentation]\nTitle=x\n", "T.PRS: no [Track] section: nothing to plot", false},
      {"", "T.PRS: no [Track] section: nothing to plot", false},
  };
  for (const Case& c : cases) {
    PresentationFile file = ParsePresentation(c.text, "T.PRS");
    ASSERT_FALSE(file.messages.isEmpty()) << c.text;
    EXPECT_EQ(file.messages.front().toStdString(), c.message) << c.text;
    EXPECT_EQ(file.usable, c.usable) << c.text;
  }
}

TEST(PresentationFile, FoundInTheFolderWhateverTheCaseOfItsName) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  QFile file(folder.filePath("Logs.prs"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(kWhole);
  file.close();
  EXPECT_EQ(FindPresentation(folder.path(), "LOGS.PRS"), folder.filePath("Logs.prs"));
  EXPECT_EQ(FindPresentation(folder.path(), "logs"), folder.filePath("Logs.prs")) << ".PRS added";
  EXPECT_EQ(FindPresentation(folder.path(), folder.filePath("Logs.prs")), folder.filePath("Logs.prs"));
  EXPECT_TRUE(FindPresentation(folder.path(), "OTHER.PRS").isEmpty());
  EXPECT_TRUE(LoadPresentation(folder.path(), "LOGS.PRS").usable);
  PresentationFile missing = LoadPresentation(folder.path(), "GONE.PRS");
  EXPECT_FALSE(missing.usable);
  EXPECT_EQ(missing.messages.join("|"), "Presentation GONE.PRS not found in " + folder.path());
}

}  // namespace
}  // namespace tavlo
