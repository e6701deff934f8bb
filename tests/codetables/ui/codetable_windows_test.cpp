#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QTest>

#include "app/ui/main_frame.h"
#include "checks/checks.h"
#include "app/ui/windows.h"
#include "codetables/ui/codetable_windows.h"
#include "register/register_fixture.h"
#include "ui/printing_later.h"

namespace kdm::ui {

using namespace test;

// The code-table windows on a delivered data directory, driven by keys and
// buttons; messages are collected and questions answered by `answer`.
class CodeTableWindows : public RegisterStore {
 protected:
  std::vector<std::string> messages;
  bool answer = true;
  std::vector<std::unique_ptr<ListWindow>> lists;

  void SetUp() override {
    RegisterStore::SetUp();
    WindowReporter::setMessageHook([this](QWidget*, const QString& t) { messages.push_back(t.toStdString()); });
    WindowReporter::setQuestionHook([this](QWidget*, const QString&) { return answer; });
  }
  void TearDown() override {
    lists.clear();
    WindowReporter::setMessageHook({});
    WindowReporter::setQuestionHook({});
    RegisterStore::TearDown();
  }
  ListWindow& show(ListWindow* w) {
    w->setAttribute(Qt::WA_DeleteOnClose, false);
    lists.emplace_back(w);
    w->show();
    QApplication::setActiveWindow(w);
    return *w;
  }
  // Presses a list button; the form it opens, if any.
  static RecordForm* press(ListWindow& w, ListAction action) {
    QTest::mouseClick(w.button(action), Qt::LeftButton);
    RecordForm* f = nullptr;
    for (RecordForm* c : w.findChildren<RecordForm*>())
      if (c->isVisible()) f = c;
    if (f) QApplication::setActiveWindow(f);
    return f;
  }
  static void type(RecordForm& f, const char* field, const char* text) {
    auto* e = qobject_cast<QLineEdit*>(f.fieldWidget(field));
    ASSERT_TRUE(e) << field;
    e->setFocus();
    e->selectAll();
    for (QChar c : QString::fromUtf8(text)) QTest::sendKeyEvent(QTest::Click, e, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
  static void leave(RecordForm& f) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); (void)f; }
  static void spremi(RecordForm& f) { QTest::keyClick(&f, Qt::Key_Return); }
};

TEST_F(CodeTableWindows, NewTypeOfCalculationIsCheckedOnLeavingTheCodeAndOnSpremi) {
  auto types = all<TBVRSUPL>("KEYSIFRA");
  ASSERT_GE(types.size(), 2u);
  const std::string takenCode = types[0].SIFRA;
  const std::string takenText = QString::fromStdString(types[1].OPIS).toLower().toStdString();
  struct Case {
    std::string code, text;
    const char* message;  // empty: stored
    const char* focus;
    bool onLeaving;       // said on leaving the code, and again on Spremi
  } cases[] = {
      {"9", "Nova vrsta", "Greška. Šifra mora sadržavati 2 (dva) znaka", "SIFRA", true},
      {takenCode, "Nova vrsta", "Greška. Dupla šifra", "SIFRA", false},
      {"Z9", takenText, "Greška. Dupli naziv pojma", "OPIS", false},
      {"Z9", "Nova vrsta", "", "", false},
  };
  ListWindow& w = show(openBrowseVrsteUplata(*store));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code + " " + c.text);
    messages.clear();
    RecordForm* f = press(w, ListAction::Add);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->windowTitle(), "Dodavanje podataka");
    // The code comes first: leaving it checks it.
    type(*f, "SIFRA", c.code.c_str());
    leave(*f);
    if (!c.onLeaving) {
      type(*f, "SKROPIS", "Kratko");
      type(*f, "OPIS", c.text.c_str());
    }
    spremi(*f);
    const bool stored = std::string(c.message).empty();
    std::vector<std::string> want;
    if (!stored) want.assign(c.onLeaving ? 2 : 1, c.message);
    EXPECT_EQ(messages, want);
    EXPECT_EQ(f->response(), stored ? Response::Completed : Response::None);
    if (!stored) {
      EXPECT_EQ(QApplication::focusWidget(), f->fieldWidget(c.focus));
      f->reject();
      delete f;
    }
    EXPECT_EQ(all<TBVRSUPL>("KEYSIFRA").size(), types.size() + (stored ? 1 : 0));
  }
  EXPECT_EQ(w.current()->text(w.current()->index("SIFRA")), "Z9");

  // A change may give a description that another type has.
  messages.clear();
  RecordForm* f = press(w, ListAction::Change);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->windowTitle(), "Promjena podataka");
  type(*f, "OPIS", takenText.c_str());
  spremi(*f);
  EXPECT_TRUE(messages.empty());
  File<TBVRSUPL> vup(*store);
  ASSERT_FALSE(vup.open());
  vup.rec.SIFRA = "Z9";
  ASSERT_FALSE(vup.get("KEYSIFRA"));
  EXPECT_EQ(vup.rec.OPIS, takenText);
}

