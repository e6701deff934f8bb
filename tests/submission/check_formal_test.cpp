#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "forms/form_creation.h"
#include "platform/clock.h"
#include "platform/cp1250.h"
#include "platform/files.h"
#include "submission/check_review.h"
#include "submission/check_text.h"
#include "submission/collective.h"
#include "submission/fixed_layout.h"
#include "submission/check_fixture.h"

namespace kdm {
namespace {

using test::formOf;
using test::money;
using test::person;
using test::validMbg;

class FormalCheck : public test::CheckStore {};

const std::string kWhere = ". Provjerite kontrolnu tablicu za VOB=01 VOI=01 OO=11";

std::string wrongCheckDigit(std::string mbg) {
  mbg.back() = static_cast<char>('0' + (mbg.back() - '0' + 1) % 10);
  return mbg;
}

TEST(CheckText, NumericAsTheCLibraryReadsIt) {
  for (const char* yes : {"0", "00012", "  12", "-1", "+1", "1.5", ".5", "5.", "1e5", "1E-05", "12   ", "\t7"})
    EXPECT_TRUE(isNumeric(yes)) << yes;
  for (const char* no : {"", "   ", "1 2", "1-", "e5", "1e", ".", "-", "0x1A", "inf", "nan", "1,5", "12a", "1\t"})
    EXPECT_FALSE(isNumeric(no)) << no;
  EXPECT_EQ(numericValue(" -12.5"), -12.5);
  EXPECT_EQ(numericValue("abc"), 0);
  EXPECT_EQ(numericValue("9e999"), 1e300);
  EXPECT_EQ(numberText("00012"), "12");
  EXPECT_EQ(numberText(" 1.5 "), "1.5");
}

TEST(CheckText, PicturesOfTheMessages) {
  EXPECT_EQ(pictureN10_2(money("450.01")), "    450.01");
  EXPECT_EQ(pictureN10_2(money("-0.5")), "     -0.50");
  EXPECT_EQ(pictureN10_2(money("1234567.89")), "1234567.89");
  EXPECT_EQ(pictureN10_2(money("12345678.9")), "##########");
  EXPECT_EQ(pictureN15_4(money("1000").units()), "      1000,0000");
  EXPECT_EQ(pictureN15_2(money("-300").units()), "        -300.00");
  __int128 huge = static_cast<__int128>(INT64_MAX) * 1000;
  EXPECT_EQ(pictureN15_2(huge), "###############");
}

TEST_F(FormalCheck, CleanFileOfOneFormHasNoFindings) {
  std::vector<std::string> lines = fileOf({formOf(3)});
  CheckSummary summary;
  ASSERT_TRUE(check(lines, &summary)) << (out.messages.empty() ? "" : out.messages.back());
  EXPECT_EQ(findings(), std::vector<std::string>{});
  EXPECT_TRUE(summary.checked);
  EXPECT_EQ(summary.records, 7);
  EXPECT_EQ(summary.errors + summary.warnings, 0);
  std::vector<TBIZLAZ> rows = records();
  ASSERT_EQ(rows.size(), lines.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].REDBROJ, static_cast<std::int32_t>(i + 1));
    EXPECT_EQ(recordText(rows[i]), lines[i]);
    EXPECT_EQ(rows[i].TIPSLOGA, lines[i].substr(lines[i].size() - 1));
    EXPECT_EQ(rows[i].GRESKA, "");
  }
  EXPECT_EQ(out.statuses.front(), "Malo strpljenja. Radim...");
  EXPECT_EQ(out.statuses.back(), "Izvršena je kontrola datoteke.");
  EXPECT_EQ(test::slurp(store->pathOf("TBVALTA1.TXT")), test::slurp(dir.file("F0015001.TXT")));
}

