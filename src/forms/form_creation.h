// Forming one K-Dm form with its submission file from the employee rows.
//
// The window "Formiranje obrazaca K-Dm" and the command `kdm form` both
// drive these functions: opening sets the defaults, choosing an obligor
// proposes its next sequence number, the field checks run as fields are
// left, and processObligor() does the whole "&Obrada obveznika": the checks
// before anything changes, the old page-B rows of the form deleted, the
// employee rows of the period taken as new page-B rows, page A summed from
// them, the submission file written, hashed and copied under the obligor's
// own name, the form listed for the collective file and its control number
// stored. Everything it tells the user goes through the Reporter; the
// result is GLO.Status (2 when the obligor was processed completely).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/globals.h"
#include "data/record_layer.h"
#include "data/run_unit.h"
#include "data/records.h"
#include "platform/report.h"

namespace kdm {

// "Pojedinačno slanje" or "Zbirno slanje"; None until one is chosen.
enum class DeliveryMode { None, Single, Collective };

inline constexpr const char* kNewFile = "Novi file";
inline constexpr const char* kAddToFile = "Dodaj u file";
inline constexpr const char* kPlaceholderJmbg = "1111111111111";

// Opening the window: reads the parameters; with the placeholder MBG shows
// the refusal and returns false, else sets today's date, year and month
// and "D" for the control number on printouts.
bool openFormCreation(Globals& GLO, DataStore& store, Reporter& out);

// Choosing an obligor in the drop list: its number, name and type, and the
// next free sequence number. False (with "Greška kod čitanja TBPOSLOD") when
// there is no such obligor.
bool chooseObligor(Globals& GLO, DataStore& store, std::int16_t number, Reporter& out);

// Checks of the fields as they are left; each reports its message and the
// field, and returns false when the cursor stays.
bool leaveYearField(Globals& GLO, const std::string& typed, Reporter& out);
bool leaveMonthField(Globals& GLO, Reporter& out);
bool leaveDayField(Globals& GLO, std::int16_t day, Reporter& out);
bool leavePayMonthField(Globals& GLO, Reporter& out);
// GLO.ZadBroj must fit the digits the identifier holds for the obligor
// GLO.Firma (see identifierSuffix): two or three.
bool leaveSequenceField(Globals& GLO, DataStore& store, Reporter& out);

// The form identifier's last four characters for an obligor: types "30"
// and "31" get "9" + year digit + two-digit sequence, a natural person
// (13-character MBG other than zeros) year digit + two digits + a blank,
// everybody else year digit + three digits.
std::string identifierSuffix(const std::string& obligorType, const std::string& obligorJmbg, int year, int sequence);
// "F" + obligor (3 digits) + year digit + sequence (3 digits) + ".TXT".
std::string submissionCopyName(int obligor, int year, int sequence);

// "&Obrada obveznika". Returns true exactly when GLO.Status is 2.
bool processObligor(Globals& GLO, DataStore& store, DeliveryMode mode, Reporter& out);

// The steps that forming from employee rows and forming from a payroll
// file share.
enum class FormSource { EmployeeRows, Payroll };

// The identifier, key and file names of the form being formed, from the
// globals, the parameters and the obligor's MBG.
void buildFormNames(Globals& GLO, DataStore& store, const APLPARAM& apl, const std::string& obligorJmbg);
// Deletes the page-B rows of the form GLO.KonVeza (of type "99" only the
// rows of that type), reporting each; `osi` is an open TBOSIGUR.
void deleteFormRows(Globals& GLO, RecordFile& osi, Reporter& out);
// The files a forming run holds against every other run for its whole
// length: the submission file's work files, the page-B and page-A files,
// the list of forms, the obligors (the sequence number), and for a payroll
// file its staged copy and the error list.
const std::vector<std::string>& formRunFiles(FormSource source);
// Holds those files and begins the run that delivers GLO.ImeDatoteke;
// reports and returns false when another run holds one of them.
bool beginFormRun(Globals& GLO, RunUnit& run, FormSource source, Reporter& out);
// From the page-B rows of the form on, inside the begun `run`: page A with
// its totals (refused when they or the person count do not fit the
// submission file), the obligor's last sequence number, the submission
// file, its hash and the obligor's copy staged, the collective list, the
// control number, the run's commit and GLO.Status. A failure at any step
// leaves the store and the output directory as they were before the run.
// Rows from a payroll file give "+" sign characters, take the MB only when
// it is given, and report as the take-over does.
bool completeForm(Globals& GLO, DataStore& store, const APLPARAM& apl, DeliveryMode mode, const TBPOSLOD& pos,
                  FormSource source, RunUnit& run, Reporter& out);

// "&Provjera obrade za obveznika": builds the key of the form as the
// processing does and tells whether the form exists ("Nema obrasca broj
// ..." when not); GLO.KonVeza is set for the page-A window.
bool lookUpForm(Globals& GLO, DataStore& store, Reporter& out);

}  // namespace kdm
