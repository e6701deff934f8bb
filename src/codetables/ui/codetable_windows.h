// The windows of the code tables: for each table a list and a record
// form, declared over the list and form machinery. The rules they apply
// are those of codetables/codetables.h and of the record layer's keys.
#pragma once

#include <QWidget>

#include <functional>

#include "app/globals.h"
#include "data/record_layer.h"
#include "ui/list_window.h"
#include "ui/record_form.h"

namespace kdm::ui {

ListDecl browseVrsteUplataDeclaration();
FormDecl updateTBVRSUPLDeclaration(Request request);
ListDecl browseVrsteObveznikaDeclaration();
FormDecl updateTBVRSOBVDeclaration(Request request);
ListDecl browseOsnovObracunaDeclaration();
FormDecl updateTBOSNOBRDeclaration(Request request);
ListDecl browseOznakaStazaDeclaration();
FormDecl updateTBOZNSTADeclaration(Request request);
ListDecl browseOpcineDeclaration();
FormDecl updateTBOPCINEDeclaration(Request request, Globals& GLO);
ListDecl browseStopeDeclaration();
FormDecl updateTBSTOPEDeclaration(Request request, DataStore& store);

// The record form of a code table for `request` over `record` (a primed
// record for an insert). Spremi stores through the record layer; a key it
// refuses is reported with the key's description and the form stays open.
using CodeFormFactory = std::function<RecordForm*(Request request, const Record& record, QWidget* parent)>;
RecordForm* openUpdateTBVRSUPL(DataStore& store, Request request, const Record& record, QWidget* parent = nullptr);
RecordForm* openUpdateTBVRSOBV(DataStore& store, Request request, const Record& record, QWidget* parent = nullptr);
RecordForm* openUpdateTBOSNOBR(DataStore& store, Request request, const Record& record, QWidget* parent = nullptr);
RecordForm* openUpdateTBOZNSTA(DataStore& store, Request request, const Record& record, QWidget* parent = nullptr);
RecordForm* openUpdateTBOPCINE(DataStore& store, Globals& GLO, Request request, const Record& record,
                               QWidget* parent = nullptr);
RecordForm* openUpdateTBSTOPE(DataStore& store, Request request, const Record& record, QWidget* parent = nullptr);

// A code-table list: Dodaj, Promijeni and Obriši open the table's form
// with that request and the list is read again after it was stored;
// Odaberi closes the list on the highlighted row; Ispiši says that the
// printed lists come later.
ListWindow* openCodeTableList(DataStore& store, ListDecl decl, CodeFormFactory form, QWidget* parent = nullptr);

ListWindow* openBrowseVrsteUplata(DataStore& store, QWidget* parent = nullptr);
ListWindow* openBrowseVrsteObveznika(DataStore& store, QWidget* parent = nullptr);
ListWindow* openBrowseOsnovObracuna(DataStore& store, QWidget* parent = nullptr);
ListWindow* openBrowseOznakaStaza(DataStore& store, QWidget* parent = nullptr);
ListWindow* openBrowseOpcine(DataStore& store, Globals& GLO, QWidget* parent = nullptr);
ListWindow* openBrowseStope(DataStore& store, QWidget* parent = nullptr);

}  // namespace kdm::ui
