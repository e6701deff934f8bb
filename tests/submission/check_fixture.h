// A delivered data directory with a valid authorised person and today
// fixed at 15 June 2005, and clean submission files to spoil one field at
// a time, for the tests of the formal check and its reviews.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "data/record_layer.h"
#include "data/records.h"
#include "data/seed.h"
#include "platform/text.h"
#include "platform/textfile.h"
#include "submission/formal_check.h"
#include "submission/submission_file.h"
#include "temp_dir.h"

namespace kdm::test {

inline Decimal money(const char* text) { return *Decimal::parse(text); }

// A valid MBG made of the day 01.01.1990 and `serial`.
inline std::string validMbg(int serial) {
  for (int s = serial;; s += 1000) {
    char base[16];
    std::snprintf(base, sizeof base, "0101990%05d", s % 100000);
    static constexpr int w[] = {7, 6, 5, 4, 3, 2, 7, 6, 5, 4, 3, 2};
    int sum = 0;
    for (int i = 0; i < 12; ++i) sum += w[i] * (base[i] - '0');
    int r = sum % 11;
    if (r == 1) continue;
    return std::string(base) + static_cast<char>('0' + (r == 0 ? 0 : 11 - r));
  }
}

inline constexpr const char* kValidMb = "12345679";
inline constexpr const char* kMunicipality = "0019";

// One form of the file: its page A and page-B rows; the totals, number of
// persons and trailer count are computed from the rows.
struct FormSpec {
  TBOBRAZA a;
  std::vector<TBOSIGUR> rows;
};

inline TBOSIGUR person(int serial, const char* base = "1000.00") {
  TBOSIGUR r;
  r.JMBG = validMbg(serial);
  r.PREZIME = "Šimić Željka " + std::to_string(serial);
  r.OPCINA = kMunicipality;
  r.CLANDN = "D";
  r.OSNOVA1 = "11";
  r.OBRRAZD1 = 1;
  r.OBRRAZD2 = 31;
  r.IZNOS7 = r.IZNOS8 = money(base);
  r.IZNOS9 = r.IZNOS8.percent(money("15"));
  r.IZNOS10 = r.IZNOS8.percent(money("5"));
  r.IZNOS11 = r.IZNOS7 - r.IZNOS9 - r.IZNOS10;
  return r;
}

inline FormSpec formOf(int persons, int serial = 1) {
  FormSpec f;
  f.a.IDENTIFIKATOR = "001500" + std::to_string(serial);
  f.a.VRSUPLA = "01";
  f.a.KONVEZA = f.a.IDENTIFIKATOR + "01";
  f.a.MB01 = kValidMb;
  f.a.MB02 = "0000";
  f.a.JMBG = "0000000000000";
  f.a.NAZIV = "Poduzeće Čačak d.o.o.";
  f.a.ADRESA = "Ilica 1, Zagreb";
  f.a.VRSTOBVEZNIKA = "01";
  f.a.OBRMJE = "05";
  f.a.OBRGOD = "2005";
  f.a.GODPLA = "2005";
  f.a.MJEPLA = "06";
  for (int i = 0; i < persons; ++i) f.rows.push_back(person(serial * 100 + i));
  return f;
}

class CheckStore : public testing::Test {
 protected:
  TempDir dir;
  std::unique_ptr<DataStore> store;
  Globals GLO;
  CollectingReporter out;
  APLPARAM apl;
  const Date sent = *Date::fromYmd(2005, 6, 10);

  void SetUp() override {
    setenv("KDM_TODAY", "2005-06-15", 1);
    InitResult result;
    ASSERT_FALSE(initDataDirectory(dir.path(), result));
    ASSERT_FALSE(DataStore::open(dir.path(), false, store));
    setAuthorisedJmbg(validMbg(1));
    File<APLPARAM> f(*store);
    f.open();
    f.rec.RB = 1;
    ASSERT_FALSE(f.get("KEYRB"));
    apl = f.rec;
  }
  void TearDown() override { unsetenv("KDM_TODAY"); }

