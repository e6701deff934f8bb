#include "app/ui/main_frame.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QCloseEvent>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>

#include <vector>

#include "app/parameters.h"
#include "app/ui/about_dialog.h"
#include "app/ui/desktop.h"
#include "app/ui/help_window.h"
#include "app/ui/not_available.h"
#include "app/ui/splash.h"
#include "temp_dir.h"

namespace kdm {
namespace {

QString q(const char* utf8) { return QString::fromUtf8(utf8); }

// A child window that answers the toolbar by noting what it was asked.
class RecordingChild : public QWidget, public ToolbarTarget {
 public:
  std::vector<ToolbarButton> pressed;
  bool handles = true;
  bool refuseClose = false;
  bool toolbarAction(ToolbarButton b) override {
    pressed.push_back(b);
    return handles;
  }

 protected:
  void closeEvent(QCloseEvent* e) override {
    if (refuseClose) e->ignore();
  }
};

QAction* menuItem(MainFrame& frame, const QString& menu, const QString& item) {
  for (QAction* m : frame.menuBar()->actions())
    if (m->text() == menu)
      for (QAction* a : m->menu()->actions())
        if (a->text() == item) return a;
  return nullptr;
}

class Frame : public testing::Test {
 protected:
  test::EmptyStore s;
  std::unique_ptr<MainFrame> frame;
  void SetUp() override {
    frame = std::make_unique<MainFrame>(*s.store);
    frame->show();
  }
  QList<QMdiSubWindow*> children() { return frame->area()->subWindowList(); }
};

TEST_F(Frame, OpensWithItsCaptionIconAndTheParametersFileOpen) {
  EXPECT_EQ(frame->windowTitle().toStdString(), "VALTA - OBRAZAC K-Dm  ver. 2005.1.0");
  EXPECT_FALSE(frame->windowIcon().isNull());
  EXPECT_TRUE(frame->parametersOpen());
  frame->close();
  EXPECT_FALSE(frame->parametersOpen());
}

// Every menu and item in order, with its hint; "-" is a separator.
TEST_F(Frame, MenuHoldsEveryItemWithItsHint) {
  struct Item {
    const char* text;
    const char* hint;
  };
  struct Menu {
    const char* title;
    const char* hint;
    std::vector<Item> items;
  };
  const std::vector<Menu> expected = {
      {"&Evidencije  ",
       "",
       {{"&1. Poslodavac i zaposlenici", ""},
        {"&2. Slanje podataka u VALTA", ""},
        {"-", ""},
        {"&3. Preuzimanje podataka", ""},
        {"-", ""},
        {"&3. Vrste obveznika", "Upis, promjena i brisanje vrste obveznika"},
        {"&4. Vrste obračuna/ispravka", "Upis, promjena i brisanje pojmova u šifarniku Vrste obračuna/ispravkaa"},
        {"&5. Osnov obračuna", ""},
        {"&6. Staž s uvećanim trajanjem", "Upis, promjena i brisanje oznaka s povečanim trajanjem  "},
        {"&7. Stope doprinosa", "Pregled, upis, ažiriranje i brisanje obračunskih stopa"},
        {"&8. Gradovi i općine", "Upis, promjena i brisanje podataka iz šifarnika općina i gradova u RH "},
        {"-", ""},
        {"&9. Vezne kontrole", ""},
        {"-", ""},
        {"&X. IZLAZ IZ PROGRAMA", "Exit this application"}}},
      {"&Servisi  ",
       "",
       {{"&1. Aplikacijski parametri", ""},
        {"&2. Pregled slanja u VALTA", ""},
        {"-", ""},
        {"&3. Kontrola ulazne datoteke", ""},
        {"&4. Pregled grešaka i upozorenja", ""},
        {"-", ""},
        {"&5. Formalna kontrola sloga za VALTA", ""},
        {"-", ""},
        {"&6. Export datoteka", ""},
        {"&7. Import datoteka", ""},
        {"&8. Preuzimanje podatka iz 2004", ""},
        {"-", ""},
        {"&9. Izbor i podešavanje pisača ...", "Setup printer"}}},
      {"&Edit  ",
       "",
       {{"Cu&t", "Remove item to Windows Clipboard"},
        {"&Copy", "Copy item to Windows Clipboard"},
        {"&Paste", "Paste contents of Windows Clipboard"}}},
      {"&Window  ",
       "Create and Arrange windows",
       {{"T&ile", "Make all open windows visible"},
        {"&Cascade", "Stack all open windows"},
        {"&Arrange Icons", "Align all window icons"}}},
      {"&Upute  ",
       "Windows Help",
       {{"&O programu", ""},
        {"&Sadržaj", "View the contents of the help file"},
        {"&Pretraživanje Uputa...", "Search for help on a subject"},
        {"&Kako koristiti Upute", "How to use Windows Help"}}},
  };
  const QList<QAction*> bar = frame->menuBar()->actions();
  ASSERT_EQ(bar.size(), static_cast<qsizetype>(expected.size()));
  for (std::size_t m = 0; m < expected.size(); ++m) {
    SCOPED_TRACE(expected[m].title);
    EXPECT_EQ(bar[m]->text(), q(expected[m].title));
    EXPECT_EQ(bar[m]->statusTip(), q(expected[m].hint));
    const QList<QAction*> items = bar[m]->menu()->actions();
    ASSERT_EQ(items.size(), static_cast<qsizetype>(expected[m].items.size()));
    for (qsizetype i = 0; i < items.size(); ++i) {
      const Item& e = expected[m].items[static_cast<std::size_t>(i)];
      SCOPED_TRACE(e.text);
      if (std::string(e.text) == "-") {
        EXPECT_TRUE(items[i]->isSeparator());
        continue;
      }
      EXPECT_EQ(items[i]->text(), q(e.text));
      EXPECT_EQ(items[i]->statusTip(), q(e.hint));
    }
  }
}

TEST_F(Frame, HighlightedItemShowsItsHintInTheStatusLine) {
  QAction* item = menuItem(*frame, q("&Evidencije  "), q("&3. Vrste obveznika"));
  ASSERT_NE(item, nullptr);
  item->showStatusText(frame.get());
  EXPECT_EQ(frame->statusBar()->currentMessage(), q("Upis, promjena i brisanje vrste obveznika"));
}

TEST_F(Frame, AnItemOpensANewChildEveryTime) {
  QAction* item = menuItem(*frame, q("&Evidencije  "), q("&2. Slanje podataka u VALTA"));
  ASSERT_NE(item, nullptr);
  item->trigger();
  item->trigger();
  ASSERT_EQ(children().size(), 2);
  EXPECT_NE(children()[0], children()[1]);
  for (QMdiSubWindow* sub : children()) {
    auto* w = qobject_cast<NotAvailableWindow*>(sub->widget());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), q("Slanje podataka u VALTA"));
    bool says = false;
    for (QLabel* l : w->findChildren<QLabel*>())
      says |= l->text() == q("Ova funkcija još nije dostupna u ovoj verziji programa.");
    EXPECT_TRUE(says);
  }
}

