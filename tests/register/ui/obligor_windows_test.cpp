#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "checks/checks.h"
#include "register/register_fixture.h"
#include "register/obligor.h"
#include "register/ui/obligor_windows.h"

namespace kdm::ui {

using namespace test;

// The obligor windows driven by keys, with messages collected instead of
// shown.
class ObligorWindows : public RegisterStore {
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
  static QLineEdit* edit(RecordForm& f, const char* field) { return qobject_cast<QLineEdit*>(f.fieldWidget(field)); }
  static void type(RecordForm& f, const char* field, const char* text) {
    QLineEdit* e = edit(f, field);
    e->setFocus();
    e->selectAll();
    // Letters beyond Latin-1 as a keyboard sends them: a key event with text.
    for (QChar c : QString::fromUtf8(text)) QTest::sendKeyEvent(QTest::Click, e, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
  std::unique_ptr<RecordForm> newObligorForm() {
    GLO.ZahtjevPoslodavca = 1;
    std::unique_ptr<RecordForm> f(openObligorForm(*store, GLO, out));
    f->setAttribute(Qt::WA_DeleteOnClose, false);
    f->show();
    QApplication::setActiveWindow(f.get());
    return f;
  }
  void fill(RecordForm& f, const char* obligorType, const char* mb, const char* mbg) {
    Record r = f.record();
    r.setText(r.index("VRSTOBVEZNIKA"), obligorType);
    f.setRecord(r);
    type(f, "REDBROJ", "7");
    type(f, "NAZIV", "Obrt Šimić");
    type(f, "ADRESA", "Ilica 1, Zagreb");
    type(f, "KONTAKT", "Ana");
    type(f, "MB01", mb);
    type(f, "JMBG", mbg);
  }
};

TEST_F(ObligorWindows, EveryFieldIsNamedByItsPrompt) {
  auto f = newObligorForm();
  for (const FormField& d : obligorFormDeclaration().fields) {
    QWidget* w = f->fieldWidget(d.field);
    ASSERT_TRUE(w) << d.field;
    QString want = d.sameRow ? d.accessibleName : QString(d.prompt).remove('&');
    EXPECT_EQ(QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name), want) << d.field;
  }
}

TEST_F(ObligorWindows, SpremiSavesThroughTheRegisterAndRefusesWhatItRefuses) {
  struct Case {
    const char* type;
    const char* mb;
    const char* mbg;
    const char* message;  // empty: saved
    const char* focus;
  } cases[] = {
      {"17", "", "", "", ""},
      {"01", kMb9, kMbg, "Greška. Nije dozvoljeno upisati MB i MBG, izuzev ako MB počinje sa 8 ili 9", "MB01"},
      {"01", "00000000", kMbg, "Za VOB=01 MBG se ne upisuje", "JMBG"},
      {"02", kMb9, kMbg, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.type) + " " + c.mb + " " + c.mbg);
    {
      File<TBPOSLOD> pos(*store);
      ASSERT_FALSE(pos.open());
      pos.rec.REDBROJ = 7;
      if (!pos.get("KEYREDBROJ")) ASSERT_FALSE(pos.erase());
    }
    messages.clear();
    auto f = newObligorForm();
    fill(*f, c.type, c.mb, c.mbg);
    edit(*f, "KONTAKT")->setFocus();
    QTest::keyClick(f.get(), Qt::Key_Return);
    bool saved = std::string(c.message).empty();
    EXPECT_EQ(f->response(), saved ? Response::Completed : Response::None);
    EXPECT_EQ(messages, saved ? std::vector<std::string>{} : std::vector<std::string>{c.message});
    if (!saved) EXPECT_EQ(QApplication::focusWidget(), f->fieldWidget(c.focus));
    auto stored = all<TBPOSLOD>("KEYREDBROJ");
    EXPECT_EQ(stored.size(), saved ? 1u : 0u);
    if (saved) EXPECT_EQ(stored[0].NAZIV, "Obrt Šimić");
  }
}

TEST_F(ObligorWindows, EscCancelsAndTextOutsideTheCodePageIsRefusedAsTyped) {
  auto f = newObligorForm();
  type(*f, "NAZIV", "Obrt Ж");
  EXPECT_EQ(edit(*f, "NAZIV")->text(), QString::fromUtf8("Obrt "));
  QTest::keyClick(f.get(), Qt::Key_Escape);
  EXPECT_EQ(f->response(), Response::Cancelled);
  EXPECT_TRUE(all<TBPOSLOD>("KEYREDBROJ").empty());
}

// Leaving a field runs its core check; a refusal shows the core's message
// and puts the cursor where the core says.
TEST_F(ObligorWindows, LeavingAFieldWithAFailingCheckReturnsToTheNamedField) {
  FormDecl d = obligorFormDeclaration();
  for (FormField& f : d.fields)
    if (f.field == "MB01")
      f.onLeave = [this](const Record& r, Reporter& rep) {
        std::string mb = r.text(r.index("MB01"));
        if (mb.empty() || MbCheck(GLO, mb)) return true;
        rep.message("Pogrešan MB Firme");
        rep.focus("POS:MB01");
        return false;
      };
  TBPOSLOD pos;
  primeNewObligor(pos);
  Record rec(*findLabel("TBPOSLOD"));
  toRecord(pos, rec);
  RecordForm f(*store, d, Request::Insert, rec);
  f.show();
  QApplication::setActiveWindow(&f);
  type(f, "MB01", "12345674");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(messages, std::vector<std::string>{"Pogrešan MB Firme"});
  EXPECT_EQ(QApplication::focusWidget(), f.fieldWidget("MB01"));
  messages.clear();
  type(f, "MB01", kMb1);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_TRUE(messages.empty());
  EXPECT_NE(QApplication::focusWidget(), f.fieldWidget("MB01"));
}

TEST_F(ObligorWindows, BrowseFirmeListsInNumberOrderAndLocates) {
  for (int n : {30, 10, 20}) {
    TBPOSLOD p;
    primeNewObligor(p);
    p.REDBROJ = static_cast<std::int16_t>(n);
    p.NAZIV = "Obrt " + std::to_string(n);
    File<TBPOSLOD> pos(*store);
    ASSERT_FALSE(pos.open());
    pos.rec = p;
    ASSERT_FALSE(pos.insert());
  }
  std::unique_ptr<ListWindow> w(openBrowseFirme(*store, GLO));
  w->setAttribute(Qt::WA_DeleteOnClose, false);
  w->show();
  ASSERT_EQ(w->model()->rowCount(), 3);
  EXPECT_EQ(w->model()->data(w->model()->index(0, 0)).toString(), "10");
  EXPECT_EQ(w->model()->headerData(4, Qt::Horizontal).toString(), "Naziv obveznika");
  QTest::keyClick(w->view(), Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(w->currentRow(), 2);
  w->locate("15");
  EXPECT_EQ(w->currentRow(), 1);
  QTest::keyClick(w->view(), Qt::Key_Delete);
  EXPECT_EQ(w->model()->rowCount(), 2);
  EXPECT_EQ(GLO.Firma, 20);
  QTest::keyClick(w->view(), Qt::Key_Home);
  QTest::keyClick(w->view(), Qt::Key_Return);  // Odaberi
  EXPECT_EQ(GLO.Firma, 10);
  EXPECT_FALSE(w->isVisible());
}

}  // namespace kdm::ui
