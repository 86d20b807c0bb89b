#include "app/dialog_template.h"

#include <algorithm>
#include <charconv>
#include <sstream>

namespace quillex {

namespace {

// One line's words: blanks separate, "..." holds blanks, "#" outside quotes
// starts a comment. Quoted words keep their quotes so an empty text ("")
// still counts as a word.
bool SplitWords(const std::string& line, std::vector<std::string>* words) {
  words->clear();
  size_t at = 0;
  while (at < line.size()) {
    char c = line[at];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++at;
    } else if (c == '#') {
      break;
    } else if (c == '"') {
      size_t end = line.find('"', at + 1);
      if (end == std::string::npos) return false;
      words->push_back(line.substr(at, end + 1 - at));
      at = end + 1;
    } else {
      size_t end = line.find_first_of(" \t\r\"#", at);
      if (end == std::string::npos) end = line.size();
      words->push_back(line.substr(at, end - at));
      at = end;
    }
  }
  return true;
}

bool IsQuoted(const std::string& word) { return word.size() >= 2 && word.front() == '"'; }
std::string Unquoted(const std::string& word) { return word.substr(1, word.size() - 2); }

bool ReadNumber(const std::string& word, int32_t* number) {
  auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), *number);
  return error == std::errc() && end == word.data() + word.size();
}

// Reads a template line by line; each reader below takes the words of one
// line and says what was wrong with it.
class LineReader {
 public:
  explicit LineReader(const std::string& text) : in_(text) {}
  // The next line that holds words; false at the end.
  bool Next() {
    std::string line;
    while (std::getline(in_, line)) {
      ++number_;
      if (!SplitWords(line, &words_)) return Fail("a text has no closing quote");
      if (!words_.empty()) return true;
    }
    return false;
  }
  const std::vector<std::string>& words() const { return words_; }
  bool Fail(const std::string& message) {
    if (error_.empty()) error_ = "line " + std::to_string(number_) + ": " + message;
    return false;
  }
  const std::string& error() const { return error_; }

 private:
  std::istringstream in_;
  std::vector<std::string> words_;
  int number_ = 0;
  std::string error_;
};

// KIND ID "TEXT" LEFT TOP WIDTH HEIGHT [STYLE ...]
bool ReadControl(LineReader& reader, DialogTemplate* dialog) {
  static const char* const kKinds[] = {"static", "groupbox", "button", "checkbox",
                                       "edit", "listbox", "combobox"};
  const std::vector<std::string>& words = reader.words();
  if (std::find(std::begin(kKinds), std::end(kKinds), words[0]) == std::end(kKinds)) {
    return reader.Fail("unknown word '" + words[0] + "'");
  }
  ControlTemplate control;
  control.kind = words[0];
  if (words.size() < 7 || !ReadNumber(words[1], &control.id) || !IsQuoted(words[2]) ||
      !ReadNumber(words[3], &control.left) || !ReadNumber(words[4], &control.top) ||
      !ReadNumber(words[5], &control.width) || !ReadNumber(words[6], &control.height)) {
    return reader.Fail("a control is KIND ID \"TEXT\" LEFT TOP WIDTH HEIGHT [STYLE ...]");
  }
  if (control.id != kNoControlId && dialog->Find(control.id) != nullptr) {
    return reader.Fail("a second control " + words[1]);
  }
  control.text = Unquoted(words[2]);
  control.styles.assign(words.begin() + 7, words.end());
  dialog->controls.push_back(std::move(control));
  return true;
}

bool ReadDialogLine(LineReader& reader, DialogTemplate* dialog) {
  const std::vector<std::string>& words = reader.words();
  const std::string& key = words[0];
  if (key == "size") {
    if (words.size() == 3 && ReadNumber(words[1], &dialog->width) &&
        ReadNumber(words[2], &dialog->height)) {
      return true;
    }
    return reader.Fail("size is WIDTH HEIGHT");
  }
  if (key == "caption" || key == "class" || key == "menu") {
    if (words.size() != 2) return reader.Fail(key + " takes one value");
    std::string value = IsQuoted(words[1]) ? Unquoted(words[1]) : words[1];
    (key == "caption" ? dialog->caption : key == "class" ? dialog->className : dialog->menu) = value;
    return true;
  }
  if (key == "font") {
    if (words.size() == 3 && IsQuoted(words[1]) && ReadNumber(words[2], &dialog->fontSize)) {
      dialog->fontName = Unquoted(words[1]);
      return true;
    }
    return reader.Fail("font is \"NAME\" POINTS");
  }
  if (key == "style") {
    dialog->styles.assign(words.begin() + 1, words.end());
    return true;
  }
  return ReadControl(reader, dialog);
}

