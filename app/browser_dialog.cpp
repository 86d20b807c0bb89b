#include "app/browser_dialog.h"

#include <QDialogButtonBox>
#include <functional>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/database_tree_model.h"
#include "curvedata/context.h"

namespace quillex {

namespace {

QString EmptyText(const QString& folder) {
  return QStringLiteral(
             "<p><b>There are no log databases yet.</b></p>"
             "<p>Quillex reads and writes curves in log databases, the <tt>.db</tt> files of "
             "<tt>%1</tt>. Make one and bring in the curves of a LAS file with the "
             "<tt>dorvex</tt> tool:</p>"
             "<pre>dorvex create WELL\ndorvex import-las well.las WELL:/FIELD/PAD/W1/MAIN</pre>"
             "<p>or write a synthetic well with <tt>quillex-demo-well</tt>. Then press "
             "Refresh.</p>")
      .arg(folder.toHtmlEscaped());
}

}  // namespace

QString BrowserDialog::Hint(const std::string& pattern) {
  QStringList parts = QString::fromStdString(pattern).split('/', Qt::SkipEmptyParts);
  if (parts.size() == 4) return QStringLiteral("Choose a data set.");
  if (parts.size() == 6 && parts[4].compare(QStringLiteral("_qxrp_"), Qt::CaseInsensitive) == 0) {
    return QStringLiteral("Choose a numbered result under _plots_/_qxrp_.");
  }
  if (parts.size() == 6 && parts[4].compare(QStringLiteral("_vars_"), Qt::CaseInsensitive) == 0) {
    return QStringLiteral("Choose a value under a data set's _vars_.");
  }
  if (parts.size() == 6) return QStringLiteral("Choose a pass of a curve.");
  return QStringLiteral("Choose an item of the form %1.").arg(QString::fromStdString(pattern));
}

BrowserDialog::BrowserDialog(Context& context, const BrowseRequest& request, QWidget* owner)
    : QDialog(owner), context_(context), request_(request) {
  setObjectName(QStringLiteral("Browser"));
  setWindowTitle(QString::fromStdString(request.title));
  auto* layout = new QVBoxLayout(this);
  auto* hint = new QLabel(Hint(request.pattern), this);
  layout->addWidget(hint);
  pages_ = new QStackedWidget(this);
  tree_ = new QTreeView(pages_);
  tree_->setObjectName(QStringLiteral("BrowseTree"));
  tree_->setUniformRowHeights(true);
  tree_->setAllColumnsShowFocus(true);
  tree_->setExpandsOnDoubleClick(true);
  empty_ = new QLabel(pages_);
  empty_->setObjectName(QStringLiteral("EmptyState"));
  empty_->setWordWrap(true);
  empty_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  empty_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  empty_->setMargin(12);
  pages_->addWidget(tree_);
  pages_->addWidget(empty_);
  layout->addWidget(pages_, 1);
  note_ = new QLabel(this);
  note_->setWordWrap(true);
  layout->addWidget(note_);
  buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  QPushButton* refresh = buttons_->addButton(QStringLiteral("Refresh"), QDialogButtonBox::ResetRole);
  layout->addWidget(buttons_);
  connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(refresh, &QPushButton::clicked, this, &BrowserDialog::Refresh);
  connect(tree_, &QTreeView::activated, this, &BrowserDialog::Activated);
  resize(620, 440);
  Refresh();
  OpenAt(request.current);
}

BrowserDialog::~BrowserDialog() = default;

void BrowserDialog::Refresh() {
  databases_ = ListBrowseTree(context_, request_.pattern);
  const std::vector<BrowseDatabase>& databases = databases_;
  auto* model = new DatabaseTreeModel(databases, tree_);
  tree_->setModel(model);
  delete model_;
  model_ = model;
  connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          &BrowserDialog::CurrentChanged);
  QString folder = QString::fromStdString(
      dorvex::DorvexGetSetting(context_.dorvex, dorvex::setting::kDatabaseFolder).text);
  empty_->setText(EmptyText(folder));
  pages_->setCurrentWidget(databases.empty() ? static_cast<QWidget*>(empty_) : tree_);
  bool anyChoice = false;
  for (const BrowseDatabase& database : databases) anyChoice = anyChoice || !database.items.empty();
  note_->setText(databases.empty() || anyChoice
                     ? QString()
                     : QStringLiteral("Nothing in these databases can be chosen here yet."));
  note_->setVisible(!note_->text().isEmpty());
  // Everything that leads to a choice is open; the choices stay closed.
  std::function<void(const QModelIndex&)> expand = [&](const QModelIndex& parent) {
    for (int row = 0; row < model_->rowCount(parent); ++row) {
      QModelIndex child = model_->index(row, 0, parent);
      if (model_->Choosable(child)) continue;
      tree_->expand(child);
      expand(child);
    }
  };
  expand(QModelIndex());
  tree_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  tree_->setCurrentIndex(model_->index(0, 0));
  CurrentChanged();
}

void BrowserDialog::OpenAt(const DataSource& choice) {
  for (const BrowseDatabase& database : databases_) {
    // Labels name databases without regard to case.
    if (QString::fromStdString(database.file)
            .compare(QString::fromStdString(choice.database), Qt::CaseInsensitive) != 0) {
      continue;
    }
    QModelIndex at = model_->Find(database.file, OpeningPath(database, choice.path));
    if (!at.isValid()) at = model_->Find(database.file, "");
    tree_->setCurrentIndex(at);
    tree_->scrollTo(at);
  }
}

void BrowserDialog::CurrentChanged() {
  buttons_->button(QDialogButtonBox::Ok)->setEnabled(model_->Choosable(tree_->currentIndex()));
}

void BrowserDialog::Activated(const QModelIndex& index) {
  if (model_->Choosable(index)) accept();
}

std::optional<DataSource> BrowserDialog::Choose() {
  if (exec() != QDialog::Accepted) return std::nullopt;
  QModelIndex chosen = tree_->currentIndex();
  if (!model_->Choosable(chosen)) return std::nullopt;
  return DataSource{model_->DatabaseFile(chosen), model_->ItemPath(chosen)};
}

}  // namespace quillex
