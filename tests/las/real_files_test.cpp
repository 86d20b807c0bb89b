// Every real LAS file in QUILLEX_LAS_DIR (by default ../shared/data/las
// beside the source tree; never copied into it) imports with the curves it
// declares, on the extent and step its data shows, every sample checked
// against the file's own text; and exporting it and importing the export
// gives the same curves, sample for sample. Skipped when the folder is
// absent.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "tests/las/las_database.h"
#include "tests/las/las_text.h"

namespace las {

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> LasFiles() {
  const char* folder = std::getenv("QUILLEX_LAS_DIR");
  std::vector<fs::path> files;
  std::error_code absent;  // no files then
  for (const auto& entry : fs::directory_iterator(folder ? folder : QUILLEX_LAS_FOLDER, absent)) {
    fs::path extension = entry.path().extension();
    if (extension == ".las" || extension == ".LAS") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The file as a plain reading of its text sees it, apart from the reader
// under test: the ~C mnemonics, the index unit, the NULL, and the data as a
// stream of numbers, wrapped or not, cut into rows.
struct Text {
  std::vector<std::string> mnemonics;
  double factor = 0;  // index units to the file's unit
  double null = -999.25;
  std::vector<std::vector<double>> rows;
};

double Number(const std::string& token, double null) {
  char* end = nullptr;
  double value = std::strtod(token.c_str(), &end);
  bool missing =
      *end != '\0' || value == null || value == -999.25 || value == -9999 || value == -99999;
  return missing ? NAN : value;
}

void TakeCurve(const std::string& line, Text* text) {
  std::string name = line.substr(0, line.find('.'));
  name.erase(name.find_last_not_of(" \t") + 1);
  text->mnemonics.push_back(name.substr(name.find_first_not_of(" \t")));
  if (text->mnemonics.size() > 1) return;
  char unit = static_cast<char>(std::toupper(line[line.find('.') + 1]));
  text->factor = unit == 'M' ? 19685 : unit == 'F' ? 6000 : 0;
}

Text ReadText(const std::string& contents) {
  Text text;
  std::istringstream lines(contents);
  std::vector<std::string> tokens;
  char section = ' ';
  for (std::string line; std::getline(lines, line);) {
    size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos || line[first] == '#') continue;
    if (line[first] == '~') {
      section = static_cast<char>(std::toupper(line[first + 1]));
    } else if (section == 'C') {
      TakeCurve(line, &text);
    } else if (section == 'W' && line.compare(first, 4, "NULL") == 0) {
      std::istringstream(line.substr(line.find('.') + 1)) >> text.null;
    } else if (section == 'A') {
      std::replace(line.begin(), line.end(), ',', ' ');
      std::istringstream words(line);
      for (std::string word; words >> word;) tokens.push_back(word);
    }
  }
  size_t width = text.mnemonics.size();
  for (size_t at = 0; at + width <= tokens.size(); at += width) {
    text.rows.emplace_back();
    for (size_t c = 0; c < width; ++c)
      text.rows.back().push_back(Number(tokens[at + c], text.null));
  }
  return text;
}

// The rows by increasing index, each index once (the first met kept).
std::vector<std::vector<double>> Increasing(std::vector<std::vector<double>> rows) {
  if (rows.front()[0] > rows.back()[0]) std::reverse(rows.begin(), rows.end());
  std::vector<std::vector<double>> kept;
  for (auto& row : rows) {
    if (kept.empty() || row[0] > kept.back()[0]) kept.push_back(std::move(row));
  }
  return kept;
}

double MedianSpacing(const std::vector<std::vector<double>>& rows, double factor) {
  std::vector<double> spacing;
  for (size_t k = 0; k + 1 < rows.size(); ++k)
    spacing.push_back((rows[k + 1][0] - rows[k][0]) * factor);
  std::sort(spacing.begin(), spacing.end());
  return spacing[spacing.size() / 2];
}

// The value a curve should have at index g: a row within a tenth of a step,
// as the file wrote it, else the straight line between the rows around g.
double Expected(const std::vector<std::vector<double>>& rows, double factor, double g, size_t c,
                int32_t step, bool* exact) {
  auto before = [](const std::vector<double>& row, double depth) { return row[0] < depth; };
  size_t after = std::lower_bound(rows.begin(), rows.end(), g / factor, before) - rows.begin();
  *exact = true;
  if (after < rows.size() && std::fabs(rows[after][0] * factor - g) <= step / 10.0) {
    return rows[after][c];
  }
  if (after > 0 && std::fabs(rows[after - 1][0] * factor - g) <= step / 10.0) {
    return rows[after - 1][c];
  }
  *exact = false;
  if (after == 0 || after == rows.size()) return NAN;
  const std::vector<double>& below = rows[after - 1];
  const std::vector<double>& above = rows[after];
  double share = (g - below[0] * factor) / ((above[0] - below[0]) * factor);
  return below[c] + share * (above[c] - below[c]);
}

class RealLasFiles : public LasDatabaseTest {
 protected:
  void SetUp() override {
    LasDatabaseTest::SetUp();
    files_ = LasFiles();
    if (files_.empty()) GTEST_SKIP() << "no LAS files: the LAS folder is absent";
  }

  // The set of the n-th file: names from the files could clash when cut to
  // ten characters.
  static std::string Set(size_t n, const char* kind = "F") {
    return "/A/B/C/" + std::string(kind) + std::to_string(n);
  }

  void CheckAgainstText(const fs::path& path, const std::string& set) {
    Text text = ReadText(Contents(path));
    ASSERT_GT(text.factor, 0);
    auto rows = Increasing(text.rows);
    std::vector<dorvex::DorvexItem> curves;
    ASSERT_EQ(dorvex::DorvexListItems(library_, database_, set, &curves), 0);
    std::erase_if(curves, [](const dorvex::DorvexItem& item) { return item.kind != 1; });
    ASSERT_EQ(curves.size(), text.mnemonics.size() - 1) << "the curves it declares";
    int32_t step = static_cast<int32_t>(std::llround(MedianSpacing(rows, text.factor)));
    double last = rows.back()[0] * text.factor;
    for (const dorvex::DorvexItem& curve : curves) {
      SCOPED_TRACE(curve.path);
      EXPECT_EQ(curve.top, std::llround(rows.front()[0] * text.factor));
      EXPECT_EQ(curve.step, step);
      EXPECT_LT(std::fabs(curve.bottom - last), step) << "the data's extent";
      dorvex::CurveInfo info;
      std::vector<float> values = Samples(curve.path, &info);
      // The column the curve came from: its description starts with the mnemonic.
      std::string description = dorvex::DescriptionOf(info);
      size_t column = 1;
      while (column < text.mnemonics.size() &&
             description.rfind(text.mnemonics[column] + ".", 0) != 0) {
        ++column;
      }
      ASSERT_LT(column, text.mnemonics.size()) << description;
      for (size_t j = 0; j < values.size(); ++j) {
        bool exact = false;
        double expected = Expected(rows, text.factor, curve.top + static_cast<double>(j) * step,
                                   column, step, &exact);
        if (std::isnan(expected)) {
          EXPECT_TRUE(std::isnan(values[j])) << "sample " << j;
        } else if (exact) {
          EXPECT_EQ(values[j], static_cast<float>(expected)) << "sample " << j;
        } else {
          EXPECT_NEAR(values[j], expected, 1e-4 * (1 + std::fabs(expected))) << "sample " << j;
        }
      }
    }
  }

  std::vector<fs::path> files_;
};

TEST_F(RealLasFiles, ImportAsTheirTextSays) {
  for (size_t n = 0; n < files_.size(); ++n) {
    SCOPED_TRACE(files_[n].string());
    ASSERT_EQ(Import(Contents(files_[n]), Set(n)), 0)
        << imported_.error.line << ": " << imported_.error.message;
    CheckAgainstText(files_[n], Set(n));
  }
}

TEST_F(RealLasFiles, ExportThenImportGivesTheSameCurves) {
  for (size_t n = 0; n < files_.size(); ++n) {
    SCOPED_TRACE(files_[n].string());
    ASSERT_EQ(Import(Contents(files_[n]), Set(n)), 0);
    ASSERT_EQ(Export(Set(n)), 0) << exported_.error;
    ASSERT_EQ(Import(exported_.text, Set(n, "B")), 0)
        << imported_.error.line << ": " << imported_.error.message;
    EXPECT_EQ(NotesText(imported_.notes), "");
    std::vector<dorvex::DorvexItem> first;
    std::vector<dorvex::DorvexItem> second;
    EXPECT_EQ(dorvex::DorvexListItems(library_, database_, Set(n), &first), 0);
    EXPECT_EQ(dorvex::DorvexListItems(library_, database_, Set(n, "B"), &second), 0);
    ASSERT_EQ(first.size(), second.size());
    for (size_t i = 0; i < first.size(); ++i) {
      if (first[i].kind != 1) continue;
      SCOPED_TRACE(first[i].path);
      EXPECT_EQ(first[i].name, second[i].name);
      EXPECT_EQ(first[i].top, second[i].top);
      EXPECT_EQ(first[i].step, second[i].step);
      EXPECT_EQ(first[i].units, second[i].units);
      EXPECT_TRUE(SameSamples(Samples(first[i].path), Samples(second[i].path)));
    }
  }
}

}  // namespace

}  // namespace las
