#include "register/ui/obligor_windows.h"

#include "data/records.h"
#include "register/obligor.h"

namespace kdm::ui {

ListDecl browseFirmeDeclaration() {
  ListDecl d;
  d.title = QStringLiteral("Popis obveznika - poslodavaca");
  d.helpTopic = QStringLiteral("Evidencija obveznika-poslodavaca");
  d.label = "TBPOSLOD";
  d.tabs = {{QStringLiteral("REDOSLIJED: Naziv poslodavca"), "KEYREDBROJ", QStringLiteral("&Redni broj:"), "REDBROJ"}};
  d.columns = {
      {QStringLiteral("Rbr"), "REDBROJ", "N4_"},
      {QStringLiteral("MB (1. dio)"), "MB01", "s8"},
      {QStringLiteral("MB ( 2. dio)"), "MB02", "s4"},
      {QStringLiteral("MBG obveznika"), "JMBG", "s13"},
      {QStringLiteral("Naziv obveznika"), "NAZIV", "s60"},
      {QStringLiteral("Adresa obveznika"), "ADRESA", "s60"},
      {QStringLiteral("Vrsta"), "VRSTOBVEZNIKA", "s2"},
      {QStringLiteral("Identifikator"), "IDENTIFIKATOR", "s4"},
  };
  d.buttons = {
      {ListAction::Select, QStringLiteral("Odaberi"), QStringLiteral("Odaberi poslodavca")},
      {ListAction::Add, QStringLiteral("Dodaj"), QStringLiteral("Upis novog poslodavca")},
      {ListAction::Change, QStringLiteral("Otvori"), QStringLiteral("Promjena podataka za poslodavca")},
      {ListAction::Remove, QStringLiteral("Obriši"), QStringLiteral("Obriši označeni redak")},
      {ListAction::Close, QStringLiteral("Zatvori"), QStringLiteral("Zatvori prozor")},
      {ListAction::Help, QStringLiteral("Upute"), QStringLiteral("Obveznik")},
  };
  return d;
}

FormDecl obligorFormDeclaration() {
  FormDecl d;
  d.title = QStringLiteral("Poslodavac i zaposlenici");
  d.label = "TBPOSLOD";
  d.okText = QStringLiteral("&Spremi");
  d.cancelText = QStringLiteral("&Prekini");
  FormField type{QStringLiteral("&Vrst obveznika:"), "VRSTOBVEZNIKA", "s2"};
  type.kind = FieldKind::DropList;
  type.codes = {"TBVRSOBV", "KEYSIFRA", "OPIS", "SIFRA"};
  FormField mb2{QString(), "MB02", "s4"};
  mb2.sameRow = true;
  mb2.accessibleName = QStringLiteral("MB poslodavca (2. dio)");
  d.fields = {
      type,
      {QStringLiteral("&Redni broj"), "REDBROJ", "N3_"},
      {QStringLiteral("&MB poslodavca"), "MB01", "s8"},
      mb2,
      {QStringLiteral("MB&G:"), "JMBG", "s13"},
      {QStringLiteral("&Naziv:"), "NAZIV", "s50"},
      {QStringLiteral("&Adresa:"), "ADRESA", "s50"},
      {QStringLiteral("&Kontakt:"), "KONTAKT", "s50"},
      {QStringLiteral("&Telefon:"), "TELEFON", "s10"},
      {QStringLiteral("&E-mail adresa:"), "EMAIL", "s30"},
      {QStringLiteral("&Zadnji identifikator:"), "IDENTIFIKATOR", "n3"},
      {QStringLiteral("&Obračunska godina"), "OBRGOD", "N04"},
  };
  return d;
}

RecordForm* openObligorForm(DataStore& store, Globals& GLO, Reporter& out, QWidget* parent) {
  const bool isNew = GLO.ZahtjevPoslodavca == 1;
  TBPOSLOD pos;
  if (isNew)
    primeNewObligor(pos);
  else if (!readObligor(store, GLO.Firma, pos, out))
    return nullptr;
  Record rec(*findLabel("TBPOSLOD"));
  toRecord(pos, rec);
  auto* form = new RecordForm(store, obligorFormDeclaration(), isNew ? Request::Insert : Request::Change, rec, parent);
  form->setAttribute(Qt::WA_DeleteOnClose);
  form->onChange = [&GLO](const std::string& field, Record& r) {
    if (field == "VRSTOBVEZNIKA") GLO.VrsObv = r.text(r.index("VRSTOBVEZNIKA"));
  };
  form->onSave = [&store, &GLO, isNew](Record& r, Reporter& rep) {
    TBPOSLOD p;
    fromRecord(r, p);
    if (!saveObligor(GLO, store, p, isNew, rep)) return false;
    toRecord(p, r);
    return true;
  };
  return form;
}

ListWindow* openBrowseFirme(DataStore& store, Globals& GLO, QWidget* parent) {
  auto* list = new ListWindow(store, browseFirmeDeclaration(), parent);
  list->setAttribute(Qt::WA_DeleteOnClose);
  GLO.ZahtjevPoslodavca = 0;
  list->onAction = [&store, &GLO](ListWindow& w, ListAction action, const Record* current) {
    const std::int16_t number =
        current ? static_cast<std::int16_t>(current->integer(current->index("REDBROJ"))) : 0;
    switch (action) {
      case ListAction::Select:
        if (!current) return;
        GLO.Firma = number;
        w.trigger(ListAction::Close);
        return;
      case ListAction::Add:
        GLO.Firma = 0;
        GLO.ZahtjevPoslodavca = 1;
        break;
      case ListAction::Change:
        if (!current) return;
        GLO.Firma = number;
        GLO.ZahtjevPoslodavca = 0;
        break;
      case ListAction::Remove:
        if (!current) return;
        GLO.ZahtjevPoslodavca = 2;
        deleteObligor(GLO, store, number, w.reporter());
        w.refresh();
        return;
      default: return;
    }
    RecordForm* form = openObligorForm(store, GLO, w.reporter(), &w);
    if (!form) return;
    QObject::connect(form, &QDialog::finished, &w, [&w, &GLO, form](int) {
      if (form->response() != Response::Completed) return;
      w.refresh();
      Record at = form->record();
      w.setCurrentRow(w.model()->locate(at));
      GLO.Firma = static_cast<std::int16_t>(at.integer(at.index("REDBROJ")));
    });
    form->open();
  };
  return list;
}

}  // namespace kdm::ui
