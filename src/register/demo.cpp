#include "register/demo.h"

#include <cstdio>
#include <string>

#include "app/parameters.h"
#include "checks/checks.h"
#include "platform/clock.h"
#include "register/contributions.h"
#include "register/employee.h"
#include "register/obligor.h"

namespace kdm {
namespace {

// The number that passes `check` when `stem` is completed by one more
// digit; empty when no digit does (a stem whose remainder allows none).
template <class Check>
std::string completed(Globals& GLO, const std::string& stem, Check check) {
  for (char d = '0'; d <= '9'; ++d) {
    std::string n = stem + d;
    if (check(GLO, n)) return n;
  }
  return {};
}

// A personal number of someone born on day.month.year, registered in
// Zagreb (33) under `serial`: the first serial at or after it that has a
// check digit.
std::string personalNumber(Globals& GLO, int day, int month, int year, int serial) {
  for (;; ++serial) {
    char stem[64];
    std::snprintf(stem, sizeof stem, "%02d%02d%03d33%03d", day, month, year % 1000, serial % 1000);
    std::string n = completed(GLO, stem, MbgCheck);
    if (!n.empty()) return n;
  }
}

std::string companyNumber(Globals& GLO, int stem) {
  for (;; ++stem) {
    std::string n = completed(GLO, std::to_string(stem), MbCheck);
    if (!n.empty()) return n;
  }
}

int daysIn(int year, int month) {
  int last = 28;
  while (last < 31 && Date::fromYmd(year, month, last + 1)) ++last;
  return last;
}

struct Person {
  const char* name;
  const char* municipality;  // codes of the delivered table
  char member;               // pillar II
  int gross;                 // whole kuna
};

constexpr Person kPeople[] = {
    {"Horvat Ana", "1333", 'D', 9800},       {"Kovačević Marko", "1333", 'D', 12400},
    {"Babić Ivana", "4090", 'D', 7600},      {"Marić Tomislav", "3735", 'N', 15300},
    {"Jurić Petra", "1333", 'D', 6900},      {"Novak Josip", "3123", 'D', 8200},
    {"Knežević Maja", "5207", 'D', 10100},   {"Vuković Ante", "4090", 'N', 11750},
    {"Šarić Lucija", "4723", 'D', 5800},     {"Perić Ivan", "1333", 'D', 13600},
    {"Pavlović Ema", "3735", 'D', 7150},     {"Božić Luka", "1333", 'D', 9400},
    {"Blažević Nina", "3123", 'D', 8650},    {"Grgić Stjepan", "4723", 'N', 14200},
    {"Pavić Marija", "1333", 'D', 6400},     {"Radić Filip", "5207", 'D', 7950},
    {"Lovrić Katarina", "4090", 'D', 9050},  {"Jukić Nikola", "1333", 'N', 16800},
    {"Kolar Martina", "3735", 'D', 5600},    {"Matić Dario", "1333", 'D', 8800},
    {"Tomić Sara", "3123", 'D', 7300},       {"Kovač Hrvoje", "4723", 'D', 10900},
    {"Vidović Ivona", "1333", 'D', 6150},    {"Čović Mateo", "4090", 'D', 11300},
    {"Đurić Lana", "5207", 'D', 7700},       {"Žužić Krešimir", "1333", 'N', 13050},
    {"Pranjić Tea", "1333", 'D', 8400},      {"Bašić Domagoj", "3735", 'D', 9600},
    {"Filipović Iva", "1333", 'D', 6750},    {"Mikulić Zoran", "3123", 'D', 12050},
};

struct Employer {
  const char* type;
  const char* basis;  // of insurance, as the control matrix has it for the type
  const char* name;
  const char* address;
  const char* contact;
  int people;         // how many of kPeople, in turn
};

constexpr Employer kEmployers[] = {
    {"01", "11", "Primjer d.o.o.", "Ilica 100, 10000 Zagreb", "Ivana Horvat", 16},
    {"02", "12", "Obrt Stolarija Novak", "Vukovarska 12, 21000 Split", "Josip Novak", 9},
    {"17", "13", "Veleposlanstvo Primjerske Republike", "Trg žrtava fašizma 3, 10000 Zagreb", "Anna Schmidt", 5},
};

bool addObligor(Globals& GLO, DataStore& store, int number, const Employer& e, Reporter& out) {
  TBPOSLOD pos;
  primeNewObligor(pos);
  pos.REDBROJ = static_cast<std::int16_t>(number);
  pos.VRSTOBVEZNIKA = e.type;
  pos.NAZIV = e.name;
  pos.ADRESA = e.address;
  pos.KONTAKT = e.contact;
  pos.TELEFON = "01" + std::to_string(4550000 + number);
  pos.EMAIL = "info" + std::to_string(number) + "@primjer.hr";
  if (std::string(e.type) == "01") {
    pos.MB01 = companyNumber(GLO, 3456780 + number * 10);
    pos.MB02 = "0001";
  } else if (std::string(e.type) == "02") {
    pos.MB01 = "00000000";
    pos.JMBG = personalNumber(GLO, 14, 3, 1971, 100 + number);
  }
  GLO.Firma = pos.REDBROJ;
  return saveObligor(GLO, store, pos, true, out);
}

bool addRow(Globals& GLO, DataStore& store, int obligor, const Employer& e, const Person& p, int index, Date month,
            Reporter& out) {
  TBZAPOSL rad;
  rad.REDBROJ = static_cast<std::int16_t>(obligor);
  rad.JMBG = personalNumber(GLO, 1 + index % 28, 1 + index % 12, 1960 + index, 200 + index * 7);
  rad.PREZIME = p.name;
  rad.OPCINA = p.municipality;
  rad.VRSOBV = e.type;
  rad.VRSTAUPLA = "01";
  rad.CLANDN = std::string(1, p.member);
  rad.OSNOVA1 = e.basis;
  rad.GODOBRA = static_cast<std::int16_t>(month.year());
  rad.MJEOBRA = static_cast<std::int16_t>(month.month());
  rad.ODDANA = 1;
  rad.DODANA = static_cast<std::int16_t>(daysIn(month.year(), month.month()));
  rad.IZNOS7 = Decimal::fromInt(p.gross);
  rad.IZNOS8 = rad.IZNOS7;
  if (!calculateContributions(store, rad)) {
    out.message("No contribution rates for the demonstration row of " + std::string(p.name));
    return false;
  }
  // Net pay as the payroll would have it: gross less contributions and a
  // flat fifth of the rest as income tax.
  const Decimal afterContributions = rad.IZNOS7 - rad.IZNOS9 - rad.IZNOS10;
  rad.IZNOS11 = afterContributions - afterContributions.percent(Decimal::fromInt(20));
  GLO.Firma = rad.REDBROJ;
  return saveEmployeeRow(GLO, store, rad, true, 0, out);
}

}  // namespace

bool fillDemoSet(Globals& GLO, DataStore& store, Reporter& out, DemoSet* added) {
  {
    RecordFile obligors(store, TBPOSLOD::kLabel);
    if (Error e = obligors.open()) {
      out.message("Greška kod otvaranja TBPOSLOD: " + e.text);
      return false;
    }
    if (obligors.count() > 0) {
      out.message("The data directory already holds obligors; the demonstration set was not added.");
      return false;
    }
  }
  Transaction tx(store.db());
  if (tx.error()) {
    out.message(tx.error().text);
    return false;
  }

  APLPARAM apl;
  if (Error e = ensureParameters(store, apl)) {
    out.message("Greška kod čitanja APLPARAM: " + e.text);
    return false;
  }
  apl.MB01 = "00000000";
  apl.MB02 = "0000";
  apl.JMBG = personalNumber(GLO, 23, 9, 1968, 150);
  apl.NAZIV = "Knjigovodstveni servis Ana Kovač";
  apl.ADRESA = "Savska cesta 41, 10000 Zagreb";
  apl.KONOSO = "Ana Kovač";
  apl.TELEFON = "014567890";
  apl.EMAIL = "ana.kovac@primjer.hr";
  if (!saveParameters(GLO, store, apl, out)) return false;

  const Date month = today();
  DemoSet set;
  int person = 0;
  for (std::size_t i = 0; i < std::size(kEmployers); ++i) {
    const Employer& e = kEmployers[i];
    const int number = static_cast<int>(i) + 1;
    if (!addObligor(GLO, store, number, e, out)) return false;
    ++set.obligors;
    for (int k = 0; k < e.people; ++k, ++person) {
      if (!addRow(GLO, store, number, e, kPeople[person % std::size(kPeople)], person, month, out)) return false;
      ++set.rows;
    }
  }
  if (Error e = tx.commit()) {
    out.message(e.text);
    return false;
  }
  GLO.Firma = 0;
  if (added) *added = set;
  return true;
}

}  // namespace kdm
