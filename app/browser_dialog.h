// The database browser: the user picks a data set, a curve or a result in
// the log databases of the database folder.
//
// A tree of the databases and their items, cut to what the request's
// pattern can choose (the core does the cutting); it opens at the current
// choice, takes the keyboard (arrows, Enter) and a double-click, and answers
// with the database file and the item's path. With no database at all it
// says where databases come from instead of showing an empty tree.
#pragma once

#include <QDialog>
#include <optional>
#include <vector>

#include "curvedata/browse_tree.h"

#include "model/screen.h"

class QDialogButtonBox;
class QLabel;
class QStackedWidget;
class QTreeView;

namespace quillex {

struct Context;
class DatabaseTreeModel;

class BrowserDialog : public QDialog {
  Q_OBJECT

 public:
  BrowserDialog(Context& context, const BrowseRequest& request, QWidget* owner);
  ~BrowserDialog() override;

  // Runs the dialog modally; the choice, or nothing when cancelled.
  std::optional<DataSource> Choose();

  // The text shown above the tree: what may be chosen.
  static QString Hint(const std::string& pattern);

 private:
  void Refresh();
  void OpenAt(const DataSource& choice);
  void CurrentChanged();
  void Activated(const QModelIndex& index);

  Context& context_;
  BrowseRequest request_;
  std::vector<BrowseDatabase> databases_;
  DatabaseTreeModel* model_ = nullptr;
  QStackedWidget* pages_ = nullptr;
  QTreeView* tree_ = nullptr;
  QLabel* empty_ = nullptr;
  QLabel* note_ = nullptr;
  QDialogButtonBox* buttons_ = nullptr;
};

}  // namespace quillex
