// The database browser's tree as an item model: databases at the top, then
// locations, data sets, curves and passes, as the core listed them for one
// request (curvedata/browse_tree.h). Two columns, the name and what the item
// is; items the request may choose are bold, the rest are there to find
// one's way.
#pragma once

#include <QAbstractItemModel>
#include <memory>
#include <vector>

#include "curvedata/browse_tree.h"

namespace quillex {

class DatabaseTreeModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  explicit DatabaseTreeModel(const std::vector<BrowseDatabase>& databases, QObject* parent = nullptr);
  ~DatabaseTreeModel() override;

  QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // What an index stands for: its database file, its item path ("" for a
  // database itself) and whether the request may choose it.
  bool Choosable(const QModelIndex& index) const;
  std::string DatabaseFile(const QModelIndex& index) const;
  std::string ItemPath(const QModelIndex& index) const;

  // The index of a database file's item path ("" for the database); an
  // invalid index when the tree does not hold it.
  QModelIndex Find(const std::string& databaseFile, const std::string& path) const;

 private:
  struct Entry;
  static void AddNodes(Entry* parent, const std::vector<BrowseNode>& nodes, const std::string& file);
  Entry* EntryOf(const QModelIndex& index) const;
  QModelIndex IndexOf(const Entry* entry) const;

  std::unique_ptr<Entry> root_;
};

}  // namespace quillex