TEST_F(Frame, ARegisteredWindowOpensInPlaceOfTheNotice) {
  int built = 0;
  frame->registerWindow(QStringLiteral("BrowseFirme"), [&](MainFrame& f) {
    EXPECT_EQ(&f, frame.get());
    ++built;
    auto* w = new QWidget;
    w->setWindowTitle(QStringLiteral("Poslodavci"));
    return w;
  });
  frame->registerWindow(QStringLiteral("BrowseStope"), [](MainFrame&) { return static_cast<QWidget*>(nullptr); });
  menuItem(*frame, q("&Evidencije  "), q("&1. Poslodavac i zaposlenici"))->trigger();
  menuItem(*frame, q("&Evidencije  "), q("&7. Stope doprinosa"))->trigger();
  EXPECT_EQ(built, 1);
  ASSERT_EQ(children().size(), 1);  // a factory that opens nothing leaves no child
  EXPECT_EQ(children()[0]->windowTitle(), QStringLiteral("Poslodavci"));
  EXPECT_EQ(MainFrame::of(children()[0]->widget()), frame.get());
}

TEST_F(Frame, ParametersItemCreatesTheRecordFirst) {
  APLPARAM apl;
  ASSERT_FALSE(readParameters(*s.store, apl));
  menuItem(*frame, q("&Servisi  "), q("&1. Aplikacijski parametri"))->trigger();
  ASSERT_TRUE(readParameters(*s.store, apl));
  EXPECT_EQ(apl.NAZIV, "Knjigovodstveni servis");
  EXPECT_EQ(children().size(), 1);
}

TEST_F(Frame, ToolbarButtonsReachTheCurrentChildOnly) {
  ASSERT_EQ(frame->findChildren<QToolBar*>().size(), 1);
  EXPECT_FALSE(frame->toolbarPressed(ToolbarButton::Down));  // no child at all

  auto* target = new RecordingChild;
  frame->registerWindow(QStringLiteral("BrowseOpcine"), [&](MainFrame&) { return target; });
  menuItem(*frame, q("&Evidencije  "), q("&8. Gradovi i općine"))->trigger();
  std::vector<ToolbarButton> all;
  for (const ToolbarButtonDef& def : kToolbarButtons) {
    frame->toolbarAction(def.button)->trigger();
    all.push_back(def.button);
  }
  EXPECT_EQ(target->pressed, all);

  // A child without toolbar actions becomes current: nothing reaches the target.
  menuItem(*frame, q("&Evidencije  "), q("&9. Vezne kontrole"))->trigger();
  EXPECT_FALSE(frame->toolbarPressed(ToolbarButton::Insert));
  EXPECT_EQ(target->pressed.size(), all.size());

  target->handles = false;
  frame->area()->setActiveSubWindow(children()[0]);
  EXPECT_FALSE(frame->toolbarPressed(ToolbarButton::Select));
  EXPECT_EQ(target->pressed.back(), ToolbarButton::Select);
}

