// The demonstration set of `kdm init --demo`: an authorised person with a
// real personal number in the parameters, three obligors of different
// types (a company with its MB, a natural person's business with its MBG,
// a diplomatic mission with neither) and about thirty employee rows of the
// current month of the program's clock, so a new user can form and check
// a form at once.
//
// Every record goes through the same save functions as the windows, with
// all their checks; the identity numbers are made valid by the check
// routines themselves. It all runs in one transaction: the set is added
// whole or not at all, and only to a data directory that holds no
// obligors yet.
#pragma once

#include "app/globals.h"
#include "data/record_layer.h"
#include "platform/report.h"

namespace kdm {

struct DemoSet {
  int obligors = 0;
  int rows = 0;
};

// False, with a message and nothing changed, when the directory already
// holds obligors or a record is refused.
bool fillDemoSet(Globals& GLO, DataStore& store, Reporter& out, DemoSet* added = nullptr);

}  // namespace kdm