// One field spoiled at a time: the findings of the record that holds it.
TEST_F(FormalCheck, BlankSignsAreAPlus) {
  // As payroll software writes them: " 00000000150000" for 1500.00.
  std::vector<std::string> lines = fileOf({formOf(3)});
  int blanked = 0;
  for (std::string& line : lines) {
    std::string bytes;  // one byte a character, as positions count
    ASSERT_TRUE(utf8ToCp1250(line, bytes));
    for (const FixedField& f : submissionLayout(bytes.back())->fields())
      if (f.kind == FieldKind::Amount && bytes[f.position - 1] == '0') {
        bytes[f.position - 1] = ' ';
        ++blanked;
      }
    line = cp1250ToUtf8(bytes);
  }
  ASSERT_GE(blanked, 4 * 3);  // the form and its three persons, gross pay among them
  ASSERT_TRUE(check(lines));
  EXPECT_EQ(findings(), std::vector<std::string>{});
}

TEST_F(FormalCheck, FindingsOfEveryRecordType) {
  struct Change {
    int line;
    const char* field;
    std::string value;
  };
  struct Case {
    std::vector<Change> changes;
    std::int64_t record;
    std::vector<std::string> expected;
  };
  const std::string mbg = validMbg(7);
  const Case cases[] = {
      // Header (record 1).
      {{{0, "KD0MBOO", "123456780000"}}, 1, {"1 KD0MBOO F MB ovlaštene osobe nije točan po modulu 11"}},
      {{{0, "KD0MBGO", ""}},
       1,
       {"1 KD0MBGO F MBG ovlaštene osobe mora biti numerik", "1 KD0MBGO F MBG ovlaštene osobe nije točan po modulu 11"}},
      {{{0, "KD0NAOB", ""}, {0, "KD0ADOB", ""}, {0, "KD0OSOB", ""}},
       1,
       {"1 KD0ADOB U Adresa ovlaštene osobe mora biti popunjena",
        "1 KD0NAOB U Naziv ili prezime i ime ovlaštene osobe mora biti popunjeno",
        "1 KD0OSOB U Osoba za kontakt mora biti popunjena"}},
      {{{0, "KD0DTMN", "1506200X"}},
       1,
       {"1 KD0DTMN F Datum nije numerik=1506200X", "1 KD0DTMN F Pogrešan datum slanja sloga"}},
      {{{0, "KD0DTMN", "16062005"}}, 1, {"1 KD0DTMN F Pogrešan datum slanja sloga"}},
      {{{0, "KD0DTMN", "31122004"}}, 1, {"1 KD0DTMN F Pogrešan datum slanja sloga"}},
      {{{0, "KD0DTMN", "30022005"}}, 1, {"1 KD0DTMN F Pogrešan datum slanja sloga"}},
      {{{0, "KD0DTMN", "01012005"}}, 1, {}},
      {{{0, "KD0DTMN", "15062005"}}, 1, {}},
      {{{0, "KD0OFOR", "RM501"}}, 1, {"1 RM0OFOR U Pogrešna oznaka formata"}},
      // Form record (record 2).
      {{{1, "KD3MMGG", "ab2005"}},
       2,
       {"2 KD3MMGG F Tip sloga 3. - obračunska godina i mjesec nisu numerik", "2 KD3MMGG F Mjesec i godina nisu numerik"}},
      {{{1, "KD3MMGG", "052004"}}, 2, {"2 KD3MMGG F Tip sloga 3. - Obračunska godina mora biti veća od 2004."}},
      {{{1, "KD3IGMM", "2005 6"}}, 2, {"2 KD3IGMM F Tip sloga 3. - Godina i mjesec isplate mora biti numerik"}},
      {{{1, "KD3MBOO", "1234567X0000"}}, 2, {"2 KD3MBOO F MB obveznika mora biti numerik"}},
      {{{1, "KD3MBOO", "123456780000"}}, 2, {"2 KD3MBOO F MB obveznika nije točan po modulu 11"}},
      {{{1, "KD3MBGO", "123"}},
       2,
       {"2 KD3MBGO F MBG obveznika mora biti numerik",
        "2 KD3MBGO F Nije dozvoljeno upisati MB i MBG obveznika, izuzev ako MB firme počinje sa 8 ili 9",
        "2 KD3MBOO F MB i MBG mogu biti upisani samo za VOB=02 i ako MB počine sa 8 ili 9, VOB nije 02 i 21"}},
      {{{1, "KD3MBGO", wrongCheckDigit(mbg)}, {1, "KD3VROB", "17"}},
       2,
       {"2 KD3MBGO F MBG obveznika nije točan po modulu 11"}},
      // MB and MBG together: only obligor type 17, or an MB that begins with 8 or 9.
      {{{1, "KD3MBGO", mbg}, {1, "KD3VROB", "17"}}, 2, {}},
      {{{1, "KD3MBGO", mbg}, {1, "KD3MBOO", "812345620000"}}, 2, {}},
      {{{1, "KD3MBGO", mbg}},
       2,
       {"2 KD3MBGO F Nije dozvoljeno upisati MB i MBG obveznika, izuzev ako MB firme počinje sa 8 ili 9",
        "2 KD3MBOO F MB i MBG mogu biti upisani samo za VOB=02 i ako MB počine sa 8 ili 9, VOB nije 02 i 21"}},
      {{{1, "KD3VROB", "02"}}, 2, {"2 KD3MBOO F MB pravne osobe mora biti upisan"}},
      {{{1, "KD3MBOO", "000000000000"}}, 2, {"2 KD3MBOO F MB pravne osobe mora biti upisan"}},
      {{{1, "KD3MBOO", "000000000000"}, {1, "KD3VROB", "17"}}, 2, {}},
      {{{1, "KD3VROB", "99"}}, 2, {"2 KD3VROB F Nepoznata vrsta obveznika"}},
      {{{1, "KD3VROI", "77"}}, 2, {"2 KD3VROI F Nepoznata vrsta uplate"}},
      {{{1, "KD3BROS", "12 45"}}, 2, {"2 KD3BROS F Broj osiguranika mora biti numerik"}},
      {{{1, "KD3IBRT", "00000000012345X"}}, 2, {"2 KD3IBRT F Obračunati mjesečni iznos mora biti numerik"}},
      {{{1, "KD3INET", "0       12345"}}, 2, {"2 KD3INET F Iznos neto isplate mora biti numerik"}},
      {{{1, "KD3NAOB", ""}}, 2, {"2 KD3NAOB F Naziv ili prezime i ime obveznika osobe ne smije biti prazna"}},
      {{{1, "KD3ADOB", ""}}, 2, {"2 KD3ADOB U Adresa obveznika ne smije biti prazna"}},
      // Insured person (record 3).
      {{{2, "KD5MBGO", wrongCheckDigit(validMbg(100))}}, 3, {"3 KD5MBGO F MBG osiguranika nije točan po modulu 11"}},
      {{{2, "KD5MBGO", "12345678901AB"}}, 3, {"3 KD5MBGO F MBG osiguranika mora biti numerik"}},
      {{{2, "KD5IMPR", ""}}, 3, {"3 KD5IMPR U Prezime i ime osiguranika je obavezan podatak"}},
      {{{2, "KD5GROP", "9999"}}, 3, {"3 KD5GROP U Nepoznata općina osiguranika"}},
      {{{2, "KD5OSOB", "99 "}},
       3,
       {"3 KD5OSOB F Pogrešna osnova osiguranja", "3 KD5OSOB F Tip sloga 5. Pogrešan OO za obveznika = 01 VOI=01"}},
      {{{2, "KD5OSOB", "119"}}, 3, {"3 KD5OSOB F Pogrešna oznaka uvećanog staža"}},
      {{{2, "KD5IOSN", "0000000000ab000"}},
       3,
       {"3 KD5IOSN F Tip sloga 5. - Osnovica za doprinose mora biti >0" + kWhere,
        "3 SL5:KD5IOS F Osnovica za obračun doprinosa za MO mora biti numerik"}},
      {{{2, "KD5RAZD", "0031"}}, 3, {"3 KD5RAZD F Tip sloga 5. - Greška - razdoblje od mora biti >0" + kWhere}},
      {{{2, "KD5RAZD", "0132"}}, 3, {"3 KD5RAZD F Tip sloga 5. - Greška - razdoblje do mora biti >0" + kWhere}},
      {{{1, "KD3MMGG", "022005"}, {2, "KD5RAZD", "0129"}},
       3,
       {"3 KD5RAZD F Tip sloga 5. - Greška - razdoblje do mora biti >0" + kWhere}},
      {{{1, "KD3MMGG", "002005"}},
       3,
       {"3 KD3MMGG F Tip sloga 5. - obračunski mjesec mora biti >0 Provjerite kontrolnu tablicu za VOB=01 VOI=01 OO=11"}},
      {{{2, "KD5IBRT", "000000000000000"}},
       3,
       {"3 KD5IBRT F Tip sloga 5. - Iznos obračunane plaće (IV.7) mora biti >0" + kWhere}},
      {{{2, "KD5INET", "-00000000000100"}},
       3,
       {"3 KD5INET F Tip sloga 5. - Iznos isplaćene plaće mora biti >=0" + kWhere}},
      // The contributions may differ from the rates' by 300.00, not more.
      {{{2, "KD5IST1", "000000000045000"}}, 3, {}},
      {{{2, "KD5IST1", "000000000045001"}},
       3,
       {"3 KD5IST1 U Upozorenje - razlika u obračunatom doprinosu I. stupa:     450.01  -     150.00",
        "3 KD5IST2 F Upozorenje - razlika o ukupno obračunatom doprinosu :     500.01  -     200.00"}},
      {{{2, "KD5IST2", "000000000035001"}},
       3,
       {"3 KD5IST2 F Tip sloga 5. - Postoji razlika u obračunu doprinosa :    350.01  -      50.00",
        "3 KD5IST2 F Upozorenje - razlika o ukupno obračunatom doprinosu :     500.01  -     200.00"}},
      // Form trailer (record 6): its fields, then the sums of the form.
      {{{5, "KD7MBOO", "123456780000"}}, 6, {"6 KD7MBOO F MB obveznika nije točan po modulu 11"}},
      {{{5, "KD7MBGO", "12"}}, 6, {"6 KD7MBGO F MBG obveznika mora biti numerik"}},
      {{{5, "KD7RBSU", "9999"}}, 6, {"6 KD7RBSU F Identifikator nije jednak Identifikatoru u slogu tipa 3"}},
      {{{5, "KD7BRSL", "00004"}},
       6,
       {"6 KD7BRSL F Broj slogova tipa 5 nije jednak broju upisanih slogova     4     3"}},
      {{{5, "KD7BRSL", "abcde"}}, 6, {"6 KD7BRSL F Broj slogova nije numerik"}},
      {{{5, "KD7DTRS", "99999999"}}, 6, {"6 KD7DTRS F Datum formiranja je pogrešan"}},
      {{{5, "KD7DTRS", "150620"}}, 6, {"6 KD7DTRS F Datum formiranja je pogrešan"}},
      {{{5, "KD7DTRS", "1506200X"}}, 6, {"6 KD7DTRS F Pogrešan datum formiranja"}},
      {{{1, "KD3IBRT", "000000000100000"}},
       6,
       {"6 KD3DIOI U Zbroj III.1 ne odgovara sumi IV.7 tj. III.1=      1000,0000 - Suma IV.7=      3000,0000"}},
      {{{1, "KD3IOSN", "-00000000100000"}},
       6,
       {"6 KD3IOSN F Zbroj III.2 ne odgovara sumi IV.8 tj. III.2=     -1000,0000 - Suma IV.8=      3000,0000"}},
      {{{1, "KD3IST1", "000000000010000"}},
       6,
       {"6 KD3IST1 F Zbroj III.3 ne odgovara sumi IV.9 tj. III.3=         100.00 - Suma IV.9=         450.00"}},
      {{{2, "KD5IST2", "000000000005001"}},
       6,
       {"6 KD3IST2 F Zbroj III.4 ne odgovara sumi IV.10 tj. III.4=         150.00 - Suma IV.10=         150.01"}},
      {{{1, "KD3INET", "+00000000240000"}}, 6, {}},
      {{{1, "KD3INET", "000000000240001"}},
       6,
       {"6 KD3INET F Zbroj III.5 ne odgovara sumi IV.11 tj. III.5=        2400.01 - Suma IV.11=        2400.00"}},
      // File trailer (record 7).
      {{{6, "KD9MBOO", ""}},
       7,
       {"7 KD9MBOO F MB ovlaštene osobe nije numerik", "7 KD9MBOO F MB ovlaštene osobe nije točan po modulu 11"}},
      {{{6, "KD9MBGO", wrongCheckDigit(validMbg(1))}}, 7, {"7 KD9MBGO F MBG obveznika nije točan po modulu 11"}},
      {{{6, "KD9MBGO", "X"}}, 7, {"7 KD9MBGO F MBG ovlaštene osobe mora biti numerik"}},
      {{{6, "KD9DTMN", "16062005"}}, 7, {"7 KD9DTMN F Pogrešan datum formiranja sloga"}},
      {{{6, "KD9DTMN", "1606200X"}}, 7, {"7 KD9DTMN F Pogrešan datum formiranja sloga"}},
      {{{6, "KD9BROJ", "000002"}}, 7, {"7 KD9BROJ U Broj slogova tipa 3 nije identičan podatku KD9BROJ"}},
      {{{6, "KD9BROJ", "00000X"}}, 7, {"7 KD9BROJ U Broj podataka nije numerik"}},
  };
  const std::vector<std::string> clean = fileOf({formOf(3)});
  for (const Case& c : cases) {
    std::vector<std::string> lines = clean;
    std::string what;
    for (const Change& ch : c.changes) {
      setField(lines[ch.line], ch.field, ch.value);
      what += std::string(ch.field) + "=\"" + ch.value + "\" ";
    }
    ASSERT_TRUE(check(lines)) << what;
    EXPECT_EQ(findings(c.record), c.expected) << what;
    // The record's flag follows its findings.
    EXPECT_EQ(records()[c.record - 1].GRESKA, c.expected.empty() ? "" : "D") << what;
  }
}