TEST_F(Frame, HelpButtonShowsTheTopicOfAChildThatDoesNotAnswerIt) {
  frame->registerWindow(QStringLiteral("UpdateAPLPARAM"), [](MainFrame&) { return new QWidget; }, QStringLiteral("~T5.0"));
  frame->startProcedure(QStringLiteral("UpdateAPLPARAM"));
  ASSERT_TRUE(frame->toolbarPressed(ToolbarButton::Help));
  ASSERT_NE(frame->helpWindow(), nullptr);
  EXPECT_EQ(frame->helpWindow()->browser()->source().toString(), QStringLiteral("qrc:/help/t5_0.html"));
  EXPECT_TRUE(frame->helpWindow()->browser()->toPlainText().contains(q("Promjena aplikacijskih parametara")));
}

TEST_F(Frame, ToolbarButtonsAreNamedByTheirTooltips) {
  const char* tips[] = {"Skok na prvu stranicu", "Povratak na prethodnu stranicu", "Prethodni redak", "Traži podatak",
                        "Slijedeći redak ", "Skon na slijedeću stranicu", "Skok na kraj ispisa", "Select This Record",
                        "Upis novog podatka", "Promjena postojećih podataka", "Brisanje podatka",
                        "Prethodna vrijednost", "Upute za rad"};
  QToolBar* bar = frame->findChild<QToolBar*>();
  const QList<QAction*> actions = bar->actions();
  ASSERT_EQ(actions.size(), 13);
  for (int i = 0; i < 13; ++i) {
    SCOPED_TRACE(tips[i]);
    EXPECT_EQ(actions[i]->toolTip(), q(tips[i]));
    QWidget* button = bar->widgetForAction(actions[i]);
    ASSERT_NE(button, nullptr);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(button);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->text(QAccessible::Name), q(tips[i]));
  }
}

TEST_F(Frame, SplashClosesAtTheFirstMenuChoice) {
  ASSERT_NE(frame->splash(), nullptr);
  EXPECT_TRUE(frame->splash()->isVisible());
  EXPECT_EQ(frame->splash()->timer()->interval(), 5000);
  EXPECT_TRUE(frame->splash()->timer()->isActive());
  menuItem(*frame, q("&Window  "), q("&Cascade"))->trigger();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(frame->splash(), nullptr);
}

TEST_F(Frame, SplashClosesAtTheFirstToolbarButtonAndByItsTimer) {
  frame->toolbarAction(ToolbarButton::Down)->trigger();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(frame->splash(), nullptr);

  Splash alone;
  alone.setAttribute(Qt::WA_DeleteOnClose, false);
  alone.show();
  alone.timer()->start(1);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !alone.isVisible(); }, 2000));
}

TEST_F(Frame, ExitClosesEveryChildAndTheFrameUnlessOneRefuses) {
  auto* stubborn = new RecordingChild;
  stubborn->refuseClose = true;
  frame->registerWindow(QStringLiteral("BrowseStope"), [&](MainFrame&) { return stubborn; });
  frame->startProcedure(QStringLiteral("BrowseFirme"));
  frame->startProcedure(QStringLiteral("BrowseStope"));
  QAction* exit = menuItem(*frame, q("&Evidencije  "), q("&X. IZLAZ IZ PROGRAMA"));
  exit->trigger();
  EXPECT_TRUE(frame->isVisible());
  EXPECT_EQ(children().size(), 1);
  EXPECT_TRUE(frame->parametersOpen());

  stubborn->refuseClose = false;
  exit->trigger();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(frame->isVisible());
  EXPECT_TRUE(children().isEmpty());
}

