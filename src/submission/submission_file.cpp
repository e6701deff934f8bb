#include "submission/submission_file.h"

#include <filesystem>
#include <system_error>

#include "data/catalogue.h"
#include "platform/cp1250.h"
#include "platform/regular_file.h"
#include "platform/text.h"

namespace kdm {
namespace {

constexpr FieldKind N = FieldKind::Numeric, A = FieldKind::Alpha, D = FieldKind::Date, S = FieldKind::Amount,
                    B = FieldKind::Blank;

std::vector<FixedLayout> buildLayouts() {
  std::vector<FixedLayout> out;
  out.emplace_back("SL0", std::vector<FixedField>{
                              {"KD0MBOO", 1, 12, N},
                              {"KD0MBGO", 13, 13, N},
                              {"KD0NAOB", 26, 50, A},
                              {"KD0ADOB", 76, 50, A},
                              {"KD0OSOB", 126, 50, A},
                              {"KD0TELE", 176, 10, A},
                              {"KD0MAIL", 186, 30, A},
                              {"KD0DTMN", 216, 8, D},
                              {"KD0OFOR", 224, 5, A},
                              {"KD0REZE", 229, 21, B},
                              {"KD0TIPS", 250, 1, A},
                          });
  out.emplace_back("SL3", std::vector<FixedField>{
                              {"KD3MBOO", 1, 12, N},
                              {"KD3MBGO", 13, 13, N},
                              {"KD3RBSU", 26, 4, A},
                              {"KD3NAOB", 30, 50, A},
                              {"KD3ADOB", 80, 50, A},
                              {"KD3VROB", 130, 2, A},
                              {"KD3MMGG", 132, 6, N},
                              {"KD3VROI", 138, 2, A},
                              {"KD3BROS", 140, 5, N},
                              {"KD3IBRT", 145, 15, S},
                              {"KD3IOSN", 160, 15, S},
                              {"KD3IST1", 175, 15, S},
                              {"KD3IST2", 190, 15, S},
                              {"KD3INET", 205, 15, S},
                              {"KD3IGMM", 220, 6, N},
                              {"KD3REZE", 226, 24, B},
                              {"KD3TIPS", 250, 1, A},
                          });
  out.emplace_back("SL5", std::vector<FixedField>{
                              {"KD5RBRO", 1, 5, N},
                              {"KD5MBGO", 6, 13, N},
                              {"KD5IMPR", 19, 30, A},
                              {"KD5GROP", 49, 4, A},
                              {"KD5OSOB", 53, 3, A},
                              {"KD5RAZD", 56, 4, N},
                              {"KD5IBRT", 60, 15, S},
                              {"KD5IOSN", 75, 15, S},
                              {"KD5IST1", 90, 15, S},
                              {"KD5IST2", 105, 15, S},
                              {"KD5INET", 120, 15, S},
                              {"KD5REZE", 135, 115, B},
                              {"KD5TIPS", 250, 1, A},
                          });
  out.emplace_back("SL7", std::vector<FixedField>{
                              {"KD7MBOO", 1, 12, N},
                              {"KD7MBGO", 13, 13, N},
                              {"KD7RBSU", 26, 4, A},
                              {"KD7BRSL", 30, 5, N},
                              {"KD7DTRS", 35, 8, D},
                              {"KD7REZE", 43, 207, B},
                              {"KD7TIPS", 250, 1, A},
                          });
  out.emplace_back("SL9", std::vector<FixedField>{
                              {"KD9MBOO", 1, 12, N},
                              {"KD9MBGO", 13, 13, N},
                              {"KD9DTMN", 26, 8, D},
                              {"KD9BROJ", 34, 6, N},
                              {"KD9REZE", 40, 82, B},
                              {"KD9DIGP", 122, 128, B},
                              {"KD9TIPS", 250, 1, A},
                          });
  return out;
}

bool numeric(std::string_view s) { return isDigits(trim(s)); }
bool allZeros(std::string_view s) { return trim(s).find_first_not_of('0') == std::string_view::npos; }

// The obligor's MB of a form: twelve zeros when it has none.
std::string formMb(const TBOBRAZA& a) {
  if (!numeric(a.MB01) || allZeros(a.MB01)) return std::string(12, '0');
  return encodeNumericText(a.MB01, 8) + (numeric(a.MB02) ? encodeNumericText(a.MB02, 4) : std::string("0000"));
}

std::string formMbg(const TBOBRAZA& a) {
  return numeric(a.JMBG) ? encodeNumericText(a.JMBG, 13) : std::string(13, '0');
}

// KD0MBOO/KD0MBGO (and KD9) of the authorised person; blank when unset.
void authorisedPerson(const APLPARAM& apl, HeaderRule rule, std::string& mb, std::string& mbg) {
  mb.clear();
  mbg.clear();
  auto part = [](const std::string& v, std::size_t w) {
    return numeric(v) ? encodeNumericText(v, w) : std::string(w, '0');
  };
  if (rule == HeaderRule::Collective) {
    mb = part(apl.MB01, 8) + part(apl.MB02, 4);
    mbg = part(apl.JMBG, 13);
    return;
  }
  if (numeric(apl.MB01) && !allZeros(apl.MB01)) {
    mb = encodeNumericText(apl.MB01, 8) + part(apl.MB02, 4);
    mbg = std::string(13, '0');
  }
  if (numeric(apl.JMBG) && !allZeros(apl.JMBG)) {
    mb = std::string(12, '0');
    mbg = encodeNumericText(apl.JMBG, 13);
  }
}

const std::string& labelPath(const char* label) { return findLabel(label)->diskName; }

}  // namespace

const std::vector<FixedLayout>& submissionLayouts() {
  static const std::vector<FixedLayout> layouts = buildLayouts();
  return layouts;
}

const FixedLayout* submissionLayout(char type) {
  const auto& all = submissionLayouts();
  switch (type) {
    case '0': return &all[0];
    case '3': return &all[1];
    case '5': return &all[2];
    case '7': return &all[3];
    case '9': return &all[4];
    default: return nullptr;
  }
}

const FixedField* submissionField(std::string_view name) {
  if (name.size() < 3) return nullptr;
  const FixedLayout* layout = submissionLayout(name[2]);
  return layout ? layout->field(name) : nullptr;
}

std::string formSerial(std::string_view identifier) {
  std::string id = padRight(leftChars(identifier, 7), 7);
  std::string_view serial = midChars(id, 3, 4);
  if (midChars(id, 6, 1) == " ") return "0" + std::string(midChars(id, 3, 3));
  return std::string(serial);
}

std::string headerRecord(const APLPARAM& apl, Date datSlanja, HeaderRule rule) {
  LineBuilder b(*submissionLayout('0'));
  std::string mb, mbg;
  authorisedPerson(apl, rule, mb, mbg);
  if (!mb.empty()) b.set("KD0MBOO", mb).set("KD0MBGO", mbg);
  b.set("KD0NAOB", apl.NAZIV)
      .set("KD0ADOB", apl.ADRESA)
      .set("KD0OSOB", apl.KONOSO)
      .set("KD0TELE", apl.TELEFON)
      .set("KD0MAIL", apl.EMAIL)
      .set("KD0DTMN", datSlanja)
      .set("KD0OFOR", kFormatMark)
      .set("KD0TIPS", "0");
  return b.str();
}

std::string formRecord(const TBOBRAZA& a, SignStyle sign) {
  char s = signCharacter(sign);
  LineBuilder b(*submissionLayout('3'));
  b.set("KD3MBOO", formMb(a))
      .set("KD3MBGO", formMbg(a))
      .set("KD3RBSU", formSerial(a.IDENTIFIKATOR))
      .set("KD3NAOB", a.NAZIV)
      .set("KD3ADOB", a.ADRESA)
      .set("KD3VROB", a.VRSTOBVEZNIKA)
      .set("KD3MMGG", encodeNumericText(a.OBRMJE, 2) + encodeNumericText(a.OBRGOD, 4))
      .set("KD3VROI", a.VRSUPLA)
      .set("KD3BROS", static_cast<std::int64_t>(a.BROJOSIG))
      .set("KD3IBRT", a.IZNOS7, s)
      .set("KD3IOSN", a.IZNOS8, s)
      .set("KD3IST1", a.IZNOS9, s)
      .set("KD3IST2", a.IZNOS10, s)
      .set("KD3INET", a.IZNOS11, s)
      .set("KD3IGMM", encodeNumericText(a.GODPLA, 4) + encodeNumericText(a.MJEPLA, 2))
      .set("KD3TIPS", "3");
  return b.str();
}

std::string insuredRecord(const TBOSIGUR& osi, std::int64_t ordinal, SignStyle sign) {
  char s = signCharacter(sign);
  LineBuilder b(*submissionLayout('5'));
  b.set("KD5RBRO", ordinal)
      .set("KD5MBGO", osi.JMBG)
      .set("KD5IMPR", osi.PREZIME)
      .set("KD5GROP", osi.OPCINA)
      .set("KD5OSOB", encodeAlpha(osi.OSNOVA1, 2) + encodeAlpha(osi.OSNOVA3, 1))
      .set("KD5RAZD", encodeNumeric(osi.OBRRAZD1, 2) + encodeNumeric(osi.OBRRAZD2, 2))
      .set("KD5IBRT", osi.IZNOS7, s)
      .set("KD5IOSN", osi.IZNOS8, s)
      .set("KD5IST1", osi.IZNOS9, s)
      .set("KD5IST2", osi.IZNOS10, s)
      .set("KD5INET", osi.IZNOS11, s)
      .set("KD5TIPS", "5");
  return b.str();
}

std::string formTrailerRecord(const TBOBRAZA& a, std::int64_t insuredRecords, Date datSlanja) {
  LineBuilder b(*submissionLayout('7'));
  b.set("KD7MBOO", formMb(a))
      .set("KD7MBGO", formMbg(a))
      .set("KD7RBSU", formSerial(a.IDENTIFIKATOR))
      .set("KD7BRSL", insuredRecords)
      .set("KD7DTRS", datSlanja)
      .set("KD7TIPS", "7");
  return b.str();
}

std::string fileTrailerRecord(const APLPARAM& apl, Date datSlanja, std::int64_t forms, HeaderRule rule) {
  LineBuilder b(*submissionLayout('9'));
  std::string mb, mbg;
  authorisedPerson(apl, rule, mb, mbg);
  if (!mb.empty()) b.set("KD9MBOO", mb).set("KD9MBGO", mbg);
  b.set("KD9DTMN", datSlanja).set("KD9BROJ", forms).set("KD9TIPS", "9");
  return b.str();
}

// --- writer ---

SubmissionWriter::SubmissionWriter(DataStore& store, Reporter& out, SignStyle sign)
    : store_(store), out_(out), sign_(sign) {
  const char* labels[] = {"TBVALTA", "TBSLOG0", "TBSLOG3", "TBSLOG5", "TBSLOG7", "TBSLOG9"};
  for (std::size_t i = 0; i < targets_.size(); ++i) targets_[i].label = labels[i];
}

SubmissionWriter::~SubmissionWriter() = default;

std::string SubmissionWriter::path() const { return store_.pathOf(labelPath("TBVALTA")); }

void SubmissionWriter::close(Target& t) {
  if (!t.file.isOpen()) return;
  if (t.file.close()) {
    out_.message("Greška kod zatvaranja " + t.label);
    if (&t == &targets_[0]) failed_ = true;
  }
}

bool SubmissionWriter::begin() {
  failed_ = false;
  rows_ = persons_ = 0;
  lastJmbg_.clear();
  for (Target& t : targets_) {
    close(t);
    t.reported = false;
    if (t.file.openEmpty(store_.pathOf(labelPath(t.label.c_str())))) {
      out_.message("Greška kod otvaranja " + t.label);
      if (&t == &targets_[0]) failed_ = true;
    }
  }
  return !failed_;
}

void SubmissionWriter::append(Target& t, std::string_view raw) {
  if (!t.file.isOpen()) return;
  Error e = t.file.appendRaw(raw);
  if (!e) return;
  if (&t == &targets_[0]) failed_ = true;
  if (!t.reported) out_.message("Greška " + e.text);
  t.reported = true;
}

void SubmissionWriter::write(std::string_view record) {
  if (!utf8ToCp1250(record, raw_)) {
    failed_ = true;
    out_.message("Greška " + std::string(errorText(ErrorCode::NotEncodable)));
    return;
  }
  raw_.resize(kSubmissionRecordWidth, ' ');
  switch (raw_.back()) {
    case '0': append(targets_[1], raw_); break;
    case '3': append(targets_[2], raw_); break;
    case '5': append(targets_[3], raw_); break;
    case '7': append(targets_[4], raw_); break;
    case '9': append(targets_[5], raw_); break;
    default: break;
  }
  append(targets_[0], raw_);
}

void SubmissionWriter::writeHeader(const APLPARAM& apl, Date datSlanja) {
  write(headerRecord(apl, datSlanja, HeaderRule::OneForm));
}

void SubmissionWriter::writeForm(const TBOBRAZA& a) {
  rows_ = persons_ = 0;
  lastJmbg_.clear();
  write(formRecord(a, sign_));
}

void SubmissionWriter::writeInsured(const TBOSIGUR& osi) {
  if (rows_ == 0 || osi.JMBG != lastJmbg_) ++persons_;
  lastJmbg_ = osi.JMBG;
  ++rows_;
  write(insuredRecord(osi, persons_, sign_));
}

void SubmissionWriter::writeFormTrailer(const TBOBRAZA& a, Date datSlanja) {
  write(formTrailerRecord(a, rows_, datSlanja));
}

void SubmissionWriter::writeFileTrailer(const APLPARAM& apl, Date datSlanja) {
  write(fileTrailerRecord(apl, datSlanja, 1, HeaderRule::OneForm));
}

bool SubmissionWriter::finish() {
  for (Target& t : targets_) close(t);
  return !failed_;
}

// --- reader ---

void SubmissionLine::assign(std::string_view rawLine) {
  raw_.assign(rawLine.substr(0, kSubmissionRecordWidth));
  raw_.resize(kSubmissionRecordWidth, ' ');
}

std::string SubmissionLine::text() const { return cp1250ToUtf8(raw_); }

std::string SubmissionLine::field(std::string_view name) const {
  const FixedField* f = submissionField(name);
  return f ? field(*f) : std::string();
}

std::string SubmissionLine::field(const FixedField& f) const {
  if (f.position > kSubmissionRecordWidth) return std::string(f.width, ' ');
  std::string value = cp1250ToUtf8(std::string_view(raw_).substr(f.position - 1, f.width));
  std::size_t n = charCount(value);
  if (n < f.width) value.append(f.width - n, ' ');
  return value;
}

Error copyForReading(const std::string& path, const std::string& copyPath) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (Error e = requireRegularFile(path)) return e;
  if (fs::equivalent(path, copyPath, ec)) return ok();
  fs::copy_file(path, copyPath, fs::copy_options::overwrite_existing, ec);
  if (ec) {
    ErrorCode code = ec == std::errc::permission_denied ? ErrorCode::AccessDenied : ErrorCode::ReadError;
    return makeError(code, ec.message() + ": " + path);
  }
  return ok();
}

Error SubmissionReader::open(DataStore& store, const std::string& path) {
  file_.close();
  lines_ = 0;
  std::string copy = store.pathOf(labelPath("TBVALTA1"));
  if (Error e = copyForReading(path, copy)) return e;
  return file_.openRead(copy, false);
}

bool SubmissionReader::next(SubmissionLine& line) {
  if (!file_.readLine(buf_)) return false;
  ++lines_;
  line.assign(buf_);
  return true;
}

}  // namespace kdm
