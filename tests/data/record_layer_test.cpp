#include <gtest/gtest.h>

#include <fstream>

#include "data/records.h"
#include "data/record_layer.h"
#include "data/table_csv.h"
#include "temp_dir.h"

namespace kdm {

class RecordLayer : public testing::Test {
 protected:
  test::EmptyStore s;
  DataStore& store() { return *s.store; }

  void addObligor(std::int16_t nr, const std::string& name) {
    File<TBPOSLOD> pos(store());
    ASSERT_FALSE(pos.open());
    pos.rec.REDBROJ = nr;
    pos.rec.NAZIV = name;
    ASSERT_FALSE(pos.insert()) << name;
  }
  void addEmployee(std::int16_t firm, const std::string& jmbg, std::int16_t lastDay) {
    File<TBZAPOSL> rad(store());
    ASSERT_FALSE(rad.open());
    rad.rec.REDBROJ = firm;
    rad.rec.JMBG = jmbg;
    rad.rec.DODANA = lastDay;
    ASSERT_FALSE(rad.insert());
  }
  // Values of `field` in the order of `key`, read forwards.
  std::vector<std::string> inOrder(const std::string& label, const std::string& key, const std::string& field) {
    RecordFile f(store(), label);
    EXPECT_FALSE(f.open());
    EXPECT_FALSE(f.set(key));
    std::vector<std::string> out;
    Record r;
    while (!f.next(r)) out.push_back(r.format(r.index(field)));
    return out;
  }
};

TEST_F(RecordLayer, CatalogueDeclaresEveryLabelWithItsWidths) {
  EXPECT_EQ(catalogue().size(), 37u);
  const LabelDef* upl = findLabel("tbuplate");
  ASSERT_TRUE(upl);
  EXPECT_EQ(upl->lineWidth(), 194);
  EXPECT_EQ(findLabel("TBIZLAZ2")->lineWidth(), 89);
  EXPECT_EQ(findLabel("TBVALTA1")->lineWidth(), 250);
  EXPECT_EQ(findLabel("RAD2")->table, "TBOSIGUR");
  EXPECT_EQ(findLabel("RAD2")->key("RAD2:KEYREDBROJ")->description, "RAD2:KeyRedBroj");
  EXPECT_EQ(findLabel("TBOSIGUR")->key("KEYREDBROJ")->description, "OSI:KeyRedBroj");
  EXPECT_EQ(findLabel("TBZAPOSL")->fieldIndex("RAD:DODANA"), 14);
  EXPECT_EQ(findLabel("Vodrik"), nullptr);
}

TEST_F(RecordLayer, PrimesDefaultsAndAutoNumbers) {
  RecordFile apl(store(), "APLPARAM");
  ASSERT_FALSE(apl.open());
  Record r;
  ASSERT_FALSE(apl.prime(r));
  EXPECT_EQ(r.integer(r.index("RB")), 1);
  EXPECT_EQ(r.text(r.index("MB02")), "000");

  File<TBOPCINE> opc(store());
  ASSERT_FALSE(opc.open());
  for (auto [name, code] : {std::pair{"ZAGREB", "1333"}, {"SPLIT", "3433"}}) {
    ASSERT_FALSE(opc.prime());
    opc.rec.NAZIV = name;
    opc.rec.SIFRA = code;
    ASSERT_FALSE(opc.insert());
  }
  EXPECT_EQ(opc.rec.REDBROJ, 2);
  opc.clear();
  opc.rec.NAZIV = "OSIJEK";
  opc.rec.SIFRA = "3123";
  ASSERT_FALSE(opc.insert());  // numbered on insert when still zero
  EXPECT_EQ(opc.rec.REDBROJ, 3);
}

TEST_F(RecordLayer, DuplicateKeysAreRefusedByDescriptionIgnoringCase) {
  File<TBOPCINE> opc(store());
  ASSERT_FALSE(opc.open());
  opc.rec.NAZIV = "Šibenik";
  opc.rec.SIFRA = "4111";
  ASSERT_FALSE(opc.insert());
  opc.clear();
  opc.rec.NAZIV = "ŠIBENIK";
  opc.rec.SIFRA = "4120";
  Error e = opc.insert();
  EXPECT_EQ(e.kind(), ErrorCode::DuplicateKey);
  EXPECT_NE(e.text.find("Naziv općine"), std::string::npos) << e.text;
  opc.clear();
  opc.rec.NAZIV = "Knin";
  opc.rec.SIFRA = "4111";
  e = opc.insert();
  EXPECT_NE(e.text.find("OPC:KeySifra"), std::string::npos) << e.text;
  EXPECT_EQ(opc.count(), 1);

  // Two obligors of one name: the key ends with the unique number.
  addObligor(1, "Obrt Ana");
  addObligor(2, "OBRT ANA");
  File<TBPOSLOD> pos(store());
  ASSERT_FALSE(pos.open());
  pos.rec.NAZIV = "obrt ana";
  pos.rec.REDBROJ = 2;
  ASSERT_FALSE(pos.get("KEYNAZIV"));
  EXPECT_EQ(pos.rec.NAZIV, "OBRT ANA");
}

TEST_F(RecordLayer, YearValidationOnTheRecordLayerOnly) {
  RecordFile osi(store(), "TBOSIGUR");
  RecordFile rad2(store(), "RAD2");
  ASSERT_FALSE(osi.open());
  ASSERT_FALSE(rad2.open());
  Record r(*findLabel("TBOSIGUR"));
  int year = r.index("GODOBRA");
  for (int y : {2000, 2101}) {
    r.setInteger(year, y);
    Error e = osi.insert(r);
    EXPECT_EQ(e.kind(), ErrorCode::OutOfRange);
    EXPECT_EQ(e.text, "Obračunska godina must be between 2001 and 2100");
  }
  for (int y : {2001, 2100}) {
    r.setInteger(year, y);
    EXPECT_FALSE(osi.insert(r)) << y;
  }
  r.setInteger(year, 1999);
  EXPECT_FALSE(rad2.insert(r));  // the second view has no such check
  EXPECT_FALSE(osi.add(r));      // nor do direct writes
  EXPECT_EQ(osi.count(), 4);

  RecordFile gre(store(), "TBGRESKE");
  ASSERT_FALSE(gre.open());
  Record g;
  ASSERT_FALSE(gre.prime(g));
  g.setText(g.index("GODOBRA"), "20x5");  // text taken as a number
  EXPECT_EQ(gre.insert(g).kind(), ErrorCode::OutOfRange);
  g.setText(g.index("GODOBRA"), "2005");
  EXPECT_FALSE(gre.insert(g));
}

TEST_F(RecordLayer, ObligorNumbersAndAmountsThatEveryFileCanHold) {
  struct {
    const char* label;
    const char* field;
    const char* value;
    const char* refusal;  // empty: stored
  } cases[] = {
      {"TBPOSLOD", "REDBROJ", "-5", "Redni broj obveznika must be between 1 and 999"},
      {"TBPOSLOD", "REDBROJ", "0", "Redni broj obveznika must be between 1 and 999"},
      {"TBPOSLOD", "REDBROJ", "1000", "Redni broj obveznika must be between 1 and 999"},
      {"TBPOSLOD", "REDBROJ", "999", ""},
      {"TBZAPOSL", "IZNOS8", "1234567890123.00",
       "Iznos IV.8 must be between -999999999999.99 and 999999999999.99"},
      {"TBZAPOSL", "IZNOS10", "-1000000000000.00",
       "Iznos IV.10 must be between -999999999999.99 and 999999999999.99"},
      {"TBZAPOSL", "IZNOS11", "999999999999.99", ""},
      {"TBZAPOSL", "IZNOS9", "-999999999999.99", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.label) + ":" + c.field + "=" + c.value);
    RecordFile f(store(), c.label);
    ASSERT_FALSE(f.open());
    Record r;
    ASSERT_FALSE(f.prime(r));
    if (r.index("REDBROJ") != r.index(c.field)) r.setInteger(r.index("REDBROJ"), 1);
    ASSERT_FALSE(r.parse(r.index(c.field), c.value));
    Error e = f.insert(r);
    EXPECT_EQ(e.text, c.refusal);
    if (e) EXPECT_EQ(e.kind(), ErrorCode::OutOfRange);
    if (!e) EXPECT_FALSE(f.erase(r));
  }
}