TEST_F(FormalCheck, NameColumnOfEveryRecordType) {
  std::vector<std::string> lines = fileOf({formOf(1)});
  setField(lines[0], "KD0NAOB", "");
  setField(lines[2], "KD5GROP", "9999");
  setField(lines[3], "KD7BRSL", "x");
  setField(lines[4], "KD9BROJ", "x");
  ASSERT_TRUE(check(lines));
  File<TBIZLAZ1> f(*store);
  f.open();
  f.setStart("KEYVRSTA");
  std::vector<std::string> names;
  while (!f.next()) names.push_back(f.rec.PREZIME);
  EXPECT_EQ(names, (std::vector<std::string>{"Slog tipa 0", validMbg(100) + " Šimić Željka 100",
                                             "Poduzeće Čačak d.o.o.", "Poduzeće Čačak d.o.o."}));
}

// A second row of a person may carry zero where an earlier row of the same
// person carried the amount; a person's first row may not.
TEST_F(FormalCheck, ZeroExcusedOnlyOnAPersonsLaterRow) {
  test::FormSpec form = formOf(0);
  TBOSIGUR first = person(1), second = person(1), other = person(2);
  first.OBRRAZD2 = 15;
  second.OBRRAZD1 = 16;
  second.IZNOS7 = Decimal();
  other.IZNOS7 = Decimal();
  form.rows = {first, second, other};
  ASSERT_TRUE(check(fileOf({form})));
  EXPECT_EQ(findings(), (std::vector<std::string>{
                            "5 KD5IBRT F Tip sloga 5. - Iznos obračunane plaće (IV.7) mora biti >0" + kWhere}));
}

