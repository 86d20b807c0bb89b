// Small LAS files made by the tests, line for line predictable:
//
//   1  ~VERSION            10  the ~C section's title (when there are curves)
//   2   VERS. ...          11  the curves, one a line
//   3   WRAP. ...          ..  the ~A line (none when data is "")
//   4  ~WELL               ..  the rows, one a line
//   5-8 STRT STOP STEP NULL
//   9   WELL. ...
//
// With the default three curves, ~A is line 14 and the first row line 15.
// Beside them, the checks the LAS tests share.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <type_traits>
#include <vector>

#include "libs/las/las_reader.h"

namespace las {

struct LasParts {
  std::string version = "2.0";
  std::string wrap = "NO";
  std::string null = "-999.25";
  std::string data = "~A";
  std::string curveSection = "~CURVE INFORMATION";
  std::vector<std::string> curves = {"DEPT.M : depth", "GR.GAPI : gamma ray",
                                     "RES.OHMM : resistivity"};
  std::string start = "1";
  std::string stop = "3";
  std::string step = "1";
  std::string rangeUnit = "M";  // of STRT, STOP and STEP
};

inline std::string LasText(const std::vector<std::string>& rows, const LasParts& parts = {}) {
  const std::string& unit = parts.rangeUnit;
  std::string text = "~VERSION\n VERS. " + parts.version + " : CWLS LOG ASCII STANDARD\n WRAP. " +
                     parts.wrap + " : wrapping\n~WELL\n STRT." + unit + " " + parts.start +
                     " : START\n STOP." + unit + " " + parts.stop + " : STOP\n STEP." + unit + " " +
                     parts.step + " : STEP\n NULL. " + parts.null +
                     " : NULL VALUE\n WELL. TEST WELL : WELL\n";
  if (!parts.curves.empty()) text += parts.curveSection + "\n";
  for (const std::string& curve : parts.curves) text += " " + curve + "\n";
  if (!parts.data.empty()) text += parts.data + "\n";
  for (const std::string& row : rows) text += row + "\n";
  return text;
}

inline std::string WithLineEnds(const std::string& text, const std::string& end) {
  std::string changed;
  for (char c : text) changed += c == '\n' ? end : std::string(1, c);
  return changed;
}

inline std::string Crlf(const std::string& text) { return WithLineEnds(text, "\r\n"); }
inline std::string Cr(const std::string& text) { return WithLineEnds(text, "\r"); }

// A file that must read; a failure says where and why it did not.
inline LasFile ReadOk(const std::string& text) {
  LasFile file;
  LasProblem problem;
  EXPECT_TRUE(ReadLas(text, &file, &problem)) << problem.line << ": " << problem.message;
  return file;
}

// Notes a line each, "line: message", as a user reads them.
inline std::string NotesText(const std::vector<LasProblem>& notes) {
  std::string text;
  for (const LasProblem& note : notes) {
    text += std::to_string(note.line) + ": " + note.message + "\n";
  }
  return text;
}

// Passes when `part` is in `text`; a failure shows the whole text.
inline ::testing::AssertionResult Holds(const std::string& text, const std::string& part) {
  if (text.find(part) != std::string::npos) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "no '" << part << "' in:\n" << text;
}

// Value for value, NaN (missing) only where NaN is expected. Doubles read
// from text must be exact; floats may round in the last bits when placed.
template <typename T>
void ExpectValues(const std::vector<T>& got, const std::vector<T>& expected,
                  const std::string& why) {
  ASSERT_EQ(got.size(), expected.size()) << why;
  for (size_t i = 0; i < got.size(); ++i) {
    if (std::isnan(expected[i])) {
      EXPECT_TRUE(std::isnan(got[i])) << why << ": value " << i << " is " << got[i];
    } else if constexpr (std::is_same_v<T, float>) {
      EXPECT_FLOAT_EQ(got[i], expected[i]) << why << ": value " << i;
    } else {
      EXPECT_EQ(got[i], expected[i]) << why << ": value " << i;
    }
  }
}

}  // namespace las
