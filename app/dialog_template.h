// Dialog and menu templates as data: what each window is made of, read from
// the text files of resources/ rather than written out in code.
//
// A template says, for every control, its id, kind, text, rectangle in
// dialog units and styles, so the window keeps the proportions it was drawn
// with on any font, and a control is found by the same id the core uses.
// Reading is plain text work with no widget in sight; the builder
// (template_builder.h) turns a template into widgets. A template that does
// not read is a mistake of the program, not of the user: the reader names
// its line, and the tests read every template shipped.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillex {

// Controls without an id of their own (labels, frames).
constexpr int32_t kNoControlId = -1;

struct ControlTemplate {
  std::string kind;  // static, groupbox, button, checkbox, edit, listbox, combobox
  int32_t id = kNoControlId;
  std::string text;
  int32_t left = 0, top = 0, width = 0, height = 0;  // dialog units
  std::vector<std::string> styles;

  bool Has(std::string_view style) const;
};

struct DialogTemplate {
  std::string name;
  int32_t width = 0, height = 0;  // dialog units
  std::string caption;
  std::string className;
  std::string menu;
  std::string fontName;
  int32_t fontSize = 8;  // points
  std::vector<std::string> styles;
  std::vector<ControlTemplate> controls;

  // The control of an id; null when there is none (or for kNoControlId).
  const ControlTemplate* Find(int32_t id) const;
};

struct MenuItemTemplate {
  int32_t id = 0;
  std::string text;
  bool separator = false;
  std::vector<std::string> styles;       // checkmark, checked
  std::vector<MenuItemTemplate> items;   // a popup's items

  bool Has(std::string_view style) const;
};

struct MenuTemplate {
  std::string name;
  std::vector<MenuItemTemplate> popups;
};

// Reads a template; on a mistake returns nothing and says "line N: what".
std::optional<DialogTemplate> ReadDialogTemplate(const std::string& text, std::string* error);
std::optional<MenuTemplate> ReadMenuTemplate(const std::string& text, std::string* error);

}  // namespace quillex
