#include "controls/control_tree.h"

#include <gtest/gtest.h>

#include "data/records.h"
#include "data/seed.h"
#include "temp_dir.h"

namespace kdm {
namespace {

TEST(ControlTree, ThreeLevelsFromTheDeliveredTables) {
  test::TempDir dir;
  InitResult r;
  ASSERT_FALSE(initDataDirectory(dir.path(), r));
  std::unique_ptr<DataStore> store;
  ASSERT_FALSE(DataStore::open(dir.path(), false, store));
  std::vector<ControlTreeItem> tree;
  ASSERT_FALSE(loadControlTree(*store, tree));
  ASSERT_EQ(tree.size(), 10u);  // every obligor kind, in file order
  EXPECT_EQ(tree[0].text, "01 Pravna osoba (poslodavac)");
  ASSERT_FALSE(tree[0].children.empty());
  EXPECT_EQ(tree[0].children[0].text, "01 01 - Plaća za mjesec");
  ASSERT_FALSE(tree[0].children[0].children.empty());
  const ControlTreeItem& basis = tree[0].children[0].children[0];
  EXPECT_EQ(basis.text, "11 11 - Radni odnos kod pravne osobe");
  std::size_t items = 0;
  for (auto& k : tree)
    for (auto& p : k.children) items += 1 + p.children.size();
  EXPECT_EQ(items, 38u + 54u);  // every STABLO02 and STABLO03 row has its place

  // Only a level-3 item names a control row.
  Globals GLO;
  EXPECT_FALSE(chooseControlRow(GLO, tree[0]));
  EXPECT_FALSE(chooseControlRow(GLO, tree[0].children[0]));
  EXPECT_EQ(GLO.VO, "");
  ASSERT_TRUE(chooseControlRow(GLO, basis));
  EXPECT_EQ(GLO.VO + GLO.VrsUpl + GLO.OsnovObr, "010111");
  chooseNewControlRow(GLO);
  EXPECT_EQ(GLO.VO + GLO.VrsUpl + GLO.OsnovObr, "");
}

TEST(ControlTree, AnObligorKindWithoutPaymentKindsHasNoBranch) {
  test::EmptyStore s;
  File<TBVRSOBV> vob(*s.store);
  ASSERT_FALSE(vob.open());
  vob.rec.SIFRA = "99";
  vob.rec.SKROPIS = "Bez grana";
  ASSERT_FALSE(vob.add());
  std::vector<ControlTreeItem> tree;
  ASSERT_FALSE(loadControlTree(*s.store, tree));
  ASSERT_EQ(tree.size(), 1u);
  EXPECT_EQ(tree[0].text, "99 Bez grana");
  EXPECT_TRUE(tree[0].children.empty());
}

}  // namespace
}  // namespace kdm