  void setAuthorisedJmbg(const std::string& jmbg) {
    File<APLPARAM> f(*store);
    f.open();
    f.rec.RB = 1;
    ASSERT_FALSE(f.get("KEYRB"));
    f.rec.JMBG = jmbg;
    ASSERT_FALSE(f.put());
  }

  // The records of a file of `forms`, as UTF-8 lines; totals from the rows.
  std::vector<std::string> fileOf(std::vector<FormSpec> forms, HeaderRule rule = HeaderRule::OneForm) {
    std::vector<std::string> lines{headerRecord(apl, sent, rule)};
    for (FormSpec& f : forms) {
      f.a.IZNOS7 = f.a.IZNOS8 = f.a.IZNOS9 = f.a.IZNOS10 = f.a.IZNOS11 = Decimal();
      std::string last;
      f.a.BROJOSIG = 0;
      for (const TBOSIGUR& r : f.rows) {
        f.a.IZNOS7 += r.IZNOS7;
        f.a.IZNOS8 += r.IZNOS8;
        f.a.IZNOS9 += r.IZNOS9;
        f.a.IZNOS10 += r.IZNOS10;
        f.a.IZNOS11 += r.IZNOS11;
        if (r.JMBG != last) ++f.a.BROJOSIG;
        last = r.JMBG;
      }
      lines.push_back(formRecord(f.a, SignStyle::Zero));
      std::int64_t ordinal = 0;
      last.clear();
      for (const TBOSIGUR& r : f.rows) {
        if (r.JMBG != last) ++ordinal;
        last = r.JMBG;
        lines.push_back(insuredRecord(r, ordinal, SignStyle::Zero));
      }
      lines.push_back(formTrailerRecord(f.a, static_cast<std::int64_t>(f.rows.size()), sent));
    }
    lines.push_back(fileTrailerRecord(apl, sent, static_cast<std::int64_t>(forms.size()), rule));
    return lines;
  }

  // `line` with field `name` replaced by `value` (blank-padded or cut).
  static void setField(std::string& line, const char* name, const std::string& value) {
    const FixedField* f = submissionField(name);
    line = std::string(leftChars(line, f->position - 1)) + fitWidth(value, f->width) +
           std::string(midChars(line, f->end(), std::string::npos));
  }

  std::string write(const std::vector<std::string>& lines, const std::string& name = "F0015001.TXT") {
    std::string path = dir.file(name);
    TextFile f;
    EXPECT_FALSE(f.openEmpty(path));
    for (const std::string& l : lines) EXPECT_FALSE(f.appendLine(l));
    f.close();
    return path;
  }
  std::string writeBytes(const std::string& bytes, const std::string& name = "raw.TXT") {
    std::string path = dir.file(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  bool check(const std::string& path, CheckSummary* summary = nullptr) {
    return runFormalCheck(GLO, *store, path, out, summary);
  }
  bool check(const std::vector<std::string>& lines, CheckSummary* summary = nullptr) {
    return check(write(lines), summary);
  }

  // Every finding as "record COLUMN T message", in key order.
  std::vector<std::string> findings(std::int64_t record = 0) {
    std::vector<std::string> all;
    File<TBIZLAZ1> f(*store);
    EXPECT_FALSE(f.open());
    f.setStart("KEYVRSTA");
    while (!f.next())
      if (record == 0 || f.rec.REDBROJ == record)
        all.push_back(std::to_string(f.rec.REDBROJ) + " " + f.rec.KOLONA + " " + f.rec.TIP + " " + f.rec.GRESKA);
    return all;
  }
  std::vector<TBIZLAZ> records() {
    std::vector<TBIZLAZ> all;
    File<TBIZLAZ> f(*store);
    EXPECT_FALSE(f.open());
    f.setStart("KEYVRSTA");
    while (!f.next()) all.push_back(f.rec);
    return all;
  }
};

inline std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace kdm::test
