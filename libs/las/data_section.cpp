#include "libs/las/data_section.h"

#include <cmath>
#include <limits>
#include <string>

#include "libs/las/las_number.h"

namespace las {

namespace {

constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();
constexpr double kCustomaryNulls[] = {-999.25, -9999.0, -99999.0};

// One kind of value read with tolerance: how many, and the first met.
struct Tally {
  int64_t count = 0;
  int32_t line = 0;
  std::string first;
  void Add(int32_t at, std::string_view text) {
    if (count++ > 0) return;
    line = at;
    first = text;
  }
};

class DataReader {
 public:
  explicit DataReader(LasFile* file) : file_(*file), width_(file->Width()) {}
  bool Read(LasLines& lines, LasProblem* problem);

 private:
  bool Line(std::string_view text, int32_t number, LasProblem* problem);
  size_t Append(std::string_view line, int32_t number);
  double Value(std::string_view token, int32_t number);
  bool Unwrapped(size_t count, int32_t number, LasProblem* problem);
  bool Wrapped(size_t count, int32_t number, LasProblem* problem);
  bool Finish(LasProblem* problem);
  void Note(const Tally& tally, const std::string& what, const std::string& after);
  void NoteTallies();

  LasFile& file_;
  size_t width_;
  size_t stepValues_ = 0;  // wrapped: the values of the step being read so far
  int32_t lastLine_ = 0;
  Tally notNumbers_;
  Tally customary_;
  Tally tooLarge_;
};

bool DataReader::Read(LasLines& lines, LasProblem* problem) {
  // Real files spend at least four characters a value.
  file_.values.reserve(lines.Remaining() / 4);
  std::string_view line;
  while (lines.Next(&line)) {
    std::string_view text = TrimLasStart(line);
    if (text.empty() || text[0] == '#') continue;
    if (text[0] == '~') {
      file_.notes.push_back({lines.Number(),
                             "a section after ~A: it and the rest of the file "
                             "are not read"});
      break;
    }
    if (!Line(text, lines.Number(), problem)) return false;
  }
  return Finish(problem);
}

bool DataReader::Line(std::string_view text, int32_t number, LasProblem* problem) {
  lastLine_ = number;
  size_t count = Append(text, number);
  return file_.wrapped ? Wrapped(count, number, problem) : Unwrapped(count, number, problem);
}

// Splits a line into values and appends them; returns how many. The loop
// every byte of the data section goes through.
size_t DataReader::Append(std::string_view line, int32_t number) {
  const char* at = line.data();
  const char* end = at + line.size();
  size_t count = 0;
  bool afterComma = true;  // a comma first in the line leaves an empty field before it
  while (true) {
    while (at < end && IsLasBlank(*at)) ++at;
    if (at == end) break;
    if (*at == ',') {
      if (afterComma) {
        file_.values.push_back(Value({}, number));
        ++count;
      }
      afterComma = true;
      ++at;
      continue;
    }
    const char* start = at;
    while (at < end && !IsLasBlank(*at) && *at != ',') ++at;
    file_.values.push_back(Value({start, static_cast<size_t>(at - start)}, number));
    ++count;
    afterComma = false;
  }
  return count;
}

double DataReader::Value(std::string_view token, int32_t number) {
  double value = 0;
  if (!ReadLasNumber(token, &value)) {
    notNumbers_.Add(number, token);
    return kMissing;
  }
  if (file_.hasNull && value == file_.null) return kMissing;
  // A curve keeps floats; nothing measured is that large.
  if (std::fabs(value) > std::numeric_limits<float>::max()) {
    tooLarge_.Add(number, token);
    return kMissing;
  }
  for (double null : kCustomaryNulls) {
    if (value != null) continue;
    customary_.Add(number, token);
    return kMissing;
  }
  return value;
}

std::string ValuesText(size_t count) {
  return std::to_string(count) + (count == 1 ? " value" : " values");
}

bool DataReader::Unwrapped(size_t count, int32_t number, LasProblem* problem) {
  if (count == width_) {
    file_.rowLines.push_back(number);
    return true;
  }
  std::string message = "a data line with " + ValuesText(count) + " where the ~C section defines " +
                        std::to_string(width_) + " curves, the index included";
  if (count == 1) message += " (is the file wrapped? its WRAP line says NO)";
  *problem = {number, message};
  return false;
}

bool DataReader::Wrapped(size_t count, int32_t number, LasProblem* problem) {
  if (stepValues_ == 0) file_.rowLines.push_back(number);
  stepValues_ += count;
  if (stepValues_ > width_) {
    *problem = {number, "the depth step begun at line " + std::to_string(file_.rowLines.back()) +
                            " has " + ValuesText(stepValues_) +
                            " by the end of this line, more "
                            "than the " +
                            std::to_string(width_) +
                            " curves the ~C section defines, the index included"};
    return false;
  }
  if (stepValues_ == width_) stepValues_ = 0;
  return true;
}

bool DataReader::Finish(LasProblem* problem) {
  if (stepValues_ != 0) {
    *problem = {lastLine_, "the last depth step, begun at line " +
                               std::to_string(file_.rowLines.back()) + ", has " +
                               std::to_string(stepValues_) + " of the " + std::to_string(width_) +
                               " values the ~C section defines"};
    return false;
  }
  if (file_.rowLines.empty()) {
    *problem = {file_.dataLine, "the ~A section holds no data"};
    return false;
  }
  NoteTallies();
  return true;
}

void DataReader::Note(const Tally& tally, const std::string& what, const std::string& after) {
  if (tally.count == 0) return;
  std::string first = tally.first.empty() ? "an empty field" : "'" + tally.first + "'";
  file_.notes.push_back({tally.line, what + ": " + std::to_string(tally.count) +
                                         " (the first: " + first + "); read as missing" + after});
}

void DataReader::NoteTallies() {
  Note(notNumbers_, "data values that are no numbers", "");
  Note(tooLarge_, "data values beyond what a curve holds", "");
  Note(customary_, "customary NULL values",
       file_.hasNull ? ", though the header's NULL is " + LasNumberText(file_.null)
                     : ", though the header declares no NULL");
}

}  // namespace

bool ReadDataSection(LasLines& lines, LasFile* file, LasProblem* problem) {
  return DataReader(file).Read(lines, problem);
}

}  // namespace las
