#include "controls/ui/control_row_form.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "app/ui/main_frame.h"
#include "app/ui/windows.h"
#include "controls/ui/stablo.h"
#include "register/register_fixture.h"
#include "ui/printing_later.h"

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

class ControlRowForm : public RegisterStore {
 protected:
  std::vector<std::string> messages;
  std::vector<std::string> questions;
  bool answer = true;
  void SetUp() override {
    RegisterStore::SetUp();
    WindowReporter::setMessageHook([this](QWidget*, const QString& t) { messages.push_back(t.toStdString()); });
    WindowReporter::setQuestionHook([this](QWidget*, const QString& t) {
      questions.push_back(t.toStdString());
      return answer;
    });
  }
  void TearDown() override {
    WindowReporter::setMessageHook({});
    WindowReporter::setQuestionHook({});
    RegisterStore::TearDown();
  }
  std::unique_ptr<RecordForm> open(Request request) {
    std::unique_ptr<RecordForm> f(openControlRowForm(*store, GLO, request, out));
    if (!f) return f;
    f->setAttribute(Qt::WA_DeleteOnClose, false);
    f->show();
    QApplication::setActiveWindow(f.get());
    return f;
  }
  static QComboBox* combo(RecordForm& f, const char* field) { return qobject_cast<QComboBox*>(f.fieldWidget(field)); }
  // Picks the item whose text starts with `text`, from the keyboard.
  static void choose(RecordForm& f, const char* field, const char* text) {
    QComboBox* c = combo(f, field);
    ASSERT_NE(c, nullptr) << field;
    c->setFocus();
    QTest::keyClick(c, Qt::Key_Home);
    for (int i = 0; i < c->count() && !c->currentText().startsWith(QString::fromUtf8(text)); ++i)
      QTest::keyClick(c, Qt::Key_Down);
    ASSERT_TRUE(c->currentText().startsWith(QString::fromUtf8(text))) << field << " " << text;
  }
  std::vector<VEZNATAB> rows() { return all<VEZNATAB>("KEYVOB_VOI"); }
  std::optional<VEZNATAB> row(const std::string& vob, const std::string& voi, const std::string& oo) {
    for (const VEZNATAB& v : rows())
      if (v.VOB == vob && v.VOI == voi && v.OO == oo) return v;
    return std::nullopt;
  }
};

const char* const kRangeFields[] = {"OBRMJE", "GODINA", "PLAGOD", "PLAMJE", "DANOD", "DANDO",
                                    "IZNOS7", "IZNOS8", "IZNOS9", "IZNOS10", "IZNOS11"};

TEST_F(ControlRowForm, ChangeShowsTheRowTheGlobalsNameWithEveryFieldNamedByItsPrompt) {
  GLO.VO = "01", GLO.VrsUpl = "01", GLO.OsnovObr = "11";
  auto f = open(Request::Change);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->windowTitle(), QStringLiteral("Promjena kontrole"));
  EXPECT_EQ(combo(*f, "VOB")->currentText().left(2), QStringLiteral("01"));
  EXPECT_EQ(combo(*f, "OO")->currentText(), QStringLiteral("11  Radni odnos kod pravne osobe"));
  EXPECT_EQ(combo(*f, "IZNOS7")->currentText(), QStringLiteral(">0"));
  EXPECT_EQ(combo(*f, "IZNOS10")->currentText(), QStringLiteral(">=0"));
  EXPECT_EQ(combo(*f, "OBRMJE")->count(), 3);

  for (const FormField& d : controlRowFormDeclaration(Request::Change).fields) {
    QWidget* w = f->fieldWidget(d.field);
    ASSERT_NE(w, nullptr) << d.field;
    EXPECT_EQ(spokenName(w), d.prompt) << d.field;
  }
  // The groups, the heading and the note as the user reads them.
  QStringList groups;
  for (QGroupBox* g : f->findChildren<QGroupBox*>()) groups << g->title();
  EXPECT_EQ(groups, (QStringList{QStringLiteral("I. OSNOVNI PODACI"),
                                 QString::fromUtf8("III. KONTROLNI PODACI PO OBVEZNIKU PODNOŠENJA PODATAKA"),
                                 QStringLiteral("IV. PODACI PO OSIGURANICIMA"), QStringLiteral("Napomena")}));
  QStringList labels;
  for (QLabel* l : f->findChildren<QLabel*>()) labels << l->text();
  EXPECT_TRUE(labels.contains(QStringLiteral("KONTROLA PODATAKA")));
  EXPECT_TRUE(labels.filter(QString::fromUtf8("Za navednu kombinaciju VOB, VOI i OO potatak mora biti:")).size() == 1);
  EXPECT_TRUE(labels.filter(QString::fromUtf8("(nula ili veći od nule)")).size() == 1);

  // A change is stored over the same row.
  choose(*f, "IZNOS10", ">0");
  QTest::mouseClick(f->okButton(), Qt::LeftButton);
  EXPECT_EQ(f->response(), Response::Completed);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(row("01", "01", "11")->IZNOS10, ">0");
}