TEST_F(RecordLayer, RefusesValuesThatDoNotFit) {
  RecordFile pos(store(), "TBPOSLOD");
  ASSERT_FALSE(pos.open());
  Record r(pos.def());
  r.setText(r.index("MB01"), "123456789");
  EXPECT_EQ(pos.insert(r).kind(), ErrorCode::TextTooLong);
  r.setText(r.index("MB01"), "12345678   ");  // trailing blanks do not count
  r.setText(r.index("NAZIV"), "Ωmega");
  EXPECT_EQ(pos.add(r).kind(), ErrorCode::NotEncodable);
  r.setText(r.index("NAZIV"), "Omega");
  r.setInteger(r.index("REDBROJ"), 40000);
  EXPECT_EQ(pos.insert(r).kind(), ErrorCode::InvalidValue);
  r.setInteger(r.index("REDBROJ"), 4);
  ASSERT_FALSE(pos.insert(r));
  EXPECT_EQ(r.text(r.index("MB01")), "12345678");
}

TEST_F(RecordLayer, KeyOrderPositionsAndExcludeEmpty) {
  addEmployee(2, "0000000000000", 31);
  addEmployee(1, "2222222222222", 15);
  addEmployee(1, "1111111111111", 31);
  addEmployee(0, "", 0);  // all key fields empty: not in RAD:KEYRBRFIRME
  EXPECT_EQ(inOrder("TBZAPOSL", "KEYRBRFIRME", "JMBG"),
            (std::vector<std::string>{"1111111111111", "2222222222222", "0000000000000"}));
  EXPECT_EQ(inOrder("TBZAPOSL", "", "JMBG").size(), 4u);  // physical order has all

  RecordFile rad(store(), "TBZAPOSL");
  ASSERT_FALSE(rad.open());
  Record from(rad.def()), r;
  from.setInteger(from.index("REDBROJ"), 1);
  from.setText(from.index("JMBG"), "2");
  ASSERT_FALSE(rad.set("KEYRBRFIRME", &from));
  ASSERT_FALSE(rad.next(r));
  EXPECT_EQ(r.text(r.index("JMBG")), "2222222222222");
  ASSERT_FALSE(rad.set("KEYRBRFIRME", &from));
  ASSERT_FALSE(rad.previous(r));  // backwards from the same value
  EXPECT_EQ(r.text(r.index("JMBG")), "1111111111111");
  EXPECT_EQ(rad.previous(r).kind(), ErrorCode::NoMoreRecords);
  ASSERT_FALSE(rad.next(r));      // turning round continues after it
  EXPECT_EQ(r.text(r.index("JMBG")), "2222222222222");
}

