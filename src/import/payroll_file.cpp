#include "import/payroll_file.h"

#include "data/catalogue.h"
#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/regular_file.h"
#include "platform/text.h"

namespace kdm {
namespace {

constexpr std::size_t kAmountWidth = 15;

// The widths of TBUPLATE's fields, in declaration order.
const std::vector<std::size_t>& lineWidths() {
  static const std::vector<std::size_t> widths = findLabel("TBUPLATE")->widths();
  return widths;
}

// One field's bytes as UTF-8, blank-padded to `width` characters.
void assignField(std::string& out, std::string_view bytes, std::size_t width) {
  out.clear();
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) < 0x80)
      out += c;
    else
      out += cp1250ToUtf8(std::string_view(&c, 1));
  }
  if (bytes.size() < width) out.append(width - bytes.size(), ' ');
}

}  // namespace

std::optional<Decimal> payrollAmount(std::string_view field) {
  if (field.size() != kAmountWidth) return std::nullopt;
  char sign = field[0];
  if (sign != '-' && sign != '+' && sign != '0' && sign != ' ') return std::nullopt;
  std::int64_t cents = 0;
  for (std::size_t i = 1; i < kAmountWidth; ++i) {
    char c = field[i];
    if (c < '0' || c > '9') return std::nullopt;
    cents = cents * 10 + (c - '0');
  }
  Decimal value = Decimal::fromUnits(cents * (Decimal::kUnit / 100));
  return sign == '-' ? -value : value;
}

int fieldNumber(std::string_view field) {
  std::string_view t = trim(field);
  if (!isDigits(t) || t.size() > 9) return 0;
  int v = 0;
  for (char c : t) v = v * 10 + (c - '0');
  return v;
}

std::string digitsOrZeros(std::string_view text, std::size_t width) {
  return isDigits(text) ? std::string(text) : std::string(width, '0');
}

std::string linePaymentType(std::string_view vrsUpl) {
  return padLeft(std::to_string(fieldNumber(vrsUpl) % 100), 2, '0');
}

void decodeLine(std::string_view raw, TBUPLATE& line) {
  const auto& w = lineWidths();
  std::string* fields[] = {&line.RBOSOB, &line.MB,      &line.MB2,     &line.VRSOBV, &line.VRSTAUPLA, &line.IDENTIFIKATOR,
                           &line.GODOBRA, &line.OBRMJE, &line.OBRRAZD1, &line.OBRRAZD2, &line.JMBG,     &line.PREZIME,
                           &line.OPCINA, &line.CLANDN,  &line.OSNOVA1, &line.OSNOVA3, &line.IZNOS7,    &line.IZNOS8,
                           &line.IZNOS9, &line.IZNOS10, &line.IZNOS11};
  static_assert(sizeof fields / sizeof fields[0] == 21);
  std::size_t pos = 0;
  for (std::size_t i = 0; i < w.size(); ++i) {
    std::string_view piece = pos < raw.size() ? raw.substr(pos, w[i]) : std::string_view{};
    assignField(*fields[i], piece, w[i]);
    pos += w[i];
  }
}

Error PayrollReader::open(const std::string& path) {
  lines_ = 0;
  return file_.openRead(path, false);
}

bool PayrollReader::next(TBUPLATE& line) {
  if (!file_.readLine(raw_)) return false;
  ++lines_;
  decodeLine(raw_, line);
  return true;
}

PayrollObligor PayrollObligor::of(const TBPOSLOD& pos) {
  PayrollObligor o;
  o.MB01 = digitsOrZeros(pos.MB01, 8);
  o.MB02 = digitsOrZeros(pos.MB02, 4);
  o.JMBG = digitsOrZeros(pos.JMBG, 13);
  return o;
}

PayrollObligor lineObligor(const TBUPLATE& line) {
  PayrollObligor o;
  o.MB01 = digitsOrZeros(leftChars(line.MB, 8), 8);
  o.MB02 = digitsOrZeros(midChars(line.MB, 8, 4), 4);
  o.JMBG = digitsOrZeros(line.MB2, 13);
  return o;
}

bool PayrollSelection::selects(const TBUPLATE& line) const {
  if (digitsOrZeros(leftChars(line.MB, 8), 8) != obligor.MB01) return false;
  if (digitsOrZeros(midChars(line.MB, 8, 4), 4) != obligor.MB02) return false;
  if (digitsOrZeros(line.MB2, 13) != obligor.JMBG) return false;
  if (fieldNumber(line.GODOBRA) != year) return false;
  if (fieldNumber(line.OBRMJE) != month) return false;
  int from = fieldNumber(line.OBRRAZD1), to = fieldNumber(line.OBRRAZD2);
  if (from < dayFrom || from > dayTo) return false;
  if (to < dayFrom || to > dayTo) return false;
  return line.VRSTAUPLA == type;
}

bool stagePayrollFile(DataStore& store, const std::string& path, Reporter& out) {
  std::string name(trimRight(path));
  if (requireRegularFile(name) || copyFileReplacing(name, store.pathOf(kStagedPayroll))) {
    out.message("Greška kod preuzimanja podataka " + name);
    out.focus("Ulazna datoteka");
    return false;
  }
  return true;
}

bool openStagedPayroll(DataStore& store, PayrollReader& reader, Reporter& out) {
  if (Error e = reader.open(store.pathOf(kStagedPayroll))) {
    out.message("Greška. Open TBUPLATE " + e.text);
    return false;
  }
  return true;
}

bool readImportObligor(DataStore& store, std::int16_t firma, TBPOSLOD& pos, Reporter& out) {
  File<TBPOSLOD> file(store);
  file.rec.REDBROJ = firma;
  Error e = file.open();
  if (!e) e = file.get("KEYREDBROJ");
  if (e) {
    out.message("Greška " + std::to_string(e.code));
    return false;
  }
  pos = file.rec;
  return true;
}

}  // namespace kdm
