// What a print button says until the printouts exist.
#pragma once

namespace kdm::ui {

inline constexpr const char* kPrintingLater = "Ispis će biti dostupan u jednoj od sljedećih verzija programa.";

}  // namespace kdm::ui
