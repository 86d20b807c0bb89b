#include "plot/log_data.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <set>

#include "libs/dorvex/curve_info.h"

namespace tavlo {

namespace {

constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();

// Components of a path, empty ones skipped.
QStringList Components(const QString& path) { return path.split('/', Qt::SkipEmptyParts); }

bool IsPass(const QString& component) {
  bool number = false;
  component.toInt(&number);
  return number || component == "*";
}

}  // namespace

double LogCurve::ValueAt(double index) const {
  if (samples.empty() || step <= 0 || index < top || index > Bottom()) return kMissing;
  double at = (index - top) / step;
  auto below = static_cast<size_t>(std::floor(at));
  double fraction = at - static_cast<double>(below);
  if (below + 1 >= samples.size() || fraction == 0) return samples[below];
  return samples[below] + (samples[below + 1] - samples[below]) * fraction;
}

std::pair<double, double> LogCurve::Range() const {
  float low = std::numeric_limits<float>::infinity();
  float high = -low;
  for (float value : samples) {
    if (std::isnan(value)) continue;
    low = std::min(low, value);
    high = std::max(high, value);
  }
  if (low > high) return {kMissing, kMissing};
  return {low, high};
}

namespace {

// Every curve here is only read: closing one has nothing to store.
void CloseReadCurve(dorvex::DorvexLibrary& library, uint32_t handle) {
  if (handle != 0) static_cast<void>(dorvex::DorvexCloseCurve(library, handle));
}

}  // namespace

LogData::~LogData() {
  for (const auto& curve : curves_) CloseReadCurve(library_, curve->handle);
  if (database_ != 0) dorvex::DorvexCloseDatabase(library_, database_);
}

bool LogData::OpenDatabase(const std::string& file, QString* message) {
  if (dorvex::DorvexOpenDatabase(library_, file, 0, &database_) != 0) {
    *message = QString::fromStdString(
        std::filesystem::exists(file) ? file + " is not a log database, or cannot be opened"
                                      : "no database " + file);
    return false;
  }
  // Without a version the follower looks at every curve at its first tick.
  if (dorvex::DorvexDataVersion(library_, database_, &version_) != 0) version_ = -1;
  return true;
}

bool LogData::IsDataSet(const std::string& path) {
  std::vector<dorvex::DorvexItem> items;
  if (dorvex::DorvexListItems(library_, database_, path, &items) != 0 || items.empty()) return false;
  return items.front().level == 4 && items.front().kind == 0;
}

std::vector<CurveSummary> LogData::CurvesOf(const std::string& dataSet) {
  std::vector<dorvex::DorvexItem> items;
  std::vector<CurveSummary> curves;
  if (dorvex::DorvexListItems(library_, database_, dataSet, &items) != 0) return curves;
  std::set<QString> seen;  // a curve of several passes is listed once
  for (const auto& item : items) {
    if (item.level != 6 || item.kind != 1 || item.elementSize != 4) continue;
    QStringList parts = Components(QString::fromStdString(item.path));
    QString name = parts.value(4);
    if (name.startsWith('_') || !seen.insert(name.toUpper()).second) continue;
    const dorvex::UnitTable& units = dorvex::DorvexUnits(library_);
    curves.push_back({name, QString::fromStdString(units.Mnemonic(item.units)),
                      units.Dimension(item.units)});
  }
  return curves;
}

bool LogData::ReadRunDefaults(const std::string& dataSet, dorvex::RunDefaults* defaults) {
  uint32_t item = 0;
  std::memset(defaults, 0, sizeof *defaults);
  bool read = dorvex::DorvexOpenCurve(library_, database_, dataSet + "/_defaults_/1", &item,
                                      dorvex::kDorvexRead, nullptr) == 0 &&
              dorvex::DorvexReadSamples(library_, item, 0, 1, defaults) == 0;
  CloseReadCurve(library_, item);
  defaults->presentation[sizeof defaults->presentation - 1] = '\0';
  return read;
}

std::string LogData::ItemPath(const std::string& dataSet, const QString& reference) const {
  QStringList parts = Components(reference);
  if (parts.isEmpty()) return {};
  bool withPass = parts.size() > 1 && IsPass(parts.back());
  QStringList place;
  if (reference.startsWith('/')) {
    if (parts.size() != (withPass ? 6 : 5)) return {};
  } else {
    QStringList set = Components(QString::fromStdString(dataSet));
    int own = withPass ? parts.size() - 2 : parts.size() - 1;  // components naming a data set
    if (own > 1) return {};
    place = set.mid(0, own == 1 ? 3 : 4);
  }
  place += parts;
  if (!withPass) place << "*";
  return ("/" + place.join('/')).toStdString();
}

const LogCurve* LogData::Load(const std::string& dataSet, const QString& reference) {
  std::string path = ItemPath(dataSet, reference);
  if (path.empty() || database_ == 0) return nullptr;
  std::vector<dorvex::DorvexItem> items;
  if (dorvex::DorvexListItems(library_, database_, path, &items) != 0 || items.empty() ||
      items.front().kind != 1 || items.front().elementSize != 4) {
    return nullptr;
  }
  path = items.front().path;  // the pass a "*" found
  for (const auto& curve : curves_) {
    if (QString::fromStdString(curve->path).compare(QString::fromStdString(path), Qt::CaseInsensitive) == 0) {
      return curve.get();
    }
  }
  auto curve = std::make_unique<LogCurve>();
  dorvex::CurveInfo info = dorvex::EmptyCurveInfo();
  if (dorvex::DorvexOpenCurve(library_, database_, path, &curve->handle, dorvex::kDorvexRead, &info) != 0) {
    return nullptr;
  }
  const dorvex::UnitTable& units = dorvex::DorvexUnits(library_);
  curve->name = Components(QString::fromStdString(path)).value(4);
  curve->path = path;
  curve->units = QString::fromStdString(units.Mnemonic(items.front().units));
  curve->dimension = units.Dimension(items.front().units);
  curve->description = QString::fromStdString(dorvex::DescriptionOf(info));
  curve->timeBased = items.front().timeBased;
  curve->top = items.front().top;
  curve->step = std::max(items.front().step, 1);
  curve->plannedBottom = std::max(info.bottom, info.top);
  if (!ReadNew(*curve, items.front().count)) {
    CloseReadCurve(library_, curve->handle);
    return nullptr;
  }
  curves_.push_back(std::move(curve));
  return curves_.back().get();
}

bool LogData::ReadNew(LogCurve& curve, int64_t count) {
  auto old = static_cast<int64_t>(curve.samples.size());
  if (count <= old) return true;
  curve.samples.resize(static_cast<size_t>(count));
  auto index = static_cast<int32_t>(curve.top + old * curve.step);
  if (dorvex::DorvexReadSamples(library_, curve.handle, index, static_cast<int32_t>(count - old),
                                curve.samples.data() + old) == 0) {
    return true;
  }
  curve.samples.resize(static_cast<size_t>(old));
  return false;
}

bool LogData::Refresh() {
  int64_t version = 0;
  if (database_ == 0 || dorvex::DorvexDataVersion(library_, database_, &version) != 0 ||
      version == version_) {
    return false;
  }
  version_ = version;
  bool grew = false;
  for (const auto& curve : curves_) {
    size_t had = curve->samples.size();
    int64_t count = 0;
    if (dorvex::DorvexRefreshCurve(library_, curve->handle, &count) == 0) ReadNew(*curve, count);
    grew = grew || curve->samples.size() > had;
  }
  return grew;
}

std::string DatabaseFileOf(dorvex::DorvexLibrary& library, const std::string& name) {
  if (name.find('/') != std::string::npos) {
    if (!std::filesystem::exists(name) && std::filesystem::exists(name + ".db")) return name + ".db";
    return name;
  }
  std::string base = name;
  if (base.size() > 3 && QString::fromStdString(base).endsWith(".db", Qt::CaseInsensitive)) {
    base.resize(base.size() - 3);
  }
  return dorvex::DorvexDatabaseFile(library, base);
}

}  // namespace tavlo
