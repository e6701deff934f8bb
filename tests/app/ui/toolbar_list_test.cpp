// The frame's toolbar on a list window opened from the menu.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMdiSubWindow>

#include "app/ui/main_frame.h"
#include "app/ui/windows.h"
#include "data/records.h"
#include "data/seed.h"
#include "register/obligor.h"
#include "temp_dir.h"
#include "ui/list_window.h"

namespace kdm {
namespace {

TEST(ToolbarOnAList, MovesThroughTheRowsAndReachesTheLocator) {
  test::TempDir dir;
  InitResult r;
  ASSERT_FALSE(initDataDirectory(dir.path(), r));
  std::unique_ptr<DataStore> store;
  ASSERT_FALSE(DataStore::open(dir.path(), false, store));
  for (int n : {1, 2, 3}) {
    File<TBPOSLOD> pos(*store);
    ASSERT_FALSE(pos.open());
    primeNewObligor(pos.rec);
    pos.rec.REDBROJ = static_cast<std::int16_t>(n);
    pos.rec.NAZIV = "Obveznik " + std::to_string(n);
    ASSERT_FALSE(pos.insert());
  }
  MainFrame frame(*store);
  registerAllWindows(frame);
  frame.show();
  QMdiSubWindow* sub = frame.startProcedure(QStringLiteral("BrowseFirme"));
  ASSERT_TRUE(sub);
  auto* list = qobject_cast<ui::ListWindow*>(sub->widget());
  ASSERT_TRUE(list);
  QApplication::processEvents();
  auto press = [&](ToolbarButton b) { frame.toolbarAction(b)->trigger(); };
  press(ToolbarButton::Last);
  EXPECT_EQ(list->currentRow(), 2);
  press(ToolbarButton::Up);
  EXPECT_EQ(list->currentRow(), 1);
  press(ToolbarButton::First);
  EXPECT_EQ(list->currentRow(), 0);
  press(ToolbarButton::Down);
  EXPECT_EQ(list->currentRow(), 1);
  press(ToolbarButton::PageDown);
  EXPECT_EQ(list->currentRow(), 2);
  press(ToolbarButton::Find);
  EXPECT_EQ(QApplication::focusWidget(), list->locator());
  EXPECT_FALSE(list->toolbarAction(ToolbarButton::Ditto));
}

}  // namespace
}  // namespace kdm
