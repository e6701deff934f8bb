#include "ui/record_list_model.h"

#include <QFontMetrics>

#include <algorithm>

namespace kdm::ui {

RecordListModel::RecordListModel(RecordFile& file, std::vector<Column> columns, QObject* parent)
    : QAbstractTableModel(parent), file_(file), columns_(std::move(columns)) {
  for (const Column& c : columns_) {
    fieldOf_.push_back(c.field.empty() ? -1 : file_.def().fieldIndex(c.field));
    pictures_.push_back(c.picture.empty() ? std::nullopt : parsePicture(c.picture));
  }
  range_.bounds = file_.blank();
}

bool RecordListModel::setRange(const KeyDef* key, int fixed, const Record& bounds) {
  beginResetModel();
  clearBlocks();
  range_.key = key;
  range_.fixed = fixed;
  range_.bounds = bounds;
  error_ = file_.count(range_, count_);
  if (error_) count_ = 0;
  endResetModel();
  return !error_;
}

void RecordListModel::refresh() {
  std::int64_t n = 0;
  Error e = file_.count(range_, n);
  if (e) n = 0;
  error_ = std::move(e);
  // Only the difference in rows is announced, so the view keeps its
  // current row and scroll position.
  if (n < count_) {
    beginRemoveRows({}, static_cast<int>(n), static_cast<int>(count_ - 1));
    count_ = n;
    clearBlocks();
    endRemoveRows();
  } else if (n > count_) {
    beginInsertRows({}, static_cast<int>(count_), static_cast<int>(n - 1));
    count_ = n;
    clearBlocks();
    endInsertRows();
  } else {
    clearBlocks();
  }
  if (count_ > 0) emit dataChanged(index(0, 0), index(static_cast<int>(count_ - 1), columnCount() - 1));
}

void RecordListModel::clearBlocks() {
  blocks_.clear();
  lru_.clear();
}

int RecordListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(std::min<std::int64_t>(count_, INT32_MAX));
}

int RecordListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

void RecordListModel::store(std::int64_t index, std::vector<Record> rows) const {
  if (blocks_.size() >= static_cast<std::size_t>(kMaxBlocks)) {
    blocks_.erase(lru_.back());
    lru_.pop_back();
  }
  lru_.push_front(index);
  blocks_[index] = Block{std::move(rows), lru_.begin()};
}

const RecordListModel::Block* RecordListModel::block(std::int64_t index) const {
  auto it = blocks_.find(index);
  if (it != blocks_.end()) {
    lru_.splice(lru_.begin(), lru_, it->second.use);
    return &it->second;
  }
  const std::int64_t first = index * kBlockRows;
  const int want = static_cast<int>(std::min<std::int64_t>(kBlockRows, count_ - first));
  if (want <= 0 || !range_.key) return nullptr;
  std::vector<Record> rows;
  auto before = blocks_.find(index - 1), after = blocks_.find(index + 1);
  if (before != blocks_.end() && !before->second.rows.empty())
    error_ = file_.readNear(range_, before->second.rows.back(), true, want, rows);
  else if (after != blocks_.end() && !after->second.rows.empty())
    error_ = file_.readNear(range_, after->second.rows.front(), false, want, rows);
  else if (first + want > count_ - first)
    error_ = file_.readAt(range_, count_ - first - want, want, true, rows);
  else
    error_ = file_.readAt(range_, first, want, false, rows);
  if (error_) return nullptr;
  store(index, std::move(rows));
  return &blocks_[index];
}

const Record* RecordListModel::record(int row) const {
  if (row < 0 || row >= count_) return nullptr;
  const Block* b = block(row / kBlockRows);
  if (!b) return nullptr;
  std::size_t at = static_cast<std::size_t>(row % kBlockRows);
  // Rows deleted by others since the count leave a short block.
  return at < b->rows.size() ? &b->rows[at] : nullptr;
}

int RecordListModel::locate(const Record& at) {
  if (!range_.key || count_ == 0) return -1;
  std::int64_t rank = 0;
  if ((error_ = file_.rank(range_, at, rank))) return -1;
  return static_cast<int>(std::min(rank, count_ - 1));
}

QVariant RecordListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.column() >= columnCount()) return {};
  const std::size_t c = static_cast<std::size_t>(index.column());
  switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
    case Qt::ToolTipRole: {
      const Record* r = record(index.row());
      if (!r) return {};
      if (columns_[c].format) return columns_[c].format(*r);
      return formatField(*r, fieldOf_[c], pictures_[c]);
    }
    case Qt::TextAlignmentRole: {
      bool number = pictures_[c] ? pictures_[c]->kind == Picture::Kind::Number
                                 : fieldOf_[c] >= 0 && !file_.def().fields[fieldOf_[c]].isText();
      return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    default: return {};
  }
}

QVariant RecordListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && section >= 0 && section < columnCount() &&
      (role == Qt::DisplayRole || role == Qt::AccessibleTextRole || role == Qt::ToolTipRole))
    return columns_[static_cast<std::size_t>(section)].header;
  if (orientation == Qt::Vertical && role == Qt::DisplayRole) return section + 1;
  return QAbstractTableModel::headerData(section, orientation, role);
}

}  // namespace kdm::ui
