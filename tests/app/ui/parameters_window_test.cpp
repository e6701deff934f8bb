#include "app/ui/parameters_window.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "app/parameters.h"
#include "app/ui/main_frame.h"
#include "app/ui/windows.h"
#include "register/register_fixture.h"

namespace kdm::ui {

using namespace test;

// The name assistive technology reads for a field: its own, or for a drop
// list (named by its current item on this platform) the label it is
// labelled by.
inline QString spokenName(QWidget* w) {
  QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w);
  if (!qobject_cast<QComboBox*>(w)) return i->text(QAccessible::Name);
  for (const auto& [other, relation] : i->relations(QAccessible::Label)) return other->text(QAccessible::Name);
  return {};
}

class ParametersWindow : public RegisterStore {
 protected:
  std::vector<std::string> messages;
  void SetUp() override {
    RegisterStore::SetUp();
    WindowReporter::setMessageHook([this](QWidget*, const QString& t) { messages.push_back(t.toStdString()); });
  }
  void TearDown() override {
    WindowReporter::setMessageHook({});
    RegisterStore::TearDown();
  }
  std::unique_ptr<RecordForm> open() {
    std::unique_ptr<RecordForm> f(openParametersForm(*store, GLO));
    f->setAttribute(Qt::WA_DeleteOnClose, false);
    f->show();
    QApplication::setActiveWindow(f.get());
    return f;
  }
  static QLineEdit* edit(RecordForm& f, const char* field) { return qobject_cast<QLineEdit*>(f.fieldWidget(field)); }
  // Goes to the field (leaving the one before) and types over it.
  static void type(RecordForm& f, const char* field, const char* text) {
    QLineEdit* e = edit(f, field);
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Delete);
    // Letters beyond Latin-1 as a keyboard sends them: a key event with text.
    for (QChar c : QString::fromUtf8(text)) QTest::sendKeyEvent(QTest::Click, e, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
  APLPARAM stored() {
    APLPARAM apl;
    EXPECT_TRUE(readParameters(*store, apl));
    return apl;
  }
};

TEST_F(ParametersWindow, SaveChecksStopAtTheFirstWithItsMessageAndCursor) {
  // The faulty field is typed last and Enter pressed in it: Spremi runs that
  // field's own check first, so a number its check refuses is reported in
  // the field check's words; the rest come from the checks of saving.
  struct Case {
    const char *first, *firstText, *last, *lastText, *message, *focus;
  };
  const Case cases[] = {
      {"MB01", "00000000", "JMBG", "0000000000000", "Upišite MB il JMBG", "MB01"},
      {"MB01", kMb1, "JMBG", kMbg, "Greška. Nije dozvoljeno upisati MB i JMBG", "MB01"},
      {"JMBG", "", "MB01", "12345674", "Pogrešan  MB ", "MB01"},
      {"JMBG", "", "MB01", "1234567x", "Pogrešan  MB ", "MB01"},
      {"MB01", "", "JMBG", "010199033000", "Pogrešan JMBG", "JMBG"},
      {"MB01", "", "JMBG", "0101990330001", "Pogrešan JMBG", "JMBG"},
  };
  const APLPARAM before = stored();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    messages.clear();
    auto f = open();
    type(*f, c.first, c.firstText);
    type(*f, c.last, c.lastText);
    QTest::keyClick(edit(*f, c.last), Qt::Key_Return);
    EXPECT_EQ(messages, std::vector<std::string>{c.message});
    EXPECT_EQ(QApplication::focusWidget(), f->fieldWidget(c.focus));
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(stored().JMBG, before.JMBG);
  }
}

