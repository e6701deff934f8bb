#include "codetables/ui/codetable_windows.h"

#include "codetables/codetables.h"
#include "data/catalogue.h"
#include "data/records.h"
#include "ui/printing_later.h"

namespace kdm::ui {
namespace {

const QString kHelp = QStringLiteral("~T3.0");

QString formTitle(Request request) {
  switch (request) {
    case Request::Insert: return QStringLiteral("Dodavanje podataka");
    case Request::Delete: return QStringLiteral("Brisanje podatka");
    default: return QStringLiteral("Promjena podataka");
  }
}

FormDecl codeForm(Request request, const char* label, const QString& group) {
  FormDecl d;
  d.title = formTitle(request);
  d.label = label;
  d.group = group;
  d.okText = QStringLiteral("&Spremi");
  d.cancelText = QStringLiteral("&Odustani");
  d.helpTopic = kHelp;
  return d;
}

std::vector<ListButton> codeButtons(const QString& change, const QString& what) {
  return {
      {ListAction::Select, QStringLiteral("&Odaberi"), QStringLiteral("Odaberi označeni redak")},
      {ListAction::Add, QStringLiteral("&Dodaj"), QStringLiteral("Upis novog podatka: ") + what},
      {ListAction::Change, change, QStringLiteral("Promjena postojećih podataka")},
      {ListAction::Remove, QStringLiteral("O&briši"), QStringLiteral("Brisanje podatka")},
      {ListAction::Print, QStringLiteral("&Ispiši"), QStringLiteral("Ispis šifarnika")},
      {ListAction::Close, QStringLiteral("&Zatvori"), QStringLiteral("Zatvori prozor")},
      {ListAction::Help, QStringLiteral("&Upute"), QStringLiteral("Upute za rad")},
  };
}

// Code and short description, the columns of most code tables.
ListDecl codeList(const QString& title, const char* label, const QString& order, const QString& codeHeader,
                  const char* codePicture, const QString& what) {
  ListDecl d;
  d.title = title;
  d.helpTopic = kHelp;
  d.label = label;
  d.tabs = {{order, "KEYSIFRA", QStringLiteral("&Traži:"), "SIFRA", QStringLiteral("Traži se po šifri")}};
  d.columns = {{codeHeader, "SIFRA", codePicture}, {QStringLiteral("Skraćeni opis"), "SKROPIS", "s80"}};
  d.buttons = codeButtons(QStringLiteral("&Promijeni"), what);
  return d;
}

// Spremi of every code-table form: the record layer inserts, changes or
// deletes, and refuses what its keys refuse in its own words.
bool storeRecord(DataStore& store, Request request, Record& rec, Reporter& out) {
  RecordFile file(store, rec.def());
  Error e = file.open();
  if (!e) {
    switch (request) {
      case Request::Insert: e = file.insert(rec); break;
      case Request::Change: e = file.update(rec); break;
      case Request::Delete: e = file.remove(rec); break;
      case Request::View: break;
    }
  }
  if (e) {
    out.message(e.text);
    return false;
  }
  return true;
}

RecordForm* makeForm(DataStore& store, FormDecl decl, Request request, const Record& record, QWidget* parent) {
  auto* form = new RecordForm(store, std::move(decl), request, record, parent);
  form->setAttribute(Qt::WA_DeleteOnClose);
  form->onSave = [&store, request](Record& r, Reporter& out) { return storeRecord(store, request, r, out); };
  return form;
}

FormField choiceDaNe(const QString& prompt, const char* field) {
  FormField f{prompt, field, "s2"};
  f.kind = FieldKind::Radio;
  f.choices = {{QStringLiteral("DA"), "DA"}, {QStringLiteral("NE"), "NE"}};
  return f;
}

FormField codeDropList(const QString& prompt, const char* field, const char* picture, CodeList codes,
                       DataStore& store) {
  FormField f{prompt, field, picture};
  f.kind = FieldKind::DropList;
  f.codes = codes;
  f.describe = [&store, label = codes.label, field](const Record& r) {
    return QString::fromStdString(codeShortDescription(store, label, r.text(r.index(field))));
  };
  return f;
}

}  // namespace

// Types of calculation or correction.

ListDecl browseVrsteUplataDeclaration() {
  return codeList(QStringLiteral("Vrste obračuna/ispravka"), "TBVRSUPL",
                  QStringLiteral("REDOSLIJED: Šifra vrste obračuna/ispravka"), QStringLiteral("Sifra"), "s2",
                  QStringLiteral("vrsta obračuna/ispravka"));
}

FormDecl updateTBVRSUPLDeclaration(Request request) {
  FormDecl d = codeForm(request, "TBVRSUPL", QStringLiteral("VRSTE OBRAČUNA/ISPRAVKA"));
  FormField code{QStringLiteral("Šifra vrste &obračuna"), "SIFRA", "s2"};
  code.onLeave = [](const Record& r, Reporter& out) {
    TBVRSUPL vup;
    fromRecord(r, vup);
    return leaveCalculationTypeCode(vup, out);
  };
  d.fields = {code,
              {QStringLiteral("S&kraćeni opis"), "SKROPIS", "s80"},
              {QStringLiteral("O&pis pojma"), "OPIS", "s120"}};
  return d;
}

RecordForm* openUpdateTBVRSUPL(DataStore& store, Request request, const Record& record, QWidget* parent) {
  RecordForm* form = makeForm(store, updateTBVRSUPLDeclaration(request), request, record, parent);
  if (request == Request::Insert)
    form->onSave = [&store](Record& r, Reporter& out) {
      TBVRSUPL vup;
      fromRecord(r, vup);
      return checkNewCalculationType(store, vup, out) && storeRecord(store, Request::Insert, r, out);
    };
  return form;
}

ListWindow* openBrowseVrsteUplata(DataStore& store, QWidget* parent) {
  return openCodeTableList(
      store, browseVrsteUplataDeclaration(),
      [&store](Request q, const Record& r, QWidget* p) { return openUpdateTBVRSUPL(store, q, r, p); }, parent);
}

// Types of obligor.

ListDecl browseVrsteObveznikaDeclaration() {
  return codeList(QStringLiteral("Vrsta obveznika"), "TBVRSOBV", QStringLiteral("REDOSLIJED: Šifra "),
                  QStringLiteral("Šifra"), "s2", QStringLiteral("vrsta obveznika"));
}

FormDecl updateTBVRSOBVDeclaration(Request request) {
  FormDecl d = codeForm(request, "TBVRSOBV", QStringLiteral("VRSTE OBVEZNIKA"));
  d.fields = {{QStringLiteral("Šifra &obveznika"), "SIFRA", "s2"},
              {QStringLiteral("S&kraćeni opis"), "SKROPIS", "s80"},
              {QStringLiteral("O&pis pojma"), "OPIS", "s240"},
              choiceDaNe(QStringLiteral("MB &građana obavezan podatak"), "MBG"),
              choiceDaNe(QStringLiteral("&MB obavezna podatak"), "MB01")};
  return d;
}

RecordForm* openUpdateTBVRSOBV(DataStore& store, Request request, const Record& record, QWidget* parent) {
  return makeForm(store, updateTBVRSOBVDeclaration(request), request, record, parent);
}

ListWindow* openBrowseVrsteObveznika(DataStore& store, QWidget* parent) {
  return openCodeTableList(
      store, browseVrsteObveznikaDeclaration(),
      [&store](Request q, const Record& r, QWidget* p) { return openUpdateTBVRSOBV(store, q, r, p); }, parent);
}

// Bases of insurance.

ListDecl browseOsnovObracunaDeclaration() {
  ListDecl d = codeList(QStringLiteral("Pregled osnova obračuna"), "TBOSNOBR", QStringLiteral("REDOSLIJED: Šifra"),
                        QStringLiteral("Sifra"), "s2", QStringLiteral("osnova obračuna"));
  d.tabs[0].locatorPrompt = QStringLiteral("Šifra osonove obračuna");
  d.tabs[0].locatorToolTip = QStringLiteral("Traži se po šifri osnove obračuna");
  return d;
}

FormDecl updateTBOSNOBRDeclaration(Request request) {
  FormDecl d = codeForm(request, "TBOSNOBR", QStringLiteral("PODACI O OSNOVI OBRAČUNA"));
  d.fields = {{QStringLiteral("Ši&fra"), "SIFRA", "s2"},
              {QStringLiteral("S&kraćeni opis"), "SKROPIS", "s80"},
              {QStringLiteral("O&pis"), "OPIS", "s240"}};
  return d;
}

RecordForm* openUpdateTBOSNOBR(DataStore& store, Request request, const Record& record, QWidget* parent) {
  return makeForm(store, updateTBOSNOBRDeclaration(request), request, record, parent);
}

ListWindow* openBrowseOsnovObracuna(DataStore& store, QWidget* parent) {
  return openCodeTableList(
      store, browseOsnovObracunaDeclaration(),
      [&store](Request q, const Record& r, QWidget* p) { return openUpdateTBOSNOBR(store, q, r, p); }, parent);
}

// Marks of service with increased duration.

ListDecl browseOznakaStazaDeclaration() {
  return codeList(QStringLiteral("Staž s uvećanim trajanjem"), "TBOZNSTA",
                  QStringLiteral("REDOSLIJED: Šifra vrste staža"), QStringLiteral("Šifra"), "s1",
                  QStringLiteral("oznaka staža"));
}

FormDecl updateTBOZNSTADeclaration(Request request) {
  FormDecl d = codeForm(request, "TBOZNSTA", QStringLiteral("OZNAKE STAŽA"));
  d.fields = {{QStringLiteral("Šifra &staža"), "SIFRA", "s1"},
              {QStringLiteral("S&kraćeni opis"), "SKROPIS", "s80"},
              {QStringLiteral("O&pis staža"), "OPIS", "s180"}};
  return d;
}

RecordForm* openUpdateTBOZNSTA(DataStore& store, Request request, const Record& record, QWidget* parent) {
  return makeForm(store, updateTBOZNSTADeclaration(request), request, record, parent);
}

ListWindow* openBrowseOznakaStaza(DataStore& store, QWidget* parent) {
  return openCodeTableList(
      store, browseOznakaStazaDeclaration(),
      [&store](Request q, const Record& r, QWidget* p) { return openUpdateTBOZNSTA(store, q, r, p); }, parent);
}

// Municipalities and cities.

ListDecl browseOpcineDeclaration() {
  ListDecl d;
  d.title = QStringLiteral("Šifarnik - Općine i gradovi");
  d.helpTopic = kHelp;
  d.label = "TBOPCINE";
  d.tabs = {
      {QStringLiteral("REDOSLJED: Redni broj"), "KEYREDB", QStringLiteral("&Redni broj"), "REDBROJ",
       QStringLiteral("Traži se po rednom broju")},
      {QStringLiteral("Šifra općine grada"), "KEYSIFRA", QStringLiteral("Šifra općine &grada"), "SIFRA",
       QStringLiteral("Traži se po šifri općine/grada")},
      {QStringLiteral("Naziv općine"), "KEYNAZIV", QStringLiteral("&Naziv općine"), "NAZIV",
       QStringLiteral("Traži se po nazivu općine/grada")},
  };
  d.columns = {{QStringLiteral(" Rbr"), "REDBROJ", "n4"},
               {QStringLiteral("Šifra"), "SIFRA", "s4"},
               {QStringLiteral("Naziv općine"), "NAZIV", "s40"}};
  d.buttons = codeButtons(QStringLiteral("&Promijeni"), QStringLiteral("općina ili grad"));
  d.buttons[4].text = QStringLiteral(" &Ispiši");
  return d;
}

FormDecl updateTBOPCINEDeclaration(Request request, Globals& GLO) {
  FormDecl d = codeForm(request, "TBOPCINE", QStringLiteral("Osnovni podaci"));
  FormField number{QStringLiteral("&Redni broj"), "REDBROJ", "n4"};
  number.readOnly = true;  // the record layer numbers a new one
  FormField code{QStringLiteral("Ši&fra općine/grada"), "SIFRA", "s4"};
  code.onLeave = [&GLO](const Record& r, Reporter& out) {
    TBOPCINE opc;
    fromRecord(r, opc);
    return leaveMunicipalityCode(GLO, opc, out);
  };
  FormField city{QStringLiteral("&Grad"), "GRAD", "s1"};
  city.kind = FieldKind::Radio;
  city.choices = {{QStringLiteral("N"), "N"}, {QStringLiteral("D"), "D"}};
  d.fields = {number, code, {QStringLiteral("&Naziv općine/grada"), "NAZIV", "s40"}, city};
  return d;
}

RecordForm* openUpdateTBOPCINE(DataStore& store, Globals& GLO, Request request, const Record& record,
                               QWidget* parent) {
  return makeForm(store, updateTBOPCINEDeclaration(request, GLO), request, record, parent);
}

ListWindow* openBrowseOpcine(DataStore& store, Globals& GLO, QWidget* parent) {
  return openCodeTableList(
      store, browseOpcineDeclaration(),
      [&store, &GLO](Request q, const Record& r, QWidget* p) { return openUpdateTBOPCINE(store, GLO, q, r, p); },
      parent);
}

// Contribution rates.

ListDecl browseStopeDeclaration() {
  ListDecl d;
  d.title = QStringLiteral("Stope doprinosa za mirovinsko osiguranje");
  d.helpTopic = kHelp;
  d.label = "TBSTOPE";
  d.tabs = {{QStringLiteral("REDOSLJED: Osnov obračuna"), "KEYOSNOV", QStringLiteral("&Osnov obračuna"),
             "VRSTOBRACUNA", QStringLiteral("Traži se po vrsti obračuna")}};
  d.columns = {{QStringLiteral("VO"), "VRSTOBRACUNA", "s2"},
               {QStringLiteral("VOB"), "VRSTAOBVEZNIKA", "s2"},
               {QStringLiteral("OO"), "OSNOVOBRA", "s2"},
               {QStringLiteral("B"), "STAZ", "s1"},
               {QStringLiteral("Član"), "CLANDN", "s1"},
               {QStringLiteral("I. stup (iz)"), "PRVISTUP1", "n-7.2"},
               {QStringLiteral("I. stup (na)"), "PRVISTUP2", "n-7.2"},
               {QStringLiteral("II. stup (iz)"), "DRUGISTUP1", "n-7.2"},
               {QStringLiteral("II. stup (na)"), "DRUGISTUP2", "n-7.2"}};
  d.buttons = codeButtons(QStringLiteral("&Promijeni"), QStringLiteral("stopa doprinosa"));
  return d;
}

FormDecl updateTBSTOPEDeclaration(Request request, DataStore& store) {
  FormDecl d = codeForm(request, "TBSTOPE", QStringLiteral("OBRAČUNSKI KOEFICIJENTI"));
  FormField member{QStringLiteral("Osoba je &član OMF (D/N)"), "CLANDN", "s1"};
  member.toolTip = QStringLiteral("Član D/N");
  FormField service = codeDropList(QStringLiteral("&Uvećani staž"), "STAZ", "s1",
                                   {"TBOZNSTA", "KEYSIFRA", "SKROPIS", "SIFRA"}, store);
  service.toolTip = QStringLiteral("Staž s uvećanim trajanjem");
  FormField pay1{QStringLiteral("na plaću"), "PRVISTUP2", "N5`2"};
  pay1.sameRow = true;
  FormField pay2{QStringLiteral("na plaću"), "DRUGISTUP2", "N5`2"};
  pay2.sameRow = true;
  d.fields = {
      codeDropList(QStringLiteral("&Vrst obračuna"), "VRSTOBRACUNA", "s2", {"TBVRSUPL", "KEYSIFRA", "OPIS", "SIFRA"},
                   store),
      member,
      codeDropList(QStringLiteral("Vrsta o&bveznika:"), "VRSTAOBVEZNIKA", "s2", {"TBVRSOBV", "", "SKROPIS", "SIFRA"},
                   store),
      codeDropList(QStringLiteral("&Osnov obračuna"), "OSNOVOBRA", "s2", {"TBOSNOBR", "", "SKROPIS", "SIFRA"}, store),
      service,
      {QStringLiteral("Stope za MO &I stup (%) iz plaće"), "PRVISTUP1", "N5`2"},
      pay1,
      {QStringLiteral("Stope za MO I&I. stup (%) iz plaće"), "DRUGISTUP1", "N5`2"},
      pay2,
  };
  return d;
}

RecordForm* openUpdateTBSTOPE(DataStore& store, Request request, const Record& record, QWidget* parent) {
  return makeForm(store, updateTBSTOPEDeclaration(request, store), request, record, parent);
}

ListWindow* openBrowseStope(DataStore& store, QWidget* parent) {
  return openCodeTableList(
      store, browseStopeDeclaration(),
      [&store](Request q, const Record& r, QWidget* p) { return openUpdateTBSTOPE(store, q, r, p); }, parent);
}

// The list of every code table.

ListWindow* openCodeTableList(DataStore& store, ListDecl decl, CodeFormFactory form, QWidget* parent) {
  auto* list = new ListWindow(store, std::move(decl), parent);
  list->setAttribute(Qt::WA_DeleteOnClose);
  list->onAction = [&store, form](ListWindow& w, ListAction action, const Record* current) {
    Request request = Request::View;
    Record record = current ? *current : Record(*findLabel(w.declaration().label));
    switch (action) {
      case ListAction::Select:
        if (current) w.trigger(ListAction::Close);
        return;
      case ListAction::Print: w.reporter().message(kPrintingLater); return;
      case ListAction::Add: {
        request = Request::Insert;
        RecordFile file(store, record.def());
        Error e = file.open();
        if (!e) e = file.prime(record);
        if (e) {
          w.reporter().message(e.text);
          return;
        }
        break;
      }
      case ListAction::Change: request = Request::Change; break;
      case ListAction::Remove: request = Request::Delete; break;
      default: return;
    }
    if (!current && request != Request::Insert) return;
    RecordForm* f = form(request, record, &w);
    QObject::connect(f, &RecordForm::helpRequested, &w, &ListWindow::helpRequested);
    QObject::connect(f, &QDialog::finished, &w, [&w, f](int) {
      if (f->response() != Response::Completed) return;
      w.refresh();
      Record at = f->record();
      w.setCurrentRow(w.model()->locate(at));
    });
    f->open();
  };
  return list;
}

}  // namespace kdm::ui
