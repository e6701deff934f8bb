// The obligors' windows: the list of obligors and the obligor form, both
// declarations over the list and form machinery; the rules are the
// register's (register/obligor.h).
#pragma once

#include <QWidget>

#include "app/globals.h"
#include "data/record_layer.h"
#include "ui/list_window.h"
#include "ui/record_form.h"

namespace kdm::ui {

ListDecl browseFirmeDeclaration();
FormDecl obligorFormDeclaration();

// The list of obligors. Dodaj, Otvori and Obriši set GLO.Firma and
// GLO.ZahtjevPoslodavca and go to the obligor form (Obriši deletes at
// once); Odaberi sets GLO.Firma and closes. The list is read again after
// every change.
ListWindow* openBrowseFirme(DataStore& store, Globals& GLO, QWidget* parent = nullptr);

// The obligor form for GLO.ZahtjevPoslodavca (0 change, 1 new) and
// GLO.Firma; nullptr when the obligor to change cannot be read (reported
// through `out`). Spremi saves through saveObligor.
RecordForm* openObligorForm(DataStore& store, Globals& GLO, Reporter& out, QWidget* parent = nullptr);

}  // namespace kdm::ui