// The list reads: a range of one obligor's rows by KEYRBRFIRME, counted,
// ranked, read by offset from either end and near a record or key value.
TEST_F(RecordLayer, RangeReadsByOffsetRankAndNeighbour) {
  for (int firm : {1, 2, 3})
    for (int i = 0; i < 5; ++i) addEmployee(firm, std::string(13, static_cast<char>('1' + i)), 31);
  addEmployee(0, "", 0);  // left out by the key
  RecordFile rad(store(), "TBZAPOSL");
  ASSERT_FALSE(rad.open());
  const int jmbg = rad.def().fieldIndex("JMBG"), firm = rad.def().fieldIndex("REDBROJ");
  KeyRange all{rad.def().key("KEYRBRFIRME"), 0, rad.blank()};
  KeyRange second{all.key, 1, rad.blank()};
  second.bounds.setInteger(firm, 2);
  auto ids = [&](const std::vector<Record>& rows) {
    std::string s;
    for (auto& r : rows) s += std::to_string(r.integer(firm)) + r.text(jmbg).substr(0, 1) + " ";
    return s;
  };
  std::int64_t n = -1;
  ASSERT_FALSE(rad.count(all, n));
  EXPECT_EQ(n, 15);
  ASSERT_FALSE(rad.count(second, n));
  EXPECT_EQ(n, 5);

  std::vector<Record> rows;
  struct Case { const KeyRange* range; std::int64_t offset; int n; bool fromEnd; const char* want; };
  for (const Case& c : {Case{&all, 0, 3, false, "11 12 13 "}, Case{&all, 13, 5, false, "34 35 "},
                        Case{&all, 0, 2, true, "34 35 "}, Case{&second, 1, 2, false, "22 23 "},
                        Case{&second, 0, 2, true, "24 25 "}, Case{&second, 5, 2, false, ""}}) {
    ASSERT_FALSE(rad.readAt(*c.range, c.offset, c.n, c.fromEnd, rows));
    EXPECT_EQ(ids(rows), c.want) << c.offset << (c.fromEnd ? " from the end" : "");
  }

  // A key value: rank and the records at and before it, within the range.
  Record at = rad.blank();
  at.setInteger(firm, 2);
  at.setText(jmbg, "3");
  ASSERT_FALSE(rad.rank(second, at, n));
  EXPECT_EQ(n, 2);
  ASSERT_FALSE(rad.rank(all, at, n));
  EXPECT_EQ(n, 7);
  ASSERT_FALSE(rad.readNear(second, at, true, 2, rows));
  EXPECT_EQ(ids(rows), "23 24 ");
  ASSERT_FALSE(rad.readNear(second, at, false, 5, rows));
  EXPECT_EQ(ids(rows), "21 22 ");
  // A record read from the store is itself left out, and a range ends
  // at its obligor's last row.
  ASSERT_FALSE(rad.readAt(second, 0, 1, true, rows));
  Record last = rows[0];
  ASSERT_FALSE(rad.readNear(second, last, true, 3, rows));
  EXPECT_EQ(ids(rows), "");
  ASSERT_FALSE(rad.readNear(all, last, true, 2, rows));
  EXPECT_EQ(ids(rows), "31 32 ");
  ASSERT_FALSE(rad.readNear(all, last, false, 2, rows));
  EXPECT_EQ(ids(rows), "23 24 ");
}