TEST_F(ParametersWindow, LeavingMbOrMbgChecksThemAndSendsTheCursorBack) {
  auto f = open();
  type(*f, "MB01", "12345674");
  QTest::keyClick(edit(*f, "MB01"), Qt::Key_Tab);
  EXPECT_EQ(messages, std::vector<std::string>{"Pogrešan  MB "});
  EXPECT_EQ(QApplication::focusWidget(), f->fieldWidget("MB01"));

  messages.clear();
  type(*f, "MB01", "");
  type(*f, "JMBG", "0101990330001");
  QTest::keyClick(edit(*f, "JMBG"), Qt::Key_Tab);
  EXPECT_EQ(messages, std::vector<std::string>{"Pogrešan JMBG"});
  EXPECT_EQ(QApplication::focusWidget(), f->fieldWidget("JMBG"));
}

TEST_F(ParametersWindow, ChoosingTheSeatSetsItsNameAndCodeAndSpremiStores) {
  auto f = open();
  EXPECT_EQ(f->windowTitle(), QStringLiteral("Promjena aplikacijskih parametara"));
  auto* seat = qobject_cast<QComboBox*>(f->fieldWidget("NAZSJED"));
  ASSERT_NE(seat, nullptr);
  EXPECT_EQ(seat->currentText(), QStringLiteral("ZAGREB"));
  // Every municipality, in the order of the names' key.
  QStringList names;
  for (const TBOPCINE& o : all<TBOPCINE>("KEYNAZIV")) names << QString::fromStdString(o.NAZIV);
  QStringList shown;
  for (int i = 0; i < seat->count(); ++i) shown << seat->itemText(i);
  EXPECT_EQ(shown, names);
  seat->setFocus();
  QTest::keyClick(seat, Qt::Key_Home);
  const QString first = seat->currentText();
  EXPECT_NE(first, QStringLiteral("ZAGREB"));

  type(*f, "MB01", "");
  type(*f, "JMBG", kMbg);
  type(*f, "NAZIV", "Servis Čađavica");
  QTest::keyClick(edit(*f, "NAZIV"), Qt::Key_Return);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(f->response(), Response::Completed);
  APLPARAM apl = stored();
  EXPECT_EQ(apl.JMBG, kMbg);
  EXPECT_EQ(apl.NAZIV, "Servis Čađavica");
  EXPECT_EQ(apl.NAZSJED, first.toStdString());
  // The code shown and stored is the chosen municipality's.
  File<TBOPCINE> opc(*store);
  ASSERT_FALSE(opc.open());
  opc.rec.NAZIV = apl.NAZSJED;
  ASSERT_FALSE(opc.get("KEYNAZIV"));
  EXPECT_EQ(apl.SIFSJED, opc.rec.SIFRA);
  EXPECT_EQ(edit(*f, "SIFSJED")->text().toStdString(), opc.rec.SIFRA);
}

TEST_F(ParametersWindow, EveryFieldIsNamedByItsPromptAndTheMenuOpensIt) {
  auto f = open();
  for (const FormField& d : parametersFormDeclaration(GLO).fields) {
    QWidget* w = f->fieldWidget(d.field);
    ASSERT_NE(w, nullptr) << d.field;
    EXPECT_EQ(spokenName(w),
              d.sameRow ? d.accessibleName : d.prompt)
        << d.field;
    EXPECT_EQ(w->toolTip(), d.toolTip) << d.field;
  }

  MainFrame frame(*store);
  registerAllWindows(frame);
  frame.show();
  QAction* item = nullptr;
  for (QAction* m : frame.menuBar()->actions())
    for (QAction* a : m->menu() ? m->menu()->actions() : QList<QAction*>{})
      if (a->text() == QStringLiteral("&1. Aplikacijski parametri")) item = a;
  ASSERT_NE(item, nullptr);
  item->trigger();
  QMdiSubWindow* sub = frame.area()->activeSubWindow();
  ASSERT_NE(sub, nullptr);
  auto* form = qobject_cast<RecordForm*>(sub->widget());
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Promjena aplikacijskih parametara"));
  // Prekini closes its child window.
  QTest::keyClick(form, Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_TRUE(frame.area()->subWindowList().isEmpty());
}

}  // namespace kdm::ui
