// LogData: the curves of a plot, read from a log database through the
// library, and kept up to date while a run writes them.
//
// Curves are read whole when the plot opens (the library holds an open
// curve in memory anyway, so the samples are copied once, a block at a
// time, never a query per sample). Following a run costs one question a
// tick: the database's data version. Only when it changed is each curve
// asked for what was committed since, and only the new samples are copied.
//
// A curve is named the way a presentation names it, relative to the data
// set plotted: NAME, SET/NAME (a data set beside it), /L1/L2/L3/SET/NAME;
// a pass number may follow, else the highest pass is read.
#pragma once

#include <QString>
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "libs/dorvex/dorvex.h"
#include "libs/dorvex/run_defaults.h"
#include "plot/automatic_layout.h"

namespace tavlo {

struct LogCurve {
  QString name;         // the item name (mnemonic)
  std::string path;     // the item read, with its pass
  QString units;        // the unit's mnemonic
  QString description;
  dorvex::UnitDimension dimension = dorvex::UnitDimension::kUnknown;
  bool timeBased = false;
  int32_t top = 0;
  int32_t step = 1;
  // Where the curve will end: its description's bottom (which follows the
  // samples committed), or the bottom of the run that writes it.
  int32_t plannedBottom = 0;
  std::vector<float> samples;
  uint32_t handle = 0;

  double Bottom() const { return top + (static_cast<double>(samples.size()) - 1) * step; }
  // The value at an index: on the grid that sample, between two the
  // straight line, outside the samples (or next to a missing one) NaN.
  double ValueAt(double index) const;
  // Lowest and highest value, missing ones left out (NaN when none).
  std::pair<double, double> Range() const;
  // The samples the description plans: a run writes one a step from its
  // top, up to its bottom (which it may stop a step short of).
  int64_t PlannedCount() const { return std::max<int64_t>(1, (int64_t{plannedBottom} - top) / step); }
  bool Complete() const { return static_cast<int64_t>(samples.size()) >= PlannedCount(); }
};

class LogData {
 public:
  explicit LogData(dorvex::DorvexLibrary& library) : library_(library) {}
  ~LogData();
  LogData(const LogData&) = delete;
  LogData& operator=(const LogData&) = delete;

  // Opens the database file; false with a message when it cannot.
  bool OpenDatabase(const std::string& file, QString* message);
  // Whether the path names a data set (a node four levels down).
  bool IsDataSet(const std::string& path);
  // The float curves of a data set, highest pass of each, in the order the
  // database lists them; items whose names begin with "_" are the system's.
  std::vector<CurveSummary> CurvesOf(const std::string& dataSet);
  // The data set's run settings; false when it has none.
  bool ReadRunDefaults(const std::string& dataSet, dorvex::RunDefaults* defaults);

  // Reads a curve named relative to the data set; null when there is none.
  // The same curve asked twice is read once.
  const LogCurve* Load(const std::string& dataSet, const QString& reference);

  // Takes what was committed since the last look; true when any curve grew.
  bool Refresh();

  const std::vector<std::unique_ptr<LogCurve>>& curves() const { return curves_; }

 private:
  std::string ItemPath(const std::string& dataSet, const QString& reference) const;
  bool ReadNew(LogCurve& curve, int64_t count);

  dorvex::DorvexLibrary& library_;
  uint32_t database_ = 0;
  int64_t version_ = 0;
  std::vector<std::unique_ptr<LogCurve>> curves_;
};

// The database file a command line's DBFILE means: a name with "/" is a
// file (".db" added when only that exists); a bare name is NAME.db in the
// database folder.
std::string DatabaseFileOf(dorvex::DorvexLibrary& library, const std::string& name);

}  // namespace tavlo
