// UpdateAPLPARAM, "Promjena aplikacijskih parametara": the authorised
// person and the directories, always the one parameters record, changed
// in place. The checks are those of app/parameters.h.
#pragma once

#include <QWidget>

#include "app/globals.h"
#include "data/record_layer.h"
#include "ui/record_form.h"

namespace kdm::ui {

FormDecl parametersFormDeclaration(Globals& GLO);

// The form on the stored record (an empty one when there is none: saving
// then reports what the record layer says). Choosing a municipality sets
// its name and code; Spremi saves through saveParameters.
RecordForm* openParametersForm(DataStore& store, Globals& GLO, QWidget* parent = nullptr);

}  // namespace kdm::ui
