#include "libs/las/las_writer.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "libs/las/las_number.h"

namespace las {

namespace {

constexpr char kEnd[] = "\r\n";
// Wrapped lines hold at most 80 characters with their CR LF.
constexpr size_t kWrappedWidth = 78;

// Printable ASCII only; a UTF-8 sequence becomes one space.
std::string Printable(std::string_view text) {
  std::string clean;
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80 && byte < 0xC0) continue;  // a continuation byte
    clean += byte >= 32 && byte < 127 ? c : ' ';
  }
  return clean;
}

std::string Replaced(std::string text, std::string_view unwanted, char by) {
  for (char& c : text) {
    if (unwanted.find(c) != std::string_view::npos) c = by;
  }
  return text;
}

// A header line's fields as written, so that the line splits where it should.
LasHeaderLine Written(const LasHeaderLine& line) {
  LasHeaderLine out;
  out.mnemonic = Replaced(Printable(line.mnemonic), " .:", '_');
  if (out.mnemonic.empty()) out.mnemonic = "_";
  if (out.mnemonic[0] == '#' || out.mnemonic[0] == '~') out.mnemonic[0] = '_';
  out.unit = Replaced(Printable(line.unit), " :", '_');
  out.value = Printable(line.value);
  out.description = Replaced(Printable(line.description), ":", ';');
  return out;
}

std::string Padded(const std::string& text, size_t width) {
  return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

void Section(std::string* text, const char* title, const std::vector<LasHeaderLine>& lines) {
  std::vector<LasHeaderLine> written;
  size_t name = 0;
  size_t value = 0;
  for (const LasHeaderLine& line : lines) {
    written.push_back(Written(line));
    name = std::max(name, written.back().mnemonic.size() + 1 + written.back().unit.size());
    value = std::max(value, written.back().value.size());
  }
  *text += std::string(title) + kEnd;
  for (const LasHeaderLine& line : written) {
    *text += " " + Padded(line.mnemonic + "." + line.unit, name) + " " + Padded(line.value, value) +
             " : " + line.description + kEnd;
  }
}

void VersionSection(std::string* text, bool wrapped) {
  LasHeaderLine version{"VERS", "", "2.0", "CWLS LOG ASCII STANDARD - VERSION 2.0"};
  LasHeaderLine wrap{"WRAP", "", wrapped ? "YES" : "NO",
                     wrapped ? "MULTIPLE LINES PER DEPTH STEP" : "ONE LINE PER DEPTH STEP"};
  Section(text, "~VERSION INFORMATION", {version, wrap});
}

void OtherSection(std::string* text, const std::vector<std::string>& other) {
  if (other.empty()) return;
  *text += std::string("~OTHER") + kEnd;
  for (const std::string& line : other) {
    std::string clean = Printable(line);
    size_t first = clean.find_first_not_of(' ');
    if (first != std::string::npos && clean[first] == '~') clean[first] = '-';
    *text += clean + kEnd;
  }
}

std::string ValueText(float value, const std::string& null) {
  return std::isnan(value) ? null : LasNumberText(value);
}

size_t ValueWidth(const LasOutput& output, size_t column) {
  size_t width = output.null.size();
  for (float value : output.columns[column])
    width = std::max(width, ValueText(value, output.null).size());
  return width;
}

void Right(std::string* text, const std::string& value, size_t width) {
  text->append(width > value.size() ? width - value.size() : 0, ' ');
  *text += value;
}

void UnwrappedData(std::string* text, const LasOutput& output) {
  std::vector<size_t> widths;
  for (size_t c = 0; c < output.columns.size(); ++c) widths.push_back(ValueWidth(output, c) + 1);
  size_t indexWidth = DecimalText(output.index, output.count - 1).size() + 1;
  for (int64_t k = 0; k < output.count; ++k) {
    Right(text, DecimalText(output.index, k), indexWidth);
    for (size_t c = 0; c < output.columns.size(); ++c) {
      Right(text, ValueText(output.columns[c][static_cast<size_t>(k)], output.null), widths[c]);
    }
    *text += kEnd;
  }
}

void WrappedData(std::string* text, const LasOutput& output) {
  size_t width = 0;
  for (size_t c = 0; c < output.columns.size(); ++c) width = std::max(width, ValueWidth(output, c));
  size_t perLine = std::max<size_t>(1, kWrappedWidth / (width + 1));
  for (int64_t k = 0; k < output.count; ++k) {
    *text += DecimalText(output.index, k) + kEnd;
    for (size_t c = 0; c < output.columns.size(); ++c) {
      Right(text, ValueText(output.columns[c][static_cast<size_t>(k)], output.null), width + 1);
      if ((c + 1) % perLine == 0 || c + 1 == output.columns.size()) *text += kEnd;
    }
  }
}

}  // namespace

std::string WriteLas(const LasOutput& output) {
  std::string text;
  VersionSection(&text, output.wrapped);
  Section(&text, "~WELL INFORMATION", output.well);
  Section(&text, "~CURVE INFORMATION", output.curves);
  if (!output.parameters.empty()) Section(&text, "~PARAMETER INFORMATION", output.parameters);
  OtherSection(&text, output.other);
  text += std::string("~A") + kEnd;
  if (output.wrapped) {
    WrappedData(&text, output);
  } else {
    UnwrappedData(&text, output);
  }
  return text;
}

}  // namespace las
