// The program's three message boxes, and the trim every dialog text gets.
//
// Every box has the caption "Quillex" and is owned by the main window once it
// exists. Errors carry the stop icon, notes the information icon; both are
// task-modal with an OK button. Questions have Yes and No and no icon.
#pragma once

#include <string>

namespace quillex {

class Screen;

void ErrorBox(Screen& screen, const std::string& text);
void InfoBox(Screen& screen, const std::string& text);
bool AskYesNo(Screen& screen, const std::string& text);

// Removes leading and trailing white space in place; returns the same text.
std::string& TrimSpaces(std::string& text);

}  // namespace quillex