bool ReadMenuItems(LineReader& reader, std::vector<MenuItemTemplate>* items, bool inPopup);

bool ReadMenuLine(LineReader& reader, std::vector<MenuItemTemplate>* items, bool inPopup) {
  const std::vector<std::string>& words = reader.words();
  MenuItemTemplate item;
  if (words[0] == "popup" && words.size() == 2 && IsQuoted(words[1])) {
    item.text = Unquoted(words[1]);
    if (!ReadMenuItems(reader, &item.items, true)) return false;
  } else if (words[0] == "separator" && words.size() == 1 && inPopup) {
    item.separator = true;
  } else if (words[0] == "item" && inPopup) {
    if (words.size() < 3 || !ReadNumber(words[1], &item.id) || !IsQuoted(words[2])) {
      return reader.Fail("an item is item ID \"TEXT\" [STYLE ...]");
    }
    item.text = Unquoted(words[2]);
    item.styles.assign(words.begin() + 3, words.end());
  } else {
    return reader.Fail("unknown line '" + words[0] + "' here");
  }
  items->push_back(std::move(item));
  return true;
}

// Lines up to the "end" of the block.
bool ReadMenuItems(LineReader& reader, std::vector<MenuItemTemplate>* items, bool inPopup) {
  while (reader.Next()) {
    if (reader.words()[0] == "end") return true;
    if (!ReadMenuLine(reader, items, inPopup)) return false;
  }
  return reader.Fail("no \"end\"");
}

bool ReadHeader(LineReader& reader, const char* word, std::string* name) {
  if (!reader.Next()) return reader.Fail(std::string("no \"") + word + "\" line");
  if (reader.words().size() != 2 || reader.words()[0] != word) {
    return reader.Fail(std::string("a template begins with ") + word + " NAME");
  }
  *name = reader.words()[1];
  return true;
}

bool HasStyle(const std::vector<std::string>& styles, std::string_view style) {
  return std::find(styles.begin(), styles.end(), style) != styles.end();
}

}  // namespace

bool ControlTemplate::Has(std::string_view style) const { return HasStyle(styles, style); }
bool MenuItemTemplate::Has(std::string_view style) const { return HasStyle(styles, style); }

const ControlTemplate* DialogTemplate::Find(int32_t id) const {
  if (id == kNoControlId) return nullptr;
  for (const ControlTemplate& control : controls) {
    if (control.id == id) return &control;
  }
  return nullptr;
}

std::optional<DialogTemplate> ReadDialogTemplate(const std::string& text, std::string* error) {
  LineReader reader(text);
  DialogTemplate dialog;
  bool ended = false;
  bool read = ReadHeader(reader, "dialog", &dialog.name);
  while (read && !ended && reader.Next()) {
    ended = reader.words()[0] == "end";
    if (!ended) read = ReadDialogLine(reader, &dialog);
  }
  if (read && !ended) read = reader.Fail("no \"end\"");
  if (read && (dialog.width <= 0 || dialog.height <= 0)) read = reader.Fail("no size");
  if (read && reader.Next()) read = reader.Fail("text after \"end\"");
  if (!read) *error = reader.error();
  return read ? std::optional<DialogTemplate>(std::move(dialog)) : std::nullopt;
}

std::optional<MenuTemplate> ReadMenuTemplate(const std::string& text, std::string* error) {
  LineReader reader(text);
  MenuTemplate menu;
  bool read = ReadHeader(reader, "menu", &menu.name) && ReadMenuItems(reader, &menu.popups, false);
  if (read && reader.Next()) read = reader.Fail("text after \"end\"");
  if (!read) *error = reader.error();
  return read ? std::optional<MenuTemplate>(std::move(menu)) : std::nullopt;
}

}  // namespace quillex