TEST_F(FormalCheck, OnlyAHeaderAndRecordsOfUnknownType) {
  std::vector<std::string> lines = fileOf({});
  lines.erase(lines.begin() + 1, lines.end());
  CheckSummary summary;
  ASSERT_TRUE(check(lines, &summary));
  EXPECT_EQ(summary.records, 1);
  EXPECT_EQ(findings(), std::vector<std::string>{});

  // A record of an unknown type gets one error and no other check; inside
  // a form it is not counted as one of its persons.
  std::string odd = std::string(249, 'x') + "4";
  lines = fileOf({formOf(1)});
  lines.insert(lines.begin() + 2, odd);
  lines.push_back(std::string(250, ' '));
  ASSERT_TRUE(check(lines, &summary));
  EXPECT_EQ(summary.records, 7);
  EXPECT_EQ(summary.errors, 2);
  EXPECT_EQ(findings(), (std::vector<std::string>{"3 TIPSLOGA F Nepoznat tip sloga", "7 TIPSLOGA F Nepoznat tip sloga"}));
  std::vector<TBIZLAZ> rows = records();
  EXPECT_EQ(rows[2].TIPSLOGA, "4");
  EXPECT_EQ(recordText(rows[2]), odd);
  EXPECT_EQ(rows[6].TIPSLOGA, "");
}

