#include "controls/ui/control_row_form.h"

#include <memory>

namespace kdm::ui {
namespace {

const std::vector<std::pair<QString, std::string>> kRangeCodes = {
    {QStringLiteral("= 0"), "= 0 "},
    {QStringLiteral(">=0"), ">=0 "},
    {QStringLiteral(">0"), ">0  "},
};

FormField rangeCode(const char* prompt, const char* field, const char* group) {
  FormField f{QString::fromUtf8(prompt), field, "s4"};
  f.kind = FieldKind::DropList;
  f.choices = kRangeCodes;
  f.group = QString::fromUtf8(group);
  return f;
}

FormField codeList(const char* prompt, const char* field, const char* table) {
  FormField f{QString::fromUtf8(prompt), field, "s2"};
  f.kind = FieldKind::DropList;
  f.codes = {table, "KEYSIFRA", "SIFRA", "SIFRA", "SKROPIS"};
  return f;
}

}  // namespace

FormDecl controlRowFormDeclaration(Request request) {
  FormDecl d;
  d.title = request == Request::Insert   ? QStringLiteral("Upis nove kontrole")
            : request == Request::Change ? QStringLiteral("Promjena kontrole")
                                         : QStringLiteral("Update the VEZNATAB File");
  d.label = "VEZNATAB";
  d.heading = QStringLiteral("KONTROLA PODATAKA");
  d.okText = QStringLiteral("Spremi");
  d.cancelText = QStringLiteral("Odustani");
  const char* basic = "I. OSNOVNI PODACI";
  const char* obligor = "III. KONTROLNI PODACI PO OBVEZNIKU PODNOŠENJA PODATAKA";
  const char* insured = "IV. PODACI PO OSIGURANICIMA";
  d.fields = {
      codeList("Vrsta obveznika", "VOB", "TBVRSOBV"),
      codeList("Vrsta obračuna", "VOI", "TBVRSUPL"),
      codeList("Osnov obračuna", "OO", "TBOSNOBR"),
      rangeCode("2.1 Obračunski mjesec", "OBRMJE", basic),
      rangeCode("2.2. Obračunska godina", "GODINA", basic),
      rangeCode("6.1. Godina isplate plaće", "PLAGOD", obligor),
      rangeCode("6.2 Mjesec isplate plaće", "PLAMJE", obligor),
      rangeCode("6.1. Obračunsko razdoblje od", "DANOD", insured),
      rangeCode("6.2. Obračunsko razdoblje do", "DANDO", insured),
      rangeCode("7.    Iznos obračunane plaće", "IZNOS7", insured),
      rangeCode("8:    Osnovica za obračun", "IZNOS8", insured),
      rangeCode("9:    Iznos doprinosa za I. stup", "IZNOS9", insured),
      rangeCode("10.   Iznos doprinosa za II. stup", "IZNOS10", insured),
      rangeCode("11.   Iznos isplaćene plaće", "IZNOS11", insured),
  };
  d.noteTitle = QStringLiteral("Napomena");
  d.note = QStringLiteral(
      "Za navednu kombinaciju VOB, VOI i OO potatak mora biti:\n"
      "= 0\t( jednak nuli)\n"
      ">=0\t(nula ili veći od nule)\n"
      ">0\t(veći od nule)");
  return d;
}

RecordForm* openControlRowForm(DataStore& store, Globals& GLO, Request request, Reporter& out, QWidget* parent) {
  RecordFile vez(store, "VEZNATAB");
  if (Error e = vez.open()) {
    out.message("Greška kod otvaranja VEZNATAB: " + e.text);
    return nullptr;
  }
  Record rec = vez.blank();
  if (request != Request::Insert) {
    rec.setText(rec.index("VOB"), GLO.VO);
    rec.setText(rec.index("VOI"), GLO.VrsUpl);
    rec.setText(rec.index("OO"), GLO.OsnovObr);
    if (Error e = vez.get("KEYVOB_VOI", rec)) {
      if (request == Request::Delete) {
        out.message("Greška kod čitanja VEZNATAB: " + e.text);
        return nullptr;
      }
      // No row for the combination yet: storing the form adds it.
      request = Request::Insert;
    }
  }
  auto* form = new RecordForm(store, controlRowFormDeclaration(request), request, rec, parent);
  form->setAttribute(Qt::WA_DeleteOnClose);
  form->onSave = [&store, request](Record& r, Reporter& rep) {
    RecordFile file(store, "VEZNATAB");
    Error e = file.open();
    if (!e) e = request == Request::Insert ? file.insert(r) : request == Request::Change ? file.update(r) : file.remove(r);
    if (e) {
      rep.message((request == Request::Delete ? "Greška kod brisanja VEZNATAB: " : "Greška kod upisa VEZNATAB: ") +
                  e.text);
      return false;
    }
    return true;
  };
  return form;
}

bool runControlRowForm(DataStore& store, Globals& GLO, Request request, Reporter& out, QWidget* parent) {
  RecordForm* form = openControlRowForm(store, GLO, request, out, parent);
  if (!form) return false;
  form->setAttribute(Qt::WA_DeleteOnClose, false);
  std::unique_ptr<RecordForm> owned(form);
  form->exec();
  return form->response() == Response::Completed;
}

}  // namespace kdm::ui
