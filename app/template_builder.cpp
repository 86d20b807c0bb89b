#include "app/template_builder.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <cmath>
#include <cstdio>

namespace quillex {

namespace {

// The templates' dialog units were drawn against a font whose average
// character is taken over the alphabet, upper and lower case, the way the
// units have always been measured.
constexpr const char* kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

QString ResourceText(const QString& name) {
  QFile file(":/templates/" + name + ".tpl");
  if (!file.open(QIODevice::ReadOnly)) return QString();
  return QString::fromUtf8(file.readAll());
}

QWidget* MakeControl(const ControlTemplate& control, QWidget* parent) {
  QString text = QString::fromStdString(control.text);
  if (control.kind == "groupbox") {
    auto* group = new QGroupBox(text, parent);
    // The frame's top line runs through the middle of its title, so the
    // rectangle the template gives is the frame's own.
    group->setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 0.6em; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }"));
    return group;
  }
  if (control.kind == "button") {
    auto* button = new QPushButton(text, parent);
    button->setDefault(control.Has("default"));
    button->setAutoDefault(control.Has("default"));
    return button;
  }
  if (control.kind == "checkbox") return new QCheckBox(text, parent);
  if (control.kind == "edit") {
    auto* edit = new QLineEdit(text, parent);
    edit->setReadOnly(control.Has("readonly"));
    return edit;
  }
  if (control.kind == "listbox") return new QListWidget(parent);
  if (control.kind == "combobox") return new QComboBox(parent);
  auto* label = new QLabel(text, parent);
  Qt::Alignment across = control.Has("right") ? Qt::AlignRight : control.Has("center") ? Qt::AlignHCenter : Qt::AlignLeft;
  label->setAlignment(across | (control.Has("vcenter") ? Qt::AlignVCenter : Qt::AlignTop));
  return label;
}

// "column=104:11": the head over character column 11 of list 104.
void AlignOverColumn(const ControlTemplate& control, QWidget* head, const BuiltDialog& built) {
  for (const std::string& style : control.styles) {
    int list = 0, column = 0;
    if (std::sscanf(style.c_str(), "column=%d:%d", &list, &column) != 2) continue;
    auto* box = qobject_cast<QListWidget*>(built.Control(list));
    if (box == nullptr) continue;
    // A line's text starts past the frame and the item's own margin.
    int margin = box->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, box) + 1;
    int x = box->x() + box->frameWidth() + margin +
            column * QFontMetrics(box->font()).horizontalAdvance(QLatin1Char('0'));
    head->move(x, head->y());
  }
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
  QFontMetrics metrics(font);
  baseWidth_ = (metrics.horizontalAdvance(QLatin1String(kAlphabet)) / 26 + 1) / 2;
  baseHeight_ = metrics.height();
}

int DialogUnits::X(int32_t units) const { return static_cast<int>(std::lround(units * baseWidth_ / 4.0)); }
int DialogUnits::Y(int32_t units) const { return static_cast<int>(std::lround(units * baseHeight_ / 8.0)); }

QRect DialogUnits::Rect(int32_t left, int32_t top, int32_t width, int32_t height) const {
  return QRect(X(left), Y(top), X(left + width) - X(left), Y(top + height) - Y(top));
}

QFont DialogFont(const DialogTemplate& dialog) {
  QFont font(QStringLiteral("Sans Serif"));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(dialog.fontSize > 0 ? dialog.fontSize : 8);
  return font;
}

QFont FixedPitchFont(const DialogTemplate& dialog) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSize(dialog.fontSize > 0 ? dialog.fontSize : 8);
  return font;
}

DialogTemplate LoadDialogTemplate(const QString& name) {
  std::string error;
  auto dialog = ReadDialogTemplate(ResourceText(name).toStdString(), &error);
  if (dialog) return *dialog;
  std::fprintf(stderr, "quillex: template %s: %s\n", qPrintable(name), error.c_str());
  return DialogTemplate{};
}

MenuTemplate LoadMenuTemplate(const QString& name) {
  std::string error;
  auto menu = ReadMenuTemplate(ResourceText(name).toStdString(), &error);
  if (menu) return *menu;
  std::fprintf(stderr, "quillex: template %s: %s\n", qPrintable(name), error.c_str());
  return MenuTemplate{};
}

QWidget* BuiltDialog::Control(int32_t id) const {
  auto found = controls.find(id);
  return found == controls.end() ? nullptr : found->second;
}

BuiltDialog BuildDialog(const DialogTemplate& dialog, QWidget* client, const ControlFactory& factory) {
  client->setFont(DialogFont(dialog));
  DialogUnits units(client->font());
  client->setFixedSize(units.X(dialog.width), units.Y(dialog.height));
  BuiltDialog built;
  for (const ControlTemplate& control : dialog.controls) {
    QWidget* widget = factory ? factory(control, client) : nullptr;
    if (widget == nullptr) widget = MakeControl(control, client);
    if (control.Has("fixedfont")) widget->setFont(FixedPitchFont(dialog));
    widget->setGeometry(units.Rect(control.left, control.top, control.width, control.height));
    if (control.id != kNoControlId) {
      widget->setObjectName(QString::number(control.id));
      built.controls[control.id] = widget;
    }
    built.all.push_back(widget);
  }
  for (size_t n = 0; n < dialog.controls.size(); ++n) {
    AlignOverColumn(dialog.controls[n], built.all[n], built);
  }
  return built;
}

std::map<int32_t, QAction*> BuildMenu(const MenuTemplate& menu, QMenuBar* bar) {
  std::map<int32_t, QAction*> actions;
  for (const MenuItemTemplate& popup : menu.popups) {
    QMenu* submenu = bar->addMenu(QString::fromStdString(popup.text));
    for (const MenuItemTemplate& item : popup.items) {
      if (item.separator) {
        submenu->addSeparator();
        continue;
      }
      QAction* action = submenu->addAction(QString::fromStdString(item.text));
      action->setObjectName(QString::number(item.id));
      action->setCheckable(item.Has("checkmark") || item.Has("checked"));
      action->setChecked(item.Has("checked"));
      actions[item.id] = action;
    }
  }
  return actions;
}

}  // namespace quillex
