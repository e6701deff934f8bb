#include "app/ui/parameters_window.h"

#include <QMdiSubWindow>

#include "app/parameters.h"
#include "app/ui/main_frame.h"
#include "app/ui/windows.h"
#include "data/records.h"

namespace kdm::ui {
namespace {

constexpr const char* kPerson = "  PODACI O OVLAŠTENOJ OSOBI";
constexpr const char* kDirectories = "RADNO OKRUŽENJE (direktorij-pretinac)";

FormField field(const char* prompt, const char* name, const char* picture, const char* tip, const char* group) {
  FormField f{QString::fromUtf8(prompt), name, picture, QString::fromUtf8(tip)};
  f.group = QString::fromUtf8(group);
  return f;
}

// The field-leave checks take the parameters as typed so far.
std::function<bool(const Record&, Reporter&)> leaveCheck(Globals& GLO,
                                                         bool (*check)(Globals&, const APLPARAM&, Reporter&)) {
  return [&GLO, check](const Record& r, Reporter& out) {
    APLPARAM apl;
    fromRecord(r, apl);
    return check(GLO, apl, out);
  };
}

}  // namespace

FormDecl parametersFormDeclaration(Globals& GLO) {
  FormDecl d;
  d.title = QStringLiteral("Promjena aplikacijskih parametara");
  d.label = "APLPARAM";
  d.okText = QStringLiteral("&Spremi");
  d.cancelText = QStringLiteral("&Prekini");
  d.helpText = QStringLiteral("Upu&te");
  d.helpTopic = QStringLiteral("~T5.0");

  FormField mb = field("Matični broj", "MB01", "s8", "Matični broj servisa", kPerson);
  mb.onLeave = leaveCheck(GLO, leaveParametersMb);
  FormField mb2 = field("", "MB02", "s4", "Nastavak MB", kPerson);
  mb2.sameRow = true;
  mb2.accessibleName = QStringLiteral("Nastavak MB");
  FormField jmbg = field("MBG", "JMBG", "s13", "", kPerson);
  jmbg.onLeave = leaveCheck(GLO, leaveParametersJmbg);
  FormField seat = field("Sjedište", "NAZSJED", "s40", "Naziv općine", kPerson);
  seat.kind = FieldKind::DropList;
  seat.codes = {"TBOPCINE", "KEYNAZIV", "NAZIV", "NAZIV"};
  FormField seatCode = field("", "SIFSJED", "s4", "Sjedište firme", kPerson);
  seatCode.sameRow = true;
  seatCode.readOnly = true;
  seatCode.accessibleName = QStringLiteral("Sjedište firme");
  d.fields = {
      mb,
      mb2,
      jmbg,
      field("Naziv", "NAZIV", "s50", "Naziv servisa", kPerson),
      field("Adresa:", "ADRESA", "s50", "Adresa servisa", kPerson),
      field("Kontakt osoba", "KONOSO", "s50", "Kontak osoba", kPerson),
      field("Telefon:", "TELEFON", "s10", "Telefon", kPerson),
      field("E-mail adresa", "EMAIL", "s30", "Email adresa", kPerson),
      seat,
      seatCode,
      field("Radni pretinac", "RADDIR", "s128", "Radni direktorij", kDirectories),
      field("Ulazni podaci", "ULAZDIR", "s128", "Direktorij za ulazne datoteke", kDirectories),
      field("Izlazni podaci", "IZLAZDIR", "s128", "Direktorj za izlazne datoteke", kDirectories),
  };
  return d;
}

RecordForm* openParametersForm(DataStore& store, Globals& GLO, QWidget* parent) {
  APLPARAM apl;
  readParameters(store, apl);
  Record rec(*findLabel("APLPARAM"));
  toRecord(apl, rec);
  auto* form = new RecordForm(store, parametersFormDeclaration(GLO), Request::Change, rec, parent);
  form->setAttribute(Qt::WA_DeleteOnClose);
  form->onChange = [&store](const std::string& name, Record& r) {
    if (name != "NAZSJED") return;
    RecordFile opc(store, "TBOPCINE");
    Record o = opc.blank();
    o.setText(o.index("NAZIV"), r.text(r.index("NAZSJED")));
    if (!opc.open() && !opc.get("KEYNAZIV", o)) r.setText(r.index("SIFSJED"), o.text(o.index("SIFRA")));
  };
  form->onSave = [&store, &GLO](Record& r, Reporter& out) {
    APLPARAM a;
    fromRecord(r, a);
    if (!saveParameters(GLO, store, a, out)) return false;
    toRecord(a, r);
    return true;
  };
  return form;
}

}  // namespace kdm::ui

namespace kdm {

void registerAppWindows(MainFrame& frame) {
  frame.registerWindow(
      QStringLiteral("UpdateAPLPARAM"),
      [](MainFrame& f) -> QWidget* {
        ui::RecordForm* form = ui::openParametersForm(f.store(), f.globals());
        QObject::connect(form, &ui::RecordForm::helpRequested, form,
                         [form](const QString& topic) { MainFrame::of(form)->showHelp(topic); });
        // The form ends as a dialog does; its child window goes with it.
        QObject::connect(form, &QDialog::finished, form, [form] {
          if (auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget())) sub->close();
        });
        return form;
      },
      QStringLiteral("~T5.0"));
}

}  // namespace kdm