TEST_F(RecordLayer, ViewsHaveTheirOwnPositionOverOneTable) {
  for (int i = 1; i <= 3; ++i) addEmployee(1, std::string(13, char('0' + i)), 31);
  RecordFile rad(store(), "TBZAPOSL"), rad1(store(), "RAD1");
  ASSERT_FALSE(rad.open());
  ASSERT_FALSE(rad1.open());
  ASSERT_FALSE(rad.set("KEYOSOBA"));
  ASSERT_FALSE(rad1.set("RAD1:KEYOSOBA"));
  Record a, b;
  ASSERT_FALSE(rad.next(a));
  ASSERT_FALSE(rad.next(a));
  ASSERT_FALSE(rad1.next(b));
  EXPECT_EQ(a.text(1), "2222222222222");
  EXPECT_EQ(b.text(1), "1111111111111");
  // A delete through one view is seen by the other's next read.
  ASSERT_FALSE(rad.erase(a));
  ASSERT_FALSE(rad1.next(b));
  EXPECT_EQ(b.text(1), "3333333333333");
}

TEST_F(RecordLayer, DeletingWhileReadingForwardVisitsEveryRow) {
  for (int i = 0; i < 50; ++i) addEmployee(7, "0000000000000", 31);  // 50 equal keys
  RecordFile rad(store(), "TBZAPOSL");
  ASSERT_FALSE(rad.open());
  ASSERT_FALSE(rad.set("KEYRBRFIRME"));
  Record r;
  int seen = 0;
  while (!rad.next(r)) {
    ASSERT_FALSE(rad.erase(r));
    ++seen;
  }
  EXPECT_EQ(seen, 50);
  EXPECT_EQ(rad.count(), 0);
}

TEST_F(RecordLayer, CascadeDeletesChildrenOnlyThroughTheRecordLayer) {
  addObligor(1, "Prvi");
  addObligor(2, "Drugi");
  addEmployee(1, "1111111111111", 31);
  addEmployee(1, "2222222222222", 31);
  addEmployee(2, "3333333333333", 31);
  File<TBPOSLOD> pos(store());
  ASSERT_FALSE(pos.open());
  pos.rec.REDBROJ = 1;
  ASSERT_FALSE(pos.get("KEYREDBROJ"));
  ASSERT_FALSE(pos.remove());
  EXPECT_EQ(inOrder("TBZAPOSL", "KEYRBRFIRME", "JMBG"), (std::vector<std::string>{"3333333333333"}));
  pos.rec.REDBROJ = 2;
  ASSERT_FALSE(pos.get("KEYREDBROJ"));
  ASSERT_FALSE(pos.erase());  // direct delete keeps the rows
  EXPECT_EQ(inOrder("TBZAPOSL", "KEYRBRFIRME", "JMBG").size(), 1u);

  // A form and its page-B rows; rows of another form of the month stay.
  File<TBOBRAZA> a(store());
  File<TBOSIGUR> osi(store());
  ASSERT_FALSE(a.open());
  ASSERT_FALSE(osi.open());
  for (const char* konveza : {"001501201", "001501301"}) {
    a.clear();
    a.rec.KONVEZA = konveza;
    a.rec.IDENTIFIKATOR = std::string(konveza, 7);
    ASSERT_FALSE(a.insert());
    for (int i = 0; i < 3; ++i) {
      osi.clear();
      osi.rec.KONVEZA = konveza;
      osi.rec.GODOBRA = 2005;
      osi.rec.JMBG = std::to_string(i);
      ASSERT_FALSE(osi.insert());
    }
  }
  a.rec.KONVEZA = "001501201";
  ASSERT_FALSE(a.get("KEYIDENTIKATOR"));
  ASSERT_FALSE(a.remove());
  EXPECT_EQ(inOrder("TBOSIGUR", "KEYOBRGODMJE", "KONVEZA"),
            (std::vector<std::string>{"001501301", "001501301", "001501301"}));
  EXPECT_EQ(a.count(), 1);
}

