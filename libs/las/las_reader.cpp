#include "libs/las/las_reader.h"

#include <cmath>

#include "libs/las/data_section.h"
#include "libs/las/las_lines.h"
#include "libs/las/las_number.h"

namespace las {

namespace {

enum Section : int {
  kNone,
  kVersion,
  kWell,
  kCurve,
  kParameter,
  kOther,
  kCustom,
  kData,
  kSections
};

Section SectionOf(std::string_view line) {
  switch (line.size() > 1 ? line[1] : ' ') {
    case 'V':
    case 'v':
      return kVersion;
    case 'W':
    case 'w':
      return kWell;
    case 'C':
    case 'c':
      return kCurve;
    case 'P':
    case 'p':
      return kParameter;
    case 'O':
    case 'o':
      return kOther;
    case 'A':
    case 'a':
      return kData;
    default:
      return kCustom;
  }
}

// The sections before ~A, line by line.
class HeaderReader {
 public:
  explicit HeaderReader(LasFile* file) : file_(*file) {}
  // Stops after the ~A line, or at the end of the text.
  bool Read(LasLines& lines, std::string_view text, LasProblem* problem);

 private:
  bool Enter(Section section, int32_t number, LasProblem* problem);
  void Take(std::string_view line, int32_t number);
  std::vector<LasHeaderLine>* Items();

  LasFile& file_;
  Section section_ = kNone;
  int32_t began_[kSections] = {};  // the line where each section began
};

bool HeaderReader::Read(LasLines& lines, std::string_view text, LasProblem* problem) {
  std::string_view line;
  while (lines.Next(&line)) {
    std::string_view start = TrimLasStart(line);
    if (start.empty() || start[0] != '~') {
      Take(line, lines.Number());
      continue;
    }
    if (!Enter(SectionOf(start), lines.Number(), problem)) return false;
    if (section_ == kData) {
      file_.header = text.substr(0, lines.Offset());
      return true;
    }
  }
  file_.header = text;
  return true;
}

bool HeaderReader::Enter(Section section, int32_t number, LasProblem* problem) {
  section_ = section;
  if (section == kCustom) return true;
  if (began_[section] != 0) {
    *problem = {number, "a second " + std::string(1, "?VWCPO?A"[section]) +
                            " section; the first begins at line " +
                            std::to_string(began_[section])};
    return false;
  }
  began_[section] = number;
  if (section == kData) file_.dataLine = number;
  return true;
}

std::vector<LasHeaderLine>* HeaderReader::Items() {
  switch (section_) {
    case kVersion:
      return &file_.versionLines;
    case kWell:
      return &file_.well;
    case kCurve:
      return &file_.curves;
    case kParameter:
      return &file_.parameters;
    default:
      return nullptr;
  }
}

void HeaderReader::Take(std::string_view line, int32_t number) {
  std::string_view text = TrimLas(line);
  if (!text.empty() && text[0] == '#') return;  // a comment, in any section
  if (section_ == kOther) {
    file_.other.emplace_back(line);
    return;
  }
  std::vector<LasHeaderLine>* items = Items();
  if (items != nullptr && !text.empty()) items->push_back(SplitHeaderLine(text, number));
}

const LasHeaderLine* Find(const std::vector<LasHeaderLine>& lines, std::string_view mnemonic) {
  for (const LasHeaderLine& line : lines) {
    if (SameLasText(line.mnemonic, mnemonic)) return &line;
  }
  return nullptr;
}

bool ReadVersion(LasFile& file, LasProblem* problem) {
  const LasHeaderLine* version = Find(file.versionLines, "VERS");
  double number = 0;
  if (version == nullptr) return true;
  file.version = version->value;
  if (ReadLasNumber(FirstLasWord(version->value), &number) && number >= 3.0) {
    *problem = {version->line, "LAS version " + version->value +
                                   " is not read here: only versions 1.2 and 2.0 are"};
    return false;
  }
  return true;
}

void ReadWrapAndNull(LasFile& file) {
  const LasHeaderLine* wrap = Find(file.versionLines, "WRAP");
  file.wrapped = wrap != nullptr && SameLasText(FirstLasWord(wrap->value), "YES");
  const LasHeaderLine* null = file.FindWell("NULL");
  if (null == nullptr || null->value.empty()) return;
  file.hasNull = ReadLasNumber(FirstLasWord(null->value), &file.null);
  if (!file.hasNull) {
    file.notes.push_back({null->line, "NULL '" + null->value +
                                          "' is not a number; only the customary NULL values "
                                          "-999.25, -9999 and -99999 read as missing"});
  }
}

bool CheckCurves(const LasFile& file, int32_t lastLine, LasProblem* problem) {
  if (file.dataLine == 0) {
    *problem = {lastLine, "no ~A section: the file holds no data"};
  } else if (file.curves.empty()) {
    *problem = {file.dataLine, "no curves: the ~C section is missing or empty"};
  } else if (file.curves.size() == 1) {
    *problem = {file.curves[0].line, "only the index " + file.curves[0].mnemonic +
                                         " is defined: one column and no curve to read"};
  } else {
    return true;
  }
  return false;
}

bool ReadHeaderPart(LasLines& lines, std::string_view text, LasFile* file, LasProblem* problem) {
  *file = LasFile();
  HeaderReader header(file);
  if (!header.Read(lines, text, problem) || !ReadVersion(*file, problem)) return false;
  ReadWrapAndNull(*file);
  return true;
}

}  // namespace

bool ReadLas(std::string_view text, LasFile* file, LasProblem* problem) {
  LasLines lines(text);
  return ReadHeaderPart(lines, text, file, problem) &&
         CheckCurves(*file, lines.Number(), problem) && ReadDataSection(lines, file, problem);
}

bool ReadLasHeader(std::string_view text, LasFile* file, LasProblem* problem) {
  LasLines lines(text);
  return ReadHeaderPart(lines, text, file, problem);
}

}  // namespace las