TEST_F(CodeTableWindows, MunicipalityCodeIsCheckedOnLeavingAndTheKeysRefuseDuplicates) {
  ListWindow& w = show(openBrowseOpcine(*store, GLO));
  struct Case {
    const char* code;
    const char* message;  // empty: accepted
  } cases[] = {
      {"123", "Greška. Šifra općine/grada ima 4 znaka"},
      {"12A4", "Pogrešna šifre općine/grada"},
      {"1232", "Pogrešan šifra općine/grada"},
      {"0000", ""},
      {"1236", ""},
  };
  RecordForm* f = press(w, ListAction::Add);
  ASSERT_TRUE(f);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    messages.clear();
    type(*f, "SIFRA", c.code);
    leave(*f);
    const bool accepted = std::string(c.message).empty();
    EXPECT_EQ(messages, accepted ? std::vector<std::string>{} : std::vector<std::string>{c.message});
    EXPECT_EQ(QApplication::focusWidget() == f->fieldWidget("SIFRA"), !accepted);
  }
  // A name the table has is refused by its key, in the record layer's
  // words with the key's description; the form keeps what was typed.
  auto towns = all<TBOPCINE>("KEYREDB");
  ASSERT_FALSE(towns.empty());
  std::string freeCode;
  for (int n = 9999; n > 0 && freeCode.empty(); --n) {
    char code[5];
    std::snprintf(code, sizeof code, "%04d", n);
    File<TBOPCINE> opc(*store);
    ASSERT_FALSE(opc.open());
    opc.rec.SIFRA = code;
    if (MunicipalityCodeCheck(GLO, code) && opc.get("KEYSIFRA")) freeCode = code;
  }
  ASSERT_FALSE(freeCode.empty());
  type(*f, "SIFRA", freeCode.c_str());
  type(*f, "NAZIV", towns[0].NAZIV.c_str());
  f->findChild<QRadioButton*>()->click();
  messages.clear();
  spremi(*f);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("Naziv općine"), std::string::npos) << messages[0];
  EXPECT_EQ(f->response(), Response::None);
  EXPECT_EQ(qobject_cast<QLineEdit*>(f->fieldWidget("NAZIV"))->text().toStdString(), towns[0].NAZIV);

  messages.clear();
  type(*f, "NAZIV", "Novo Selo");
  spremi(*f);
  EXPECT_TRUE(messages.empty());
  auto after = all<TBOPCINE>("KEYREDB");
  ASSERT_EQ(after.size(), towns.size() + 1);
  EXPECT_EQ(after.back().NAZIV, "Novo Selo");
  EXPECT_EQ(after.back().SIFRA, freeCode);
  EXPECT_EQ(after.back().GRAD, "N");
  EXPECT_GT(after.back().REDBROJ, towns.back().REDBROJ);
}

