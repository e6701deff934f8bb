// The one table model of every list window: the records of a key range
// of a label, in key order, read on demand through the record layer.
//
// Nothing is loaded up front but the number of records in the range. Rows
// are read in blocks of kBlockRows when the view asks for them: from the
// neighbouring block's edge record when one is held (paging and scrolling
// step from record to record), from whichever end of the range is nearer
// otherwise (the last rows are read backwards from the end). At most
// kMaxBlocks blocks are held, the least recently used dropped first, so
// memory does not grow with the file. Changing the key (another tab) or
// refresh() drop the blocks and count again.
#pragma once

#include <QAbstractTableModel>

#include <cstdint>
#include <functional>
#include <list>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "data/record_layer.h"
#include "ui/declarations.h"

namespace kdm::ui {

class RecordListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int kBlockRows = 128;
  static constexpr int kMaxBlocks = 24;

  // The file must be open; the model reads through it and keeps no other.
  RecordListModel(RecordFile& file, std::vector<Column> columns, QObject* parent = nullptr);

  // Shows the records of `key` whose first `fixed` components equal those
  // of `bounds`. False (and the list empty) when the store refuses.
  bool setRange(const KeyDef* key, int fixed, const Record& bounds);
  const KeyRange& range() const { return range_; }
  const std::vector<Column>& columns() const { return columns_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  // The record of a row, read when not held; nullptr outside the list or
  // when the store refuses (lastError()).
  const Record* record(int row) const;
  // The row of the first record at or after the key value of `at`; the
  // block from there is read at once. -1 on an empty list.
  int locate(const Record& at);
  // Counts and reads again (after a change by this or another window);
  // the view keeps its place by row.
  void refresh();
  const Error& lastError() const { return error_; }
  // Blocks held now; for the benchmark and the tests of memory.
  int heldBlocks() const { return static_cast<int>(blocks_.size()); }

 private:
  struct Block {
    std::vector<Record> rows;
    std::list<std::int64_t>::iterator use;
  };
  const Block* block(std::int64_t index) const;
  void store(std::int64_t index, std::vector<Record> rows) const;
  void clearBlocks();

  RecordFile& file_;
  std::vector<Column> columns_;
  std::vector<int> fieldOf_;  // per column, -1 when it only has a formatter
  std::vector<std::optional<Picture>> pictures_;
  KeyRange range_;
  std::int64_t count_ = 0;
  mutable std::unordered_map<std::int64_t, Block> blocks_;
  mutable std::list<std::int64_t> lru_;  // most recently used first
  mutable Error error_;
};

}  // namespace kdm::ui