TEST_F(Frame, EditAndWindowItemsWorkOnTheChildren) {
  auto* field = new QLineEdit(QStringLiteral("Zagreb"));
  frame->registerWindow(QStringLiteral("BrowseOpcine"), [&](MainFrame&) { return field; });
  frame->startProcedure(QStringLiteral("BrowseOpcine"));
  field->setFocus();
  QApplication::setActiveWindow(frame.get());
  ASSERT_TRUE(QTest::qWaitFor([&] { return field->hasFocus(); }, 1000));
  field->selectAll();
  menuItem(*frame, q("&Edit  "), q("Cu&t"))->trigger();
  EXPECT_EQ(field->text(), QString());
  menuItem(*frame, q("&Edit  "), q("&Paste"))->trigger();
  menuItem(*frame, q("&Edit  "), q("&Paste"))->trigger();
  EXPECT_EQ(field->text(), QStringLiteral("ZagrebZagreb"));

  // Minimised children line up along the bottom of the area, left to right.
  QMdiSubWindow* a = frame->startProcedure(QStringLiteral("BrowseFirme"));
  QMdiSubWindow* b = frame->startProcedure(QStringLiteral("BrowseStope"));
  a->showMinimized();
  b->showMinimized();
  a->move(200, 10);
  b->move(300, 50);
  menuItem(*frame, q("&Window  "), q("&Arrange Icons"))->trigger();
  const int bottom = frame->area()->viewport()->height();
  EXPECT_EQ(a->geometry().bottom() + 1, bottom);
  EXPECT_EQ(b->geometry().bottom() + 1, bottom);
  EXPECT_EQ(a->x(), 0);
  EXPECT_EQ(b->x(), a->width());
}

TEST_F(Frame, PositionsAreKeptInTheIniFilePerProcedure) {
  QMdiSubWindow* sub = frame->startProcedure(QStringLiteral("BrowseOpcine"));
  sub->setGeometry(30, 40, 500, 300);
  frame->move(20, 25);
  frame->resize(900, 650);
  frame->close();

  QSettings ini(QString::fromStdString(s.dir.file("kd_2005.INI")), QSettings::IniFormat);
  EXPECT_EQ(ini.value("BrowseOpcine/X").toInt(), 30);
  EXPECT_EQ(ini.value("BrowseOpcine/Y").toInt(), 40);
  EXPECT_EQ(ini.value("BrowseOpcine/Width").toInt(), 500);
  EXPECT_EQ(ini.value("BrowseOpcine/Height").toInt(), 300);
  EXPECT_EQ(ini.value("Main/Width").toInt(), 900);
  EXPECT_EQ(ini.value("Main/Height").toInt(), 650);

  MainFrame again(*s.store);
  EXPECT_EQ(again.size(), QSize(900, 650));
  again.show();
  QMdiSubWindow* back = again.startProcedure(QStringLiteral("BrowseOpcine"));
  EXPECT_EQ(back->geometry(), QRect(30, 40, 500, 300));
  // A procedure never closed before opens where the area puts it.
  QMdiSubWindow* fresh = again.startProcedure(QStringLiteral("BrowseStope"));
  EXPECT_NE(fresh->geometry().size(), QSize(500, 300));
}

TEST(About, ShowsItsTextsAndClosesWithOk) {
  AboutDialog about;
  EXPECT_EQ(about.windowTitle(), q("O programu"));
  QStringList texts;
  for (QLabel* l : about.findChildren<QLabel*>())
    if (!l->text().isEmpty()) texts << l->text();
  EXPECT_EQ(texts, (QStringList{q("KDM_2005.EXE ver. 2005.1.0."), q("Priprema i dostava podataka o osiguranicima"),
                                q("i plaćenim doprinosima")}));
  QPushButton* ok = about.findChild<QPushButton*>();
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->text(), QStringLiteral("OK"));
  about.show();
  ok->click();
  EXPECT_FALSE(about.isVisible());
  EXPECT_EQ(about.result(), QDialog::Accepted);
}

TEST(Help, EveryTopicHasAPageAndSearchFindsIt) {
  HelpWindow help;
  for (const QString& topic : helpTopics()) {
    SCOPED_TRACE(topic.toStdString());
    ASSERT_TRUE(help.showTopic(topic));
    EXPECT_FALSE(help.browser()->toPlainText().trimmed().isEmpty());
  }
  EXPECT_TRUE(help.showTopic(QStringLiteral("Upute za obradu ")));  // named with a trailing blank
  EXPECT_FALSE(help.showTopic(QStringLiteral("~T9.9")));
  EXPECT_TRUE(help.search(QStringLiteral("nije dostupna")).isEmpty());
  const QStringList found = help.search(QStringLiteral("1111111111111"));
  EXPECT_TRUE(found.contains(q("Aplikacijski parametri i stranica B")));
  EXPECT_TRUE(found.contains(q("Sadržaj")));
}

TEST(Desktop, WithoutADisplayItSaysSoInOneLine) {
  const char* saved[] = {std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY")};
  std::string keep[3];
  for (int i = 0; i < 3; ++i) keep[i] = saved[i] ? saved[i] : "";
  unsetenv("QT_QPA_PLATFORM");
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  std::string why;
  EXPECT_FALSE(displayAvailable(why));
  EXPECT_NE(why.find("kdm --help"), std::string::npos);
  const char* names[] = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"};
  for (int i = 0; i < 3; ++i)
    if (saved[i]) setenv(names[i], keep[i].c_str(), 1);
  EXPECT_TRUE(displayAvailable(why));
}

}  // namespace
}  // namespace kdm