TEST_F(FormalCheck, FormFromEmployeeRowsAndCollectiveFileCheckClean) {
  for (std::int16_t nr : {1, 2}) {
    File<TBPOSLOD> pos(*store);
    pos.open();
    pos.rec.REDBROJ = nr;
    pos.rec.NAZIV = "Obveznik " + std::to_string(nr);
    pos.rec.ADRESA = "Adresa";
    pos.rec.VRSTOBVEZNIKA = "01";
    pos.rec.MB01 = test::kValidMb;
    pos.rec.MB02 = "0000";
    pos.rec.JMBG = "0000000000000";
    ASSERT_FALSE(pos.add());
    File<TBZAPOSL> rad(*store);
    rad.open();
    for (int i = 0; i < 3; ++i) {
      TBOSIGUR p = person(nr * 10 + i);
      rad.rec = TBZAPOSL{};
      rad.rec.REDBROJ = nr;
      rad.rec.JMBG = p.JMBG;
      rad.rec.PREZIME = p.PREZIME;
      rad.rec.OPCINA = p.OPCINA;
      rad.rec.VRSOBV = "01";
      rad.rec.VRSTAUPLA = "01";
      rad.rec.CLANDN = "D";
      rad.rec.OSNOVA1 = "11";
      rad.rec.GODOBRA = 2005;
      rad.rec.MJEOBRA = 5;
      rad.rec.ODDANA = 1;
      rad.rec.DODANA = 31;
      rad.rec.IZNOS7 = p.IZNOS7;
      rad.rec.IZNOS8 = p.IZNOS8;
      rad.rec.IZNOS9 = p.IZNOS9;
      rad.rec.IZNOS10 = p.IZNOS10;
      rad.rec.IZNOS11 = p.IZNOS11;
      ASSERT_FALSE(rad.add());
    }
    ASSERT_TRUE(openFormCreation(GLO, *store, out));
    ASSERT_TRUE(chooseObligor(GLO, *store, nr, out));
    GLO.VrsUpl = "01";
    GLO.ObrGodina = 2005;
    GLO.ObrMjesec = 5;
    GLO.DanOd = 1;
    GLO.DanDo = 31;
    GLO.IzborPosla = nr == 1 ? kNewFile : kAddToFile;
    ASSERT_TRUE(processObligor(GLO, *store, DeliveryMode::Collective, out)) << out.messages.back();
    CheckSummary summary;
    ASSERT_TRUE(check(GLO.ImeDatoteke, &summary));
    EXPECT_EQ(summary.records, 7);
    EXPECT_EQ(findings(), std::vector<std::string>{}) << GLO.ImeDatoteke;
  }
  GLO.DatSlanja = today();
  formCollectiveFile(GLO, *store, out);
  ASSERT_EQ(GLO.Status, 2);
  CheckSummary summary;
  ASSERT_TRUE(check(GLO.ImeDatoteke, &summary));
  EXPECT_EQ(summary.records, 12);
  EXPECT_EQ(findings(), std::vector<std::string>{});
}