TEST_F(ControlRowForm, InsertsANewCombinationAndRefusesOneThatIsThere) {
  ASSERT_FALSE(row("01", "01", "12"));
  const std::size_t before = rows().size();
  auto f = open(Request::Insert);
  EXPECT_EQ(f->windowTitle(), QStringLiteral("Upis nove kontrole"));
  choose(*f, "VOB", "01");
  choose(*f, "VOI", "01");
  choose(*f, "OO", "12");
  for (const char* field : kRangeFields) choose(*f, field, ">=0");
  choose(*f, "IZNOS11", "= 0");
  QTest::mouseClick(f->okButton(), Qt::LeftButton);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(f->response(), Response::Completed);
  auto stored = row("01", "01", "12");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->GODINA, ">=0");
  EXPECT_EQ(stored->IZNOS11, "= 0");
  EXPECT_EQ(rows().size(), before + 1);

  auto again = open(Request::Insert);
  choose(*again, "VOB", "01");
  choose(*again, "VOI", "01");
  choose(*again, "OO", "11");
  QTest::mouseClick(again->okButton(), Qt::LeftButton);
  EXPECT_EQ(messages, std::vector<std::string>{
                          "Greška kod upisa VEZNATAB: Creating a record with a duplicate key: VEZ:KeyVOB_VOI"});
  EXPECT_TRUE(again->isVisible());
  EXPECT_EQ(rows().size(), before + 1);
  EXPECT_EQ(row("01", "01", "11")->IZNOS10, ">=0");
}

TEST_F(ControlRowForm, DeleteAsksFirstAndAMissingRowIsReported) {
  GLO.VO = "01", GLO.VrsUpl = "01", GLO.OsnovObr = "11";
  answer = false;
  auto f = open(Request::Delete);
  QTest::mouseClick(f->okButton(), Qt::LeftButton);
  EXPECT_EQ(questions, std::vector<std::string>{kDeleteQuestion});
  EXPECT_EQ(f->response(), Response::Cancelled);
  EXPECT_TRUE(row("01", "01", "11"));

  answer = true;
  f = open(Request::Delete);
  QTest::mouseClick(f->okButton(), Qt::LeftButton);
  EXPECT_EQ(f->response(), Response::Completed);
  EXPECT_FALSE(row("01", "01", "11"));

  // Gone now: a delete has nothing to open, a change opens to add it again.
  EXPECT_FALSE(open(Request::Delete));
  EXPECT_EQ(out.messages, std::vector<std::string>{"Greška kod čitanja VEZNATAB: Record not found"});
  auto add = open(Request::Change);
  EXPECT_EQ(add->windowTitle(), QStringLiteral("Upis nove kontrole"));
  EXPECT_EQ(combo(*add, "OO")->currentText().left(2), QStringLiteral("11"));
}

// The control tree as the frame opens it: Promijeni on a basis opens the
// form modally on that row, on an obligor kind nothing.
TEST_F(ControlRowForm, TheTreeOpensTheFormOnALevelThreeItemOnly) {
  MainFrame frame(*store);
  registerAllWindows(frame);
  frame.show();
  QMdiSubWindow* sub = frame.startProcedure(QStringLiteral("Stablo"));
  ASSERT_NE(sub, nullptr);
  auto* tree = qobject_cast<Stablo*>(sub->widget());
  ASSERT_NE(tree, nullptr);

  QStringList seen;
  auto inspect = [&] {
    if (auto* f = qobject_cast<RecordForm*>(QApplication::activeModalWidget())) {
      seen << f->windowTitle() << combo(*f, "VOB")->currentText().left(2) << combo(*f, "OO")->currentText().left(2)
           << combo(*f, "IZNOS7")->currentText();
      f->reject();
    }
  };
  tree->tree()->setCurrentItem(tree->tree()->topLevelItem(0));
  QTimer::singleShot(0, &frame, inspect);
  QTest::mouseClick(tree->button(QStringLiteral("&Promijeni")), Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_TRUE(seen.isEmpty());

  tree->tree()->setCurrentItem(tree->tree()->topLevelItem(0)->child(0)->child(0));
  QTimer::singleShot(0, &frame, inspect);
  QTest::mouseClick(tree->button(QStringLiteral("&Promijeni")), Qt::LeftButton);
  EXPECT_EQ(seen, (QStringList{QStringLiteral("Promjena kontrole"), QStringLiteral("01"), QStringLiteral("11"),
                               QStringLiteral(">0")}));

  QTest::mouseClick(tree->button(QString::fromUtf8("&Ispiši")), Qt::LeftButton);
  EXPECT_EQ(messages, std::vector<std::string>{kPrintingLater});
}

}  // namespace kdm::ui
