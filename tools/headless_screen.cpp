#include "tools/headless_screen.h"

#include <cstdio>

namespace quillex {

std::string BoxLine(const std::string& text, uint32_t style) {
  uint32_t icon = style & box::kIconMask;
  const char* prefix = icon == box::kIconStop          ? "error: "
                       : icon == box::kIconInformation ? "note: "
                                                       : "message: ";
  return prefix + text;
}

namespace {

// Notes a user of the tools does not need: a run of a job without a
// presentation draws no plot, as the user knows.
constexpr const char* kChatter[] = {"Presentation file not selected, plot will not run."};

bool IsChatter(const std::string& text) {
  for (const char* each : kChatter) {
    if (text == each) return true;
  }
  return false;
}

}  // namespace

int HeadlessScreen::MessageBox(const std::string& text, const std::string&, uint32_t style,
                               bool) {
  int answer = (style & box::kButtonMask) == box::kYesNo ? box::kAnswerNo : box::kAnswerOk;
  if (!verbose_ && (style & box::kIconMask) == box::kIconInformation && IsChatter(text)) {
    return answer;
  }
  if ((style & box::kIconMask) == box::kIconStop) ++errors_;
  std::fprintf(stderr, "%s\n", BoxLine(text, style).c_str());
  std::fflush(stderr);
  return answer;
}

std::string HeadlessScreen::Text(int32_t id) const {
  auto found = texts_.find(id);
  return found == texts_.end() ? std::string() : found->second;
}

void HeadlessScreen::ShowReport(const std::string& text) {
  std::fputs(text.c_str(), stdout);
  std::fflush(stdout);
}

}  // namespace quillex
