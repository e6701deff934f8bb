// What every "Ispiši" button of a list says while the printed lists are
// still to come: one text, so all lists say the same.
#pragma once

namespace kdm::ui {

inline constexpr const char* kPrintingLater =
    "Ispis popisa još nije dostupan u ovoj verziji programa; dolazi u jednoj od sljedećih verzija.";

}  // namespace kdm::ui
