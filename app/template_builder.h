// Turns templates into Qt widgets: the one builder every window of the
// program is made with.
//
// Rectangles become pixels through the dialog's font as the templates were
// drawn for: a dialog unit across is a quarter of the font's average
// character width, one down an eighth of its height, so a window keeps its
// proportions on any font and screen. Every widget is named by its control
// id (objectName "104"), which is how the screen port and the tests find
// it. The builder places controls only; what they do is the window's
// business.
#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <functional>
#include <map>
#include <vector>

#include "app/dialog_template.h"

class QAction;
class QMenuBar;
class QWidget;

namespace quillex {

// Pixels of dialog units for one font.
class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);
  int X(int32_t units) const;
  int Y(int32_t units) const;
  QRect Rect(int32_t left, int32_t top, int32_t width, int32_t height) const;

  int baseWidth() const { return baseWidth_; }
  int baseHeight() const { return baseHeight_; }

 private:
  int baseWidth_;   // the average character width
  int baseHeight_;  // the character height
};

// The font a template names ("Helv" 8 is the default sans-serif at 8
// points), and the fixed-pitch font of the same size.
QFont DialogFont(const DialogTemplate& dialog);
QFont FixedPitchFont(const DialogTemplate& dialog);

// A template kept in the program's resources by name ("MAINDLG"). A
// template that does not read is told on standard error and comes back
// empty: the tests read every template shipped, so this is a mistake of the
// build, never the user's.
DialogTemplate LoadDialogTemplate(const QString& name);
MenuTemplate LoadMenuTemplate(const QString& name);

// A control the window makes itself (a list box with keys of its own); null
// leaves it to the builder.
using ControlFactory = std::function<QWidget*(const ControlTemplate& control, QWidget* parent)>;

struct BuiltDialog {
  std::map<int32_t, QWidget*> controls;  // by id
  std::vector<QWidget*> all;             // in template order, labels included
  QWidget* Control(int32_t id) const;
};

// Builds the controls of a template into `client`, which gets the dialog's
// font and its fixed size. Heads styled "column=ID:N" are moved over
// character column N of the fixed-pitch list ID, so they line up with the
// list's lines whatever the fonts.
BuiltDialog BuildDialog(const DialogTemplate& dialog, QWidget* client,
                        const ControlFactory& factory = {});

// Builds a menu bar's menus; the items by id.
std::map<int32_t, QAction*> BuildMenu(const MenuTemplate& menu, QMenuBar* bar);

}  // namespace quillex