TEST_F(RecordLayer, ExclusiveOpenConflictsAndEmptyNeedsIt) {
  RecordFile one(store(), "TBIZLAZ1"), two(store(), "TBIZLAZ1");
  ASSERT_FALSE(one.open());
  EXPECT_EQ(one.empty().kind(), ErrorCode::FileLocked);
  EXPECT_EQ(two.open(OpenMode::Exclusive).kind(), ErrorCode::FileLocked);
  one.close();
  ASSERT_FALSE(two.open(OpenMode::Exclusive));
  Error e = one.open();
  EXPECT_EQ(e.kind(), ErrorCode::FileLocked);
  EXPECT_NE(e.text.find("TBIZLAZ1"), std::string::npos);
  Record r(two.def());
  ASSERT_FALSE(two.add(r));
  ASSERT_FALSE(two.empty());
  EXPECT_EQ(two.count(), 0);
  two.close();
  EXPECT_FALSE(one.open());
}

TEST_F(RecordLayer, UnknownLabelsAndSuppliedFiles) {
  RecordFile none(store(), "NOSUCH");
  EXPECT_EQ(none.open().kind(), ErrorCode::UnknownLabel);
  RecordFile zap(store(), "ZAP2004");  // never created by the program
  EXPECT_EQ(zap.open().kind(), ErrorCode::FileNotFound);
  RecordFile text(store(), "TBVALTA");
  EXPECT_EQ(text.open().kind(), ErrorCode::UnknownLabel);
}

TEST(DataStoreOpen, ClearErrorsForBadDirectories) {
  test::TempDir dir;
  std::unique_ptr<DataStore> store;
  EXPECT_EQ(DataStore::open(dir.file("missing"), true, store).kind(), ErrorCode::PathNotFound);
  EXPECT_EQ(DataStore::open(dir.path(), false, store).kind(), ErrorCode::FileNotFound);
  {
    std::ofstream(dir.file("kdm.db")) << "this is not a database, only some text that is long enough";
  }
  Error e = DataStore::open(dir.path(), false, store);
  EXPECT_EQ(e.kind(), ErrorCode::NotADatabase) << e.text;
}

}  // namespace kdm

namespace kdm {

// Unique and duplicate keys of the code tables and working files: two rows
// per label, refused on the second or kept in full.
TEST_F(RecordLayer, UniqueAndDuplicateKeysOfCodeTablesAndWorkingFiles) {
  struct Case {
    const char* label;
    const char* csv;
    const char* refusal;  // nullptr: both rows kept
  } cases[] = {
      {"TBSTOPE", "VRSTOBRACUNA,VRSTAOBVEZNIKA,OSNOVOBRA,STAZ,CLANDN\n01,01,11,,D\n01,01,11,,d\n", "Osnov"},
      {"TBTMPDAT", "IDENTIFIKATOR,IMEFILE\n001500101,a\n001500101,b\n", "TBT:KeyIdentikator"},
      {"TBIZLAZ1", "REDBROJ,KOLONA,GRESKA\n5,KD5IBRT,prva\n5,KD5IBRT,druga\n", nullptr},
      {"VEZNATAB", "VOB,VOI,OO\n01,01,11\n01,01,11\n", "VEZ:KeyVOB_VOI"},
  };
  for (auto& c : cases) {
    std::int64_t stored = 0;
    Error e = importCsv(store(), *findLabel(c.label), c.csv, stored);
    if (c.refusal)
      EXPECT_EQ(e.text, std::string("line 3: Creating a record with a duplicate key: ") + c.refusal) << c.label;
    else
      EXPECT_EQ(stored, 2) << c.label << " " << e.text;
  }
  std::int64_t stored = 0;
  ASSERT_FALSE(importCsv(store(), *findLabel("VEZNATAB"), "VOB,VOI,OO\n01,01,11\n", stored));
  // Code tables have no rule on delete: the matrix rows of a deleted type stay.
  File<TBVRSOBV> vob(store());
  ASSERT_FALSE(vob.open());
  vob.rec.SIFRA = "01";
  vob.rec.SKROPIS = "Pravna osoba";
  ASSERT_FALSE(vob.insert());
  ASSERT_FALSE(vob.remove());
  RecordFile vez(store(), "VEZNATAB");
  ASSERT_FALSE(vez.open());
  EXPECT_EQ(vez.count(), 1);
}

}  // namespace kdm
