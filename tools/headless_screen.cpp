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

int HeadlessScreen::MessageBox(const std::string& text, const std::string&, uint32_t style,
                               bool) {
  if ((style & box::kIconMask) == box::kIconStop) ++errors_;
  std::fprintf(stderr, "%s\n", BoxLine(text, style).c_str());
  std::fflush(stderr);
  return (style & box::kButtonMask) == box::kYesNo ? box::kAnswerNo : box::kAnswerOk;
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
