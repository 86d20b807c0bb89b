// The main window's commands by id: the buttons' control ids and the menu
// items' ids, as the templates "MAINDLG" and "MENU_1" give them.
#pragma once

#include <cstdint>

namespace quillex::command {

constexpr int32_t kExit = 2;  // the Exit button, Esc and closing the window
constexpr int32_t kOutputList = 104;
constexpr int32_t kBrowsePresentation = 109;
constexpr int32_t kRunButton = 110;
constexpr int32_t kBrowseInput = 115;
constexpr int32_t kBrowseDestination = 117;
constexpr int32_t kNew = 121;
constexpr int32_t kOpen = 122;
constexpr int32_t kSave = 123;
constexpr int32_t kSaveAs = 124;
constexpr int32_t kRun = 125;
constexpr int32_t kExitMenu = 126;
constexpr int32_t kEdit = 127;
constexpr int32_t kAdd = 128;
constexpr int32_t kDelete = 129;
constexpr int32_t kHelpContents = 130;
constexpr int32_t kAbout = 132;
constexpr int32_t kHelpSearch = 133;
constexpr int32_t kGenerateCurves = 134;
constexpr int32_t kGenerateReport = 135;

}  // namespace quillex::command
