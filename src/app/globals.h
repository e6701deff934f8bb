// The shared global values (GLO): the chosen obligor, period, type of
// calculation, form identifier, file paths and the result flag. One
// struct owned by the application (or by a test, or by one command-line
// run) and passed by reference to every window and process. Plain C++:
// the core includes it.
#pragma once

#include <cstdint>
#include <string>

#include "controls/control_range.h"
#include "platform/date.h"

namespace kdm {

struct Globals {
  std::int16_t Firma = 0;            // POS:REDBROJ of the chosen obligor
  std::string NazFime;               // its name
  std::int16_t ZadBroj = 0;          // sequence of the form within the obligor
  std::string VrsUpl;                // type of calculation or correction
  std::string VrsObv;                // obligor type of the chosen obligor
  std::string VO;                    // obligor type of the current work
  std::string OsnovObr;              // basis of insurance of the matrix row to open
  std::int16_t ObrGodina = 0;        // calculation year
  std::int16_t ObrMjesec = 0;        // calculation month
  std::int16_t DanOd = 0, DanDo = 0; // first and last day of the period
  std::int16_t GodIsplate = 0, MjIsplate = 0;  // year and month of the payment
  Date DatSlanja;                    // date of sending
  std::string IspisKB;               // "D"/"N": printouts show the control number
  std::string IdNastavak;            // last four characters of the form identifier
  std::string Identifikator;         // identifier of the current form
  std::string KonVeza;               // key of the current form
  std::string ImeDatoteke;           // path of the obligor's copy of the file
  std::string DatotekaRM0;           // path of the collective file
  std::string IzborPosla;            // "Novi file" or "Dodaj u file"
  std::string MbObveznika;           // obligor identity number as printed
  std::string IdObrasca;             // characters 4 to 7 of the identifier
  std::int16_t Kopiranje = 0;        // 1: the next new employee row copies the highlighted one
  std::int16_t ZahtjevPoslodavca = 0;  // request to the obligor window: 0 change, 1 new, 2 delete
  std::int16_t Status = 0;           // result flag of checks and processing

  // The bounds that ControlRangeLoad left; shared by all checking procedures.
  ControlRanges Ranges;
};

}  // namespace kdm