TEST_F(CodeTableWindows, RateFormShowsTheDescriptionsAndRefusesAnExistingCombination) {
  auto rates = all<TBSTOPE>("KEYOSNOV");
  ASSERT_FALSE(rates.empty());
  auto shortOf = [this](const char* label, const std::string& code) {
    RecordFile file(*store, label);
    EXPECT_FALSE(file.open());
    Record r = file.blank();
    r.setText(r.index("SIFRA"), code);
    return file.get("KEYSIFRA", r) ? std::string() : r.text(r.index("SKROPIS"));
  };
  ListWindow& w = show(openBrowseStope(*store));
  RecordForm* f = press(w, ListAction::Change);
  ASSERT_TRUE(f);
  const TBSTOPE& first = rates[0];
  EXPECT_EQ(f->description("VRSTOBRACUNA").toStdString(), shortOf("TBVRSUPL", first.VRSTOBRACUNA));
  EXPECT_EQ(f->description("VRSTAOBVEZNIKA").toStdString(), shortOf("TBVRSOBV", first.VRSTAOBVEZNIKA));
  EXPECT_EQ(f->description("OSNOVOBRA").toStdString(), shortOf("TBOSNOBR", first.OSNOVOBRA));
  EXPECT_EQ(f->description("STAZ").toStdString(), shortOf("TBOZNSTA", first.STAZ));
  EXPECT_FALSE(f->description("VRSTOBRACUNA").isEmpty());

  // Choosing another type of calculation sets code and description together.
  auto* combo = qobject_cast<QComboBox*>(f->fieldWidget("VRSTOBRACUNA"));
  ASSERT_TRUE(combo);
  combo->setFocus();
  const int before = combo->currentIndex();
  QTest::keyClick(combo, before + 1 < combo->count() ? Qt::Key_Down : Qt::Key_Up);
  const std::string chosen = f->record().text(f->record().index("VRSTOBRACUNA"));
  EXPECT_NE(chosen, first.VRSTOBRACUNA);
  EXPECT_EQ(f->description("VRSTOBRACUNA").toStdString(), shortOf("TBVRSUPL", chosen));
  f->reject();

  // The same five values as a stored rate: refused by the key "Osnov".
  Record copy(*findLabel("TBSTOPE"));
  toRecord(first, copy);
  std::unique_ptr<RecordForm> add(openUpdateTBSTOPE(*store, Request::Insert, copy));
  add->setAttribute(Qt::WA_DeleteOnClose, false);
  add->show();
  EXPECT_EQ(add->windowTitle(), "Dodavanje podataka");
  type(*add, "PRVISTUP1", "1,5");
  messages.clear();
  spremi(*add);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("Osnov"), std::string::npos) << messages[0];
  EXPECT_EQ(add->response(), Response::None);
  EXPECT_EQ(all<TBSTOPE>("KEYOSNOV").size(), rates.size());
}

TEST_F(CodeTableWindows, ObrisiAsksFirstAndIspisiSaysPrintingComesLater) {
  ListWindow& w = show(openBrowseOznakaStaza(*store));
  const auto marks = all<TBOZNSTA>("KEYSIFRA");
  ASSERT_FALSE(marks.empty());
  for (bool yes : {false, true}) {
    answer = yes;
    RecordForm* f = press(w, ListAction::Remove);
    ASSERT_TRUE(f);
    EXPECT_FALSE(f->fieldWidget("SIFRA")->isEnabled());
    spremi(*f);
    if (!yes) f->reject();
    EXPECT_EQ(all<TBOZNSTA>("KEYSIFRA").size(), marks.size() - (yes ? 1 : 0));
  }
  EXPECT_EQ(w.model()->rowCount(), static_cast<int>(marks.size()) - 1);
  messages.clear();
  press(w, ListAction::Print);
  EXPECT_EQ(messages, std::vector<std::string>{kPrintingLater});
}