TEST_F(FormalCheck, RefusalsAndAFileThatCannotBeCopied) {
  std::vector<std::string> lines = fileOf({formOf(1)});
  setField(lines[0], "KD0OFOR", "RM000");
  ASSERT_TRUE(check(lines));
  ASSERT_EQ(findings().size(), 1u);

  // The placeholder: nothing is done, the previous result stays.
  setAuthorisedJmbg("1111111111111");
  out.messages.clear();
  EXPECT_FALSE(check(lines));
  EXPECT_EQ(out.messages, std::vector<std::string>{
                              "Ispravite podatke o ovlaštenoj osobi.| Ispravak izvršite kroz Servisi/Aplikacijski parametri"});
  std::string entry;
  EXPECT_FALSE(openFormalCheck(*store, entry, out));
  EXPECT_EQ(out.messages.back(),
            "Ispravite podatke o ovlaštenoj osobi.| Ispavak izvršite kroz Servisi/Aplikacijski parametri");
  EXPECT_EQ(findings().size(), 1u);

  // A file that is not there, or a directory: the previous result stays
  // whole, the records with their findings.
  setAuthorisedJmbg("0000000000000");
  EXPECT_TRUE(openFormalCheck(*store, entry, out));
  EXPECT_EQ(entry, dir.path());
  for (std::string path : {dir.file("NEMA.TXT"), dir.path()}) {
    out.messages.clear();
    CheckSummary summary;
    EXPECT_FALSE(check(path, &summary));
    EXPECT_FALSE(summary.checked);
    EXPECT_EQ(out.messages, std::vector<std::string>{"Greška kod preuzimanja podataka " + path});
    EXPECT_EQ(out.focused.back(), "LOC:Datoteka");
    EXPECT_EQ(findings().size(), 1u);
    EXPECT_EQ(records().size(), lines.size());
  }
}

