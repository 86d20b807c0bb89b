#include "app/database_tree_model.h"

#include <QApplication>
#include <QFont>
#include <QPalette>

namespace quillex {

struct DatabaseTreeModel::Entry {
  QString name;
  QString details;
  std::string file;
  std::string path;
  bool choosable = false;
  bool unreadable = false;
  Entry* parent = nullptr;
  int row = 0;
  std::vector<std::unique_ptr<Entry>> children;

  Entry* Add(std::unique_ptr<Entry> child) {
    child->parent = this;
    child->row = static_cast<int>(children.size());
    children.push_back(std::move(child));
    return children.back().get();
  }
};

void DatabaseTreeModel::AddNodes(Entry* parent, const std::vector<BrowseNode>& nodes,
                                 const std::string& file) {
  for (const BrowseNode& node : nodes) {
    auto entry = std::make_unique<Entry>();
    entry->name = QString::fromStdString(node.name);
    entry->details = QString::fromStdString(node.details);
    entry->file = file;
    entry->path = node.path;
    entry->choosable = node.choosable;
    AddNodes(parent->Add(std::move(entry)), node.children, file);
  }
}

DatabaseTreeModel::DatabaseTreeModel(const std::vector<BrowseDatabase>& databases, QObject* parent)
    : QAbstractItemModel(parent), root_(std::make_unique<Entry>()) {
  for (const BrowseDatabase& database : databases) {
    auto entry = std::make_unique<Entry>();
    entry->name = QString::fromStdString(database.name);
    entry->details = database.readable ? QStringLiteral("log database")
                                       : QStringLiteral("cannot be read as a log database");
    entry->file = database.file;
    entry->unreadable = !database.readable;
    AddNodes(root_->Add(std::move(entry)), database.items, database.file);
  }
}

DatabaseTreeModel::~DatabaseTreeModel() = default;

DatabaseTreeModel::Entry* DatabaseTreeModel::EntryOf(const QModelIndex& index) const {
  return index.isValid() ? static_cast<Entry*>(index.internalPointer()) : root_.get();
}

QModelIndex DatabaseTreeModel::IndexOf(const Entry* entry) const {
  if (entry == nullptr || entry == root_.get()) return QModelIndex();
  return createIndex(entry->row, 0, const_cast<Entry*>(entry));
}

QModelIndex DatabaseTreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (!hasIndex(row, column, parent)) return QModelIndex();
  return createIndex(row, column, EntryOf(parent)->children[static_cast<size_t>(row)].get());
}

QModelIndex DatabaseTreeModel::parent(const QModelIndex& child) const {
  if (!child.isValid()) return QModelIndex();
  return IndexOf(EntryOf(child)->parent);
}

int DatabaseTreeModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() && parent.column() != 0) return 0;
  return static_cast<int>(EntryOf(parent)->children.size());
}

int DatabaseTreeModel::columnCount(const QModelIndex&) const { return 2; }

QVariant DatabaseTreeModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return QVariant();
  const Entry* entry = EntryOf(index);
  switch (role) {
    case Qt::DisplayRole:
      return index.column() == 0 ? entry->name : entry->details;
    case Qt::FontRole: {
      QFont font = QApplication::font();
      font.setBold(entry->choosable && index.column() == 0);
      return font;
    }
    case Qt::ForegroundRole:
      if (entry->unreadable) return QApplication::palette().brush(QPalette::Disabled, QPalette::Text);
      return QVariant();
    default:
      return QVariant();
  }
}

QVariant DatabaseTreeModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return QVariant();
  return section == 0 ? QStringLiteral("Name") : QStringLiteral("What it is");
}

bool DatabaseTreeModel::Choosable(const QModelIndex& index) const {
  return index.isValid() && EntryOf(index)->choosable;
}

std::string DatabaseTreeModel::DatabaseFile(const QModelIndex& index) const {
  return index.isValid() ? EntryOf(index)->file : std::string();
}

std::string DatabaseTreeModel::ItemPath(const QModelIndex& index) const {
  return index.isValid() ? EntryOf(index)->path : std::string();
}

QModelIndex DatabaseTreeModel::Find(const std::string& databaseFile, const std::string& path) const {
  for (const auto& database : root_->children) {
    if (database->file != databaseFile) continue;
    const Entry* at = database.get();
    // Paths of the tree are whole prefixes of their children's paths.
    while (at->path != path) {
      const Entry* next = nullptr;
      for (const auto& child : at->children) {
        if (path.compare(0, child->path.size(), child->path) == 0 &&
            (path.size() == child->path.size() || path[child->path.size()] == '/')) {
          next = child.get();
        }
      }
      if (next == nullptr) return QModelIndex();
      at = next;
    }
    return IndexOf(at);
  }
  return QModelIndex();
}

}  // namespace quillex