TEST_F(CodeTableWindows, EveryFormFieldIsNamedByItsPrompt) {
  std::vector<FormDecl> forms = {
      updateTBVRSUPLDeclaration(Request::Insert), updateTBVRSOBVDeclaration(Request::Insert),
      updateTBOSNOBRDeclaration(Request::Insert), updateTBOZNSTADeclaration(Request::Insert),
      updateTBOPCINEDeclaration(Request::Insert, GLO), updateTBSTOPEDeclaration(Request::Insert, *store)};
  for (const FormDecl& d : forms) {
    SCOPED_TRACE(d.label);
    RecordForm f(*store, d, Request::Insert, Record(*findLabel(d.label)));
    f.show();
    EXPECT_EQ(f.windowTitle(), "Dodavanje podataka");
    for (const FormField& field : d.fields) {
      QWidget* widget = f.fieldWidget(field.field);
      ASSERT_TRUE(widget) << field.field;
      QString want = field.prompt.isEmpty() ? field.accessibleName : QString(field.prompt).remove('&');
      QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
      // On this platform a drop list's name is its current text; its
      // prompt is the label it is labelled by.
      QString name = iface->text(QAccessible::Name);
      if (field.kind == FieldKind::DropList)
        for (QLabel* label : f.findChildren<QLabel*>())
          if (label->buddy() == widget) name = label->text().remove('&');
      EXPECT_EQ(name, want) << field.field;
    }
  }
}

// From the frame's menu each item opens its list, with its caption, its
// first column and a locator whose tooltip says what it looks for.
TEST_F(CodeTableWindows, EachMenuItemOpensItsList) {
  MainFrame frame(*store);
  registerAllWindows(frame);
  frame.show();
  struct Case {
    const char* item;
    const char* caption;
    std::vector<const char*> headers;
  } cases[] = {
      {"&3. Vrste obveznika", "Vrsta obveznika", {"Šifra", "Skraćeni opis"}},
      {"&4. Vrste obračuna/ispravka", "Vrste obračuna/ispravka", {"Sifra", "Skraćeni opis"}},
      {"&5. Osnov obračuna", "Pregled osnova obračuna", {"Sifra", "Skraćeni opis"}},
      {"&6. Staž s uvećanim trajanjem", "Staž s uvećanim trajanjem", {"Šifra", "Skraćeni opis"}},
      {"&7. Stope doprinosa",
       "Stope doprinosa za mirovinsko osiguranje",
       {"VO", "VOB", "OO", "B", "Član", "I. stup (iz)", "I. stup (na)", "II. stup (iz)", "II. stup (na)"}},
      {"&8. Gradovi i općine", "Šifarnik - Općine i gradovi", {" Rbr", "Šifra", "Naziv općine"}},
  };
  QMenu* menu = nullptr;
  for (QAction* m : frame.menuBar()->actions())
    if (m->text() == QStringLiteral("&Evidencije  ")) menu = m->menu();
  ASSERT_TRUE(menu);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    QAction* item = nullptr;
    for (QAction* a : menu->actions())
      if (a->text() == QString::fromUtf8(c.item)) item = a;
    ASSERT_TRUE(item);
    item->trigger();
    auto* list = qobject_cast<ListWindow*>(frame.area()->activeSubWindow()->widget());
    ASSERT_TRUE(list);
    EXPECT_EQ(list->windowTitle().toStdString(), c.caption);
    ASSERT_EQ(list->model()->columnCount(), static_cast<int>(c.headers.size()));
    for (std::size_t i = 0; i < c.headers.size(); ++i)
      EXPECT_EQ(list->model()->headerData(static_cast<int>(i), Qt::Horizontal).toString().toStdString(), c.headers[i]);
    EXPECT_GT(list->model()->rowCount(), 0);
    EXPECT_TRUE(list->locator()->toolTip().startsWith(QStringLiteral("Traži se")));
  }
}

}  // namespace kdm::ui
