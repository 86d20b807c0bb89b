#include "plot/presentation_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>

#include "plot/automatic_layout.h"

namespace tavlo {

namespace {

// One "key=value" line of the section being read.
struct Line {
  QString key;
  QString value;
  int number = 0;
};

class Reader {
 public:
  explicit Reader(const QString& name) : name_(name) {}

  void Read(const QString& text) {
    const QStringList lines = text.split(QRegularExpression("\r\n|\n|\r"));
    for (int at = 0; at < lines.size(); ++at) ReadLine(lines[at].trimmed(), at + 1);
    Close();
    EnsureDepthTrack(file_.presentation);
    bool anyCurveTrack = false;
    for (const Track& track : file_.presentation.tracks) {
      anyCurveTrack = anyCurveTrack || track.kind == TrackKind::kCurves;
    }
    file_.usable = anyCurveTrack;
    if (!anyCurveTrack) file_.messages << name_ + ": no [Track] section: nothing to plot";
  }

  PresentationFile Result() { return std::move(file_); }

 private:
  void ReadLine(const QString& line, int number) {
    if (line.isEmpty() || line.startsWith(';') || line.startsWith('#')) return;
    if (line.startsWith('[')) {
      Close();
      int end = line.indexOf(']');
      Open(line.mid(1, end < 0 ? -1 : end - 1).trimmed(), number);
      return;
    }
    int equals = line.indexOf('=');
    if (equals < 0) return Tell(number, "'" + line + "' is neither a [section] nor a key=value line");
    if (section_.isEmpty()) return Tell(number, "a key before any [section]");
    QString key = line.left(equals).trimmed().toLower();
    for (const Line& seen : lines_) {
      if (seen.key == key) return Tell(number, key + " given twice in [" + section_ + "]; the first holds");
    }
    lines_.push_back({key, Unquoted(line.mid(equals + 1).trimmed()), number});
  }

  static QString Unquoted(const QString& value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      return value.mid(1, value.size() - 2);
    }
    return value;
  }

  void Open(const QString& section, int number) {
    section_ = section;
    sectionLine_ = number;
    lines_.clear();
  }

  // Applies the section just read.
  void Close() {
    if (section_.isEmpty()) return;
    QString lower = section_.toLower();
    if (lower == "presentation") {
      ReadPresentation();
    } else if (lower == "track") {
      ReadTrack(TrackKind::kCurves);
    } else if (lower == "depth" || lower == "time") {
      ReadTrack(TrackKind::kDepth);
    } else if (lower.startsWith("curve ") || lower == "curve") {
      ReadCurve(section_.mid(5).trimmed());
    } else {
      Tell(sectionLine_, "unknown section [" + section_ + "] (Presentation, Track, Depth or Curve NAME)");
    }
    section_.clear();
  }

  void ReadPresentation() {
    for (const Line& line : lines_) {
      if (line.key == "title") {
        file_.presentation.title = line.value;
      } else {
        Unknown(line);
      }
    }
  }

  void ReadTrack(TrackKind kind) {
    Track track;
    track.kind = kind;
    if (kind == TrackKind::kDepth) {
      track.width = 0.75;
      track.grid = GridKind::kNone;
    }
    for (const Line& line : lines_) {
      if (line.key == "width") {
        Number(line, 0.1, 20, &track.width);
      } else if (line.key == "grid" && kind == TrackKind::kCurves) {
        Word(line, {{"Linear", GridKind::kLinear}, {"Log", GridKind::kLogarithmic},
                    {"None", GridKind::kNone}}, &track.grid);
      } else if (line.key == "divisions" && kind == TrackKind::kCurves) {
        double divisions = track.divisions;
        if (Number(line, 1, 50, &divisions)) track.divisions = static_cast<int>(divisions);
      } else {
        Unknown(line);
      }
    }
    file_.presentation.tracks.push_back(track);
  }

  void ReadCurve(const QString& curveName) {
    if (curveName.isEmpty()) return Tell(sectionLine_, "[Curve] without a curve name");
    auto& tracks = file_.presentation.tracks;
    if (tracks.empty() || tracks.back().kind != TrackKind::kCurves) {
      return Tell(sectionLine_, "[Curve " + curveName + "] is not under a [Track]; left out");
    }
    CurveStyle curve = KnownCurveStyle(curveName);
    bool leftGiven = false;
    bool rightGiven = false;
    for (const Line& line : lines_) ReadCurveKey(line, curve, leftGiven, rightGiven);
    // A scale given in part, or not at all for a curve the automatic layout
    // does not know, is fitted to the data when it is read.
    if (leftGiven != rightGiven || (!leftGiven && curve.fitToData)) {
      if (leftGiven != rightGiven) Tell(sectionLine_, "[Curve " + curveName + "] needs both Left and Right; fitted to the data");
      curve.fitToData = true;
    } else if (leftGiven) {
      curve.fitToData = false;
    }
    if (!curve.fitToData && !curve.scale.IsValid()) {
      Tell(sectionLine_, "[Curve " + curveName + "]: Left and Right make no scale" +
                             (curve.scale.kind == ScaleKind::kLogarithmic ? " (a log scale needs both above 0)" : "") +
                             "; fitted to the data");
      curve.fitToData = true;
    }
    tracks.back().curves.push_back(curve);
  }

