// AzurVEZNATAB: the form of one row of the control matrix, its three codes
// chosen from the code tables and its eleven range codes from the three
// that the checks know. The control tree opens it with a request on the
// row the globals name.
#pragma once

#include <QWidget>

#include "app/globals.h"
#include "data/record_layer.h"
#include "ui/record_form.h"

namespace kdm::ui {

FormDecl controlRowFormDeclaration(Request request);

// The form for `request`. Change and delete read the row of GLO.VO,
// GLO.VrsUpl and GLO.OsnovObr by VEZ:KEYVOB_VOI; a combination without a
// row opens to add it (change) or is reported through `out` with nullptr
// returned (delete). Spremi inserts, changes or deletes through the record
// layer, which refuses a combination that is there already.
RecordForm* openControlRowForm(DataStore& store, Globals& GLO, Request request, Reporter& out,
                               QWidget* parent = nullptr);

// Opens the form modally; true when it stored a change.
bool runControlRowForm(DataStore& store, Globals& GLO, Request request, Reporter& out, QWidget* parent);

}  // namespace kdm::ui
