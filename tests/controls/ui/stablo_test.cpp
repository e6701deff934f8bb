#include "controls/ui/stablo.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "data/seed.h"
#include "temp_dir.h"

namespace kdm {
namespace {

struct StabloWindow : ::testing::Test {
  test::TempDir dir;
  std::unique_ptr<DataStore> store;
  Globals GLO;
  std::vector<int> requests;
  bool stores = true;
  int prints = 0;
  std::unique_ptr<Stablo> w;

  void SetUp() override {
    InitResult r;
    ASSERT_FALSE(initDataDirectory(dir.path(), r));
    ASSERT_FALSE(DataStore::open(dir.path(), false, store));
    w = std::make_unique<Stablo>(
        *store, GLO,
        [this](Stablo::Request request) {
          requests.push_back(request);
          return stores;
        },
        [this] { ++prints; });
    w->show();
  }
  QTreeWidgetItem* firstBasis() { return w->tree()->topLevelItem(0)->child(0)->child(0); }
};

TEST_F(StabloWindow, OpensOnTheCollapsedObligorKinds) {
  EXPECT_EQ(w->windowTitle().toStdString(), Stablo::kCaption);
  ASSERT_EQ(w->tree()->topLevelItemCount(), 10);
  EXPECT_EQ(w->tree()->topLevelItem(0)->text(0).toStdString(), "01 Pravna osoba (poslodavac)");
  for (int i = 0; i < 10; ++i) EXPECT_FALSE(w->tree()->topLevelItem(i)->isExpanded());
  QTest::mouseClick(w->button("&Otvori sve"), Qt::LeftButton);
  EXPECT_TRUE(w->tree()->topLevelItem(0)->child(0)->isExpanded());
  QTest::mouseClick(w->button("&Skupi sve"), Qt::LeftButton);
  EXPECT_FALSE(w->tree()->topLevelItem(0)->isExpanded());
  // Plus and minus open and close the current branch.
  w->tree()->setCurrentItem(w->tree()->topLevelItem(1));
  QTest::keyClick(w->button("&Dodaj"), Qt::Key_Plus);
  EXPECT_TRUE(w->tree()->topLevelItem(1)->isExpanded());
  QTest::keyClick(w->button("&Dodaj"), Qt::Key_Minus);
  EXPECT_FALSE(w->tree()->topLevelItem(1)->isExpanded());
}

TEST_F(StabloWindow, OnlyALevelThreeItemOpensTheControlRow) {
  w->tree()->setCurrentItem(w->tree()->topLevelItem(0));
  QTest::mouseClick(w->button("&Promijeni"), Qt::LeftButton);
  QTest::mouseClick(w->button("&Obriši"), Qt::LeftButton);
  EXPECT_TRUE(requests.empty());

  w->tree()->setCurrentItem(firstBasis());
  QTest::mouseClick(w->button("&Promijeni"), Qt::LeftButton);
  ASSERT_EQ(requests, std::vector<int>{Stablo::Change});
  EXPECT_EQ(GLO.VO + GLO.VrsUpl + GLO.OsnovObr, "010111");
  // The tree was reloaded and the cursor is back on the item.
  EXPECT_EQ(w->tree()->currentItem()->text(0).toStdString(), "11 11 - Radni odnos kod pravne osobe");

  QTest::mouseClick(w->button("&Obriši"), Qt::LeftButton);
  QTest::mouseClick(w->button("&Dodaj"), Qt::LeftButton);
  EXPECT_EQ(requests, (std::vector<int>{Stablo::Change, Stablo::Delete, Stablo::Insert}));
  EXPECT_EQ(GLO.VO + GLO.VrsUpl + GLO.OsnovObr, "");
  QTest::mouseClick(w->button("&Ispiši"), Qt::LeftButton);
  EXPECT_EQ(prints, 1);
}

TEST_F(StabloWindow, PopupMenuAndNamesForAssistiveTechnology) {
  QStringList texts;
  for (QAction* a : w->popup()->actions()) texts << (a->isSeparator() ? "-" : a->text());
  EXPECT_EQ(texts.join('|').toStdString(), Stablo::kPopup);
  for (const char* label : {"&Dodaj", "&Promijeni", "&Obriši", "&Ispiši", "&Otvori sve", "&Skupi sve", "&Zatvori"}) {
    QPushButton* b = w->button(QString::fromUtf8(label));
    ASSERT_NE(b, nullptr) << label;
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(b);
    EXPECT_EQ(a->text(QAccessible::Name).toStdString(), QString::fromUtf8(label).remove('&').toStdString());
  }
}

}  // namespace
}  // namespace kdm