  void ReadCurveKey(const Line& line, CurveStyle& curve, bool& leftGiven, bool& rightGiven) {
    if (line.key == "scale") {
      Word(line, {{"Linear", ScaleKind::kLinear}, {"Log", ScaleKind::kLogarithmic}}, &curve.scale.kind);
    } else if (line.key == "left") {
      leftGiven = Number(line, -1e30, 1e30, &curve.scale.left);
    } else if (line.key == "right") {
      rightGiven = Number(line, -1e30, 1e30, &curve.scale.right);
    } else if (line.key == "colour" || line.key == "color") {
      Colour(line, &curve.colour);
    } else if (line.key == "line") {
      Word(line, {{"Solid", LineStyle::kSolid}, {"Dash", LineStyle::kDash},
                  {"Dot", LineStyle::kDot}, {"DashDot", LineStyle::kDashDot}}, &curve.line);
    } else if (line.key == "width") {
      Number(line, 0.1, 10, &curve.width);
    } else if (line.key == "fill") {
      double value = 0;
      if (Number(line, -1e30, 1e30, &value)) curve.fillValue = value;
    } else if (line.key == "fillcolour" || line.key == "fillcolor") {
      Colour(line, &curve.fillColour);
    } else if (line.key == "fillside") {
      Word(line, {{"Both", FillSide::kBoth}, {"Left", FillSide::kLeft}, {"Right", FillSide::kRight}},
           &curve.fillSide);
    } else {
      Unknown(line);
    }
  }

  bool Number(const Line& line, double low, double high, double* out) {
    bool ok = false;
    double value = line.value.toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
      Tell(line.number, line.key + ": '" + line.value + "' is not a number");
      return false;
    }
    if (value < low || value > high) {
      Tell(line.number, line.key + ": " + line.value + " is out of range (" + QString::number(low) +
                            " to " + QString::number(high) + ")");
      return false;
    }
    *out = value;
    return true;
  }

  template <typename T>
  void Word(const Line& line, std::initializer_list<std::pair<const char*, T>> words, T* out) {
    QStringList names;
    for (const auto& [name, value] : words) {
      if (line.value.compare(name, Qt::CaseInsensitive) == 0) {
        *out = value;
        return;
      }
      names << QString(name);
    }
    Tell(line.number, line.key + ": '" + line.value + "' is not one of " + names.join(", "));
  }

  void Colour(const Line& line, QColor* out) {
    QColor colour = QColor::fromString(line.value);
    if (!colour.isValid()) {
      return Tell(line.number, line.key + ": '" + line.value + "' is no colour (a name such as red, or #rrggbb)");
    }
    *out = colour;
  }

  void Unknown(const Line& line) {
    Tell(line.number, "unknown key '" + line.key + "' in [" + section_ + "]");
  }

  void Tell(int number, const QString& what) {
    file_.messages << name_ + ":" + QString::number(number) + ": " + what;
  }

  QString name_;
  QString section_;
  int sectionLine_ = 0;
  std::vector<Line> lines_;
  PresentationFile file_;
};

}  // namespace

PresentationFile ParsePresentation(const QString& text, const QString& name) {
  Reader reader(name);
  reader.Read(text);
  return reader.Result();
}

QString FindPresentation(const QString& folder, const QString& name) {
  if (name.isEmpty()) return {};
  if (name.contains('/')) return QFileInfo::exists(name) ? name : QString();
  QDir dir(folder);
  if (QFileInfo::exists(dir.filePath(name))) return dir.filePath(name);
  QString withExtension = QFileInfo(name).suffix().isEmpty() ? name + ".PRS" : name;
  const QStringList entries = dir.entryList(QDir::Files);
  for (const QString& wanted : {name, withExtension}) {
    for (const QString& entry : entries) {
      if (entry.compare(wanted, Qt::CaseInsensitive) == 0) return dir.filePath(entry);
    }
  }
  return {};
}

PresentationFile LoadPresentation(const QString& folder, const QString& name) {
  PresentationFile result;
  QString path = FindPresentation(folder, name);
  if (path.isEmpty()) {
    result.messages << "Presentation " + name + " not found" +
                           (name.contains('/') ? QString() : " in " + folder);
    return result;
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    result.messages << "Presentation " + path + " cannot be read: " + file.errorString();
    return result;
  }
  return ParsePresentation(QString::fromUtf8(file.readAll()), QFileInfo(path).fileName());
}

}  // namespace tavlo
