// The checks of one selected payroll line.
//
// The input check and the forming of forms apply nearly the same checks in
// nearly the same order: the five amounts, the insured person's MBG, the
// codes of basis, municipality and increased service, pillar-II
// membership, the control-matrix row of (obligor type, payment type,
// basis) and the bounds it gives to the month, year, days and amounts, and
// the contributions expected from the rate table. They differ in wording,
// in which findings keep a line out, in a few conditions (forms skip most
// checks for the payment types "99" and "88", and take the base flag of
// IV.8 where the input check takes the range flag of IV.9), and in where a
// person's earlier amounts come from. LineChecker holds both variants side
// by side so that the differences stay visible in one place.
//
// The code tables a line is checked against are read once per run into
// memory (CodeTables): they are small, nothing changes them during a run,
// and a payroll file may have a million lines. Lookups compare as the
// store's keys do: letter case and trailing blanks do not count.
//
// A line without a control-matrix row gets its finding and no range
// checks: it has no bounds of its own. The contribution differences do not
// depend on the matrix and are still checked.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "app/globals.h"
#include "data/record_layer.h"
#include "data/records.h"
#include "platform/decimal.h"
#include "platform/errors.h"

namespace kdm {

class CodeTables {
 public:
  // Reads TBOSNOBR, TBOPCINE, TBOZNSTA, VEZNATAB and TBSTOPE.
  Error load(DataStore& store);

  void addBasis(std::string_view code);
  void addMunicipality(std::string_view code);
  void addService(std::string_view code);
  void addMatrixRow(const VEZNATAB& row);
  void addRates(const TBSTOPE& row);

  bool hasBasis(std::string_view code) const;         // TBO:KEYSIFRA
  bool hasMunicipality(std::string_view code) const;  // OPC:KEYSIFRA
  bool hasService(std::string_view code) const;       // STA:KEYSIFRA
  // VEZ:KEYVOB_VOI; nullptr when there is no such row.
  const VEZNATAB* matrixRow(std::string_view vob, std::string_view voi, std::string_view oo) const;
  // STO1:KEYOSNOV; nullptr when there is no such row.
  const TBSTOPE* rates(std::string_view clanDn, std::string_view vrstObracuna, std::string_view vrstaObveznika,
                       std::string_view osnovObra, std::string_view staz) const;

 private:
  std::unordered_set<std::string> bases_, municipalities_, services_;
  std::unordered_map<std::string, VEZNATAB> matrix_;
  std::unordered_map<std::string, TBSTOPE> rates_;
};

enum class CheckRun { InputCheck, Forms };

// The amounts IV.7 to IV.11 by column 0 to 4.
using Amounts = std::array<Decimal, 5>;

// What the checks made of one line.
struct LineVerdict {
  bool marked = false;     // kept out: not accepted, not taken
  bool errorFlag = false;  // counts as a line with errors (forms)
  Amounts amounts{};       // decoded; 0 where not valid
  const TBSTOPE* rates = nullptr;
};

class LineChecker {
 public:
  // A finding's message; the caller stores it with the line.
  using Sink = std::function<void(const std::string& text)>;
  // The remembered amount of a column, asked for only when a zero amount
  // under a positive lower bound needs it.
  using Remembered = std::function<Decimal(int column)>;

  LineChecker(CheckRun run, const CodeTables& tables, Globals& GLO);

  // The run's choices: the obligor type (GLO.VO) the matrix and the rates
  // are looked up with, the obligor type the input check names in its
  // finding of a missing row (POS:VRSTOBVEZNIKA), the payment type
  // (GLO.VrsUpl) and the chosen year and month.
  void choose(std::string vob, std::string obligorType, std::string vrsUpl, int year, int month);

  LineVerdict check(const TBUPLATE& line, const Remembered& remembered, const Sink& sink);

 private:
  void loadBounds(const VEZNATAB* row);

  CheckRun run_;
  const CodeTables& tables_;
  Globals& GLO_;
  std::string vob_, obligorType_, vrsUpl_;
  int year_ = 0, month_ = 0;
  const VEZNATAB* loaded_ = nullptr;
};

// An amount as the messages show it: ten positions, two decimals.
std::string amountN10(Decimal value);

}  // namespace kdm
