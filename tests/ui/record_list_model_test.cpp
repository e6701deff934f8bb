#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "data/records.h"
#include "platform/text.h"
#include "temp_dir.h"
#include "ui/record_list_model.h"

namespace kdm::ui {

// 2,000 employee rows of four obligors, with names in another order than
// their numbers, so every key order differs.
class ListModel : public testing::Test {
 protected:
  static constexpr int kRows = 2000;
  test::EmptyStore s;
  RecordFile rad{*s.store, "TBZAPOSL"};
  struct Row {
    int firm;
    std::string jmbg, name;
  };
  std::vector<Row> rows;

  void SetUp() override {
    ASSERT_FALSE(rad.open());
    Transaction tx(s.store->db());
    for (int i = 0; i < kRows; ++i) {
      Row r{1 + i % 4, std::to_string(1000000000000LL + (i * 7919) % kRows), "Ime " + std::to_string((i * 31) % 997)};
      Record rec = rad.blank();
      rec.setInteger(rec.index("REDBROJ"), r.firm);
      rec.setText(rec.index("JMBG"), r.jmbg);
      rec.setText(rec.index("PREZIME"), r.name);
      rec.setInteger(rec.index("DODANA"), 31);
      ASSERT_FALSE(rad.add(rec));
      rows.push_back(r);
    }
    ASSERT_FALSE(tx.commit());
    std::sort(rows.begin(), rows.end(), [](auto& a, auto& b) { return std::tie(a.firm, a.jmbg) < std::tie(b.firm, b.jmbg); });
  }
  static std::vector<Column> columns() {
    return {{"Rbr", "REDBROJ", "N4_"}, {"JMBG", "JMBG", "s13"}, {"Prezime i ime", "PREZIME", "s60"}};
  }
  std::string shown(const RecordListModel& m, int row) {
    return (m.data(m.index(row, 0)).toString() + "|" + m.data(m.index(row, 1)).toString()).toStdString();
  }
  std::string expected(int row) { return std::to_string(rows[row].firm) + "|" + rows[row].jmbg; }
};

TEST_F(ListModel, RowsInKeyOrderWhereverTheViewJumps) {
  RecordListModel m(rad, columns());
  ASSERT_TRUE(m.setRange(rad.def().key("KEYRBRFIRME"), 0, rad.blank()));
  ASSERT_EQ(m.rowCount(), kRows);
  // Last first (read from the end), then the middle, the first, a page
  // back from the last and the rows across block edges.
  for (int row : {kRows - 1, 1000, 0, kRows - 1 - 128, kRows - 2, 127, 128, 255, 256, 999})
    EXPECT_EQ(shown(m, row), expected(row)) << row;
  // Every row, forwards and backwards, with a bounded number of blocks.
  for (int row = 0; row < kRows; ++row) ASSERT_EQ(shown(m, row), expected(row)) << row;
  for (int row = kRows - 1; row >= 0; --row) ASSERT_EQ(shown(m, row), expected(row)) << row;
  EXPECT_LE(m.heldBlocks(), RecordListModel::kMaxBlocks);

  EXPECT_EQ(m.data(m.index(0, 0), Qt::AccessibleTextRole), m.data(m.index(0, 0)));
  EXPECT_EQ(m.headerData(2, Qt::Horizontal, Qt::AccessibleTextRole).toString(), "Prezime i ime");
  EXPECT_EQ(m.data(m.index(0, 0), Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight, Qt::AlignRight);
}

TEST_F(ListModel, OneObligorsRowsAnotherOrderAndLocating) {
  RecordListModel m(rad, columns());
  Record third = rad.blank();
  third.setInteger(third.index("REDBROJ"), 3);
  ASSERT_TRUE(m.setRange(rad.def().key("KEYRBRFIRME"), 1, third));
  ASSERT_EQ(m.rowCount(), kRows / 4);
  const int first = static_cast<int>(std::find_if(rows.begin(), rows.end(), [](auto& r) { return r.firm == 3; }) - rows.begin());
  EXPECT_EQ(shown(m, 0), expected(first));
  EXPECT_EQ(shown(m, kRows / 4 - 1), expected(first + kRows / 4 - 1));
  third.setText(third.index("JMBG"), rows[first + 300].jmbg);
  EXPECT_EQ(m.locate(third), 300);

  // By name: the row found is the first at or after the typed name.
  ASSERT_TRUE(m.setRange(rad.def().key("KEYPREZIME"), 0, rad.blank()));
  std::vector<std::string> names;
  for (auto& r : rows) names.push_back(r.name);
  std::sort(names.begin(), names.end());
  for (const char* typed : {"Ime 5", "ime 50", "Ime 999", "A", "Ž"}) {
    Record at = rad.blank();
    at.setText(at.index("PREZIME"), typed);
    int want = static_cast<int>(std::lower_bound(names.begin(), names.end(), std::string(typed),
                                                 [](const std::string& a, const std::string& b) {
                                                   return collate(a, b) < 0;
                                                 }) - names.begin());
    EXPECT_EQ(m.locate(at), std::min(want, kRows - 1)) << typed;
    if (want < kRows) EXPECT_EQ(m.data(m.index(m.locate(at), 2)).toString().toStdString(), names[want]) << typed;
  }
}

TEST_F(ListModel, RefreshShowsChangesMadeThroughAnotherFile) {
  RecordListModel m(rad, columns());
  ASSERT_TRUE(m.setRange(rad.def().key("KEYRBRFIRME"), 0, rad.blank()));
  ASSERT_EQ(shown(m, 5), expected(5));
  ASSERT_EQ(m.data(m.index(kRows - 1, 2)).toString().toStdString(), rows.back().name);

  RecordFile other(*s.store, "TBZAPOSL");
  ASSERT_FALSE(other.open());
  Record r = *m.record(5);
  r.setText(r.index("PREZIME"), "Šimić Ana");
  ASSERT_FALSE(other.update(r));
  ASSERT_FALSE(other.remove(*m.record(kRows - 1)));

  m.refresh();
  EXPECT_EQ(m.rowCount(), kRows - 1);
  EXPECT_EQ(m.data(m.index(5, 2)).toString(), QString::fromUtf8("Šimić Ana"));
  EXPECT_EQ(shown(m, kRows - 2), expected(kRows - 2));
}

}  // namespace kdm::ui