// Whatever the bytes, the check stores every line as a record and ends.
TEST_F(FormalCheck, AnyBytesGiveRecordsNeverACrash) {
  std::mt19937 random(7);
  std::string binary(20000, '\0');
  for (char& c : binary) c = static_cast<char>(random());
  std::string typed(300, '\0');
  typed[249] = '5';
  std::string header = fileOf({})[0];
  auto blankOf = [](char type) { return std::string(249, ' ') + type + "\r\n"; };
  struct Case {
    const char* what;
    std::string bytes;
    std::int64_t records;
  } cases[] = {
      {"empty file", "", 0},
      {"NUL bytes", std::string(10, '\0'), 1},
      {"lines without CR", "abc\ndef\n", 2},
      {"last line without line end", "abc\r\ndef", 2},
      {"3 and 3,000 characters", "abc\r\n" + std::string(3000, '9') + "\r\n", 2},
      {"NUL bytes in a typed record", typed + "\r\n" + typed, 2},
      {"binary", binary, -1},
      {"header cut short", header.substr(0, 100) + "\r\n", 1},
      {"blank records of every type", blankOf('0') + blankOf('3') + blankOf('5') + blankOf('7') + blankOf('9'), 5},
  };
  for (const Case& c : cases) {
    CheckSummary summary;
    ASSERT_TRUE(check(writeBytes(c.bytes), &summary)) << c.what;
    if (c.records >= 0) {
      EXPECT_EQ(summary.records, c.records) << c.what;
    }
    EXPECT_EQ(static_cast<std::int64_t>(records().size()), summary.records) << c.what;
  }
  // Each record is kept as the 250 characters of its line, whatever they were.
  ASSERT_TRUE(check(writeBytes(typed + "\r\n")));
  std::vector<TBIZLAZ> rows = records();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(recordText(rows[0]), typed.substr(0, 250));
  EXPECT_EQ(rows[0].TIPSLOGA, "5");
  EXPECT_EQ(rows[0].GRESKA, "D");
}

}  // namespace
}  // namespace kdm
