// Payroll lines of any bytes: cut into fields, selected, their amounts
// decoded, and checked as the input check and the forming of forms check
// them, against code tables held in memory. Every line must go back to its
// bytes, every valid amount to its digits, every finding be text.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "import/line_checks.h"
#include "import/payroll_file.h"
#include "platform/cp1250.h"
#include "platform/text.h"
#include "submission/fixed_layout.h"

namespace {

using namespace kdm;

const CodeTables& tables() {
  static const CodeTables t = [] {
    CodeTables c;
    c.addBasis("11");
    c.addBasis("12");
    c.addMunicipality("1333");
    c.addService("");
    c.addService("1");
    VEZNATAB row;
    row.VOB = "01";
    row.VOI = "01";
    row.OO = "11";
    row.OBRMJE = row.GODINA = row.DANOD = row.DANDO = row.IZNOS7 = row.IZNOS8 = row.IZNOS9 = ">0  ";
    row.IZNOS10 = row.IZNOS11 = ">=0 ";
    c.addMatrixRow(row);
    row.OO = "12";
    row.IZNOS8 = "<=>0";
    row.OBRMJE = "= 0 ";
    c.addMatrixRow(row);
    TBSTOPE rates;
    rates.CLANDN = "D";
    rates.VRSTOBRACUNA = "01";
    rates.VRSTAOBVEZNIKA = "01";
    rates.OSNOVOBRA = "11";
    rates.PRVISTUP1 = Decimal::fromInt(15);
    rates.DRUGISTUP1 = Decimal::fromInt(5);
    c.addRates(rates);
    return c;
  }();
  return t;
}

void checkLine(std::string_view raw) {
  TBUPLATE line;
  decodeLine(raw, line);

  // Byte for byte: the fields give back the line, padded or cut to 194.
  std::string back, piece;
  for (const std::string* f :
       {&line.RBOSOB, &line.MB, &line.MB2, &line.VRSOBV, &line.VRSTAUPLA, &line.IDENTIFIKATOR, &line.GODOBRA,
        &line.OBRMJE, &line.OBRRAZD1, &line.OBRRAZD2, &line.JMBG, &line.PREZIME, &line.OPCINA, &line.CLANDN,
        &line.OSNOVA1, &line.OSNOVA3, &line.IZNOS7, &line.IZNOS8, &line.IZNOS9, &line.IZNOS10, &line.IZNOS11}) {
    if (!utf8ToCp1250(*f, piece)) std::abort();
    back += piece;
  }
  std::string expected(raw.substr(0, kPayrollLineWidth));
  expected.resize(kPayrollLineWidth, ' ');
  if (back != expected) std::abort();

  for (const std::string* f : {&line.IZNOS7, &line.IZNOS8, &line.IZNOS9, &line.IZNOS10, &line.IZNOS11}) {
    auto a = payrollAmount(*f);
    if (a && encodeAmount(*a, '0').substr(1) != f->substr(1)) std::abort();
  }

  PayrollSelection selection;
  selection.obligor.MB01 = "12345679";
  selection.year = 2005;
  selection.month = 5;
  selection.dayTo = 31;
  selection.type = linePaymentType("01");
  bool selected = selection.selects(line);
  (void)lineObligor(line);

  Globals GLO;
  for (CheckRun run : {CheckRun::InputCheck, CheckRun::Forms}) {
    for (const char* type : {"01", "99"}) {
      LineChecker checker(run, tables(), GLO);
      checker.choose("01", "01", type, selected ? 2005 : fieldNumber(line.GODOBRA), fieldNumber(line.OBRMJE));
      LineVerdict v = checker.check(
          line, [&](int column) { return column % 2 ? Decimal::fromInt(column) : Decimal(); },
          [](const std::string& text) {
            if (text.empty() || !isValidUtf8(text) || !isCp1250Text(text)) std::abort();
          });
      if (v.marked && !v.errorFlag) std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  while (!bytes.empty()) {
    std::size_t nl = bytes.find('\n');
    std::string_view raw = bytes.substr(0, nl);
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    checkLine(raw);
    if (nl == std::string_view::npos) break;
    bytes.remove_prefix(nl + 1);
  }
  return 0;
}
