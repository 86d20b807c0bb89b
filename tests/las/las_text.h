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
#pragma once

#include <string>
#include <vector>

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
