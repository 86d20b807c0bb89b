#include "model/message_box.h"

#include "model/screen.h"

namespace quillex {

void ErrorBox(Screen& screen, const std::string& text) {
  screen.MessageBox(text, kCaption, box::kTaskModal | box::kIconStop, screen.HasMainWindow());
}

void InfoBox(Screen& screen, const std::string& text) {
  screen.MessageBox(text, kCaption, box::kTaskModal | box::kIconInformation,
                    screen.HasMainWindow());
}

bool AskYesNo(Screen& screen, const std::string& text) {
  return screen.MessageBox(text, kCaption, box::kYesNo, screen.HasMainWindow()) == box::kAnswerYes;
}

std::string& TrimSpaces(std::string& text) {
  const char* blanks = " \t\r\n\v\f";
  size_t last = text.find_last_not_of(blanks);
  if (last == std::string::npos) {
    text.clear();
    return text;
  }
  text.erase(last + 1);
  text.erase(0, text.find_first_not_of(blanks));
  return text;
}

}  // namespace quillex
