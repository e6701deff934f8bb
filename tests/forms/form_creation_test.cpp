#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "data/seed.h"
#include "forms/form_creation.h"
#include "platform/files.h"
#include "platform/hash.h"
#include "platform/text.h"
#include "temp_dir.h"

namespace kdm {

class FormCreation : public testing::Test {
 protected:
  test::TempDir dir;
  std::unique_ptr<DataStore> store;
  Globals GLO;
  CollectingReporter out;

  void SetUp() override {
    setenv("KDM_TODAY", "2005-06-15", 1);
    InitResult r;
    ASSERT_FALSE(initDataDirectory(dir.path(), r));
    ASSERT_FALSE(DataStore::open(dir.path(), false, store));
    File<APLPARAM> apl(*store);
    apl.open();
    apl.rec.RB = 1;
    ASSERT_FALSE(apl.get("KEYRB"));
    apl.rec.JMBG = "1234567890125";
    ASSERT_FALSE(apl.put());
  }
  void TearDown() override { unsetenv("KDM_TODAY"); }

  void obligor(std::int16_t nr, const std::string& type, const std::string& jmbg = "0000000000000") {
    File<TBPOSLOD> pos(*store);
    pos.open();
    pos.rec.REDBROJ = nr;
    pos.rec.NAZIV = "Obveznik " + std::to_string(nr);
    pos.rec.ADRESA = "Adresa";
    pos.rec.VRSTOBVEZNIKA = type;
    pos.rec.MB01 = "12345679";
    pos.rec.MB02 = "0000";
    pos.rec.JMBG = jmbg;
    ASSERT_FALSE(pos.add());
  }
  void row(std::int16_t firm, const std::string& jmbg, int from, int to, const char* gross, int month = 5,
           const std::string& type = "01") {
    File<TBZAPOSL> rad(*store);
    rad.open();
    rad.rec.REDBROJ = firm;
    rad.rec.JMBG = jmbg;
    rad.rec.PREZIME = "Osoba " + jmbg.substr(10);
    rad.rec.VRSTAUPLA = type;
    rad.rec.CLANDN = "D";
    rad.rec.OSNOVA1 = "11";
    rad.rec.GODOBRA = 2005;
    rad.rec.MJEOBRA = static_cast<std::int16_t>(month);
    rad.rec.ODDANA = static_cast<std::int16_t>(from);
    rad.rec.DODANA = static_cast<std::int16_t>(to);
    rad.rec.IZNOS7 = *Decimal::parse(gross);
    rad.rec.IZNOS8 = *Decimal::parse(gross);
    ASSERT_FALSE(rad.add());
  }
  // The window after choosing obligor `nr` and typing the period.
  bool form(std::int16_t nr, DeliveryMode mode = DeliveryMode::Single, const std::string& type = "01") {
    EXPECT_TRUE(openFormCreation(GLO, *store, out));
    EXPECT_TRUE(chooseObligor(GLO, *store, nr, out));
    GLO.VrsUpl = type;
    GLO.ObrGodina = 2005;
    GLO.ObrMjesec = 5;
    GLO.DanOd = 1;
    GLO.DanDo = 31;
    return processObligor(GLO, *store, mode, out);
  }
  TBOBRAZA pageA(const std::string& konveza) {
    File<TBOBRAZA> a(*store);
    a.open();
    a.rec.KONVEZA = konveza;
    EXPECT_FALSE(a.get("KEYIDENTIKATOR")) << konveza;
    return a.rec;
  }
  std::int64_t count(const char* label) {
    RecordFile f(*store, label);
    f.open();
    return f.count();
  }
};

TEST_F(FormCreation, IdentifiersAndFileNamesForEveryKindOfObligor) {
  EXPECT_EQ(identifierSuffix("30", "0000000000000", 2005, 7), "9507");
  EXPECT_EQ(identifierSuffix("31", "1234567890125", 2005, 57), "9557");
  EXPECT_EQ(identifierSuffix("02", "1234567890125", 2005, 7), "507 ");
  EXPECT_EQ(identifierSuffix("01", "0000000000000", 2005, 7), "5007");
  EXPECT_EQ(identifierSuffix("01", "", 2009, 123), "9123");
  EXPECT_EQ(submissionCopyName(12, 2005, 7), "F0125007.TXT");
}

TEST_F(FormCreation, FormsPageBPageAFileAndControlNumber) {
  obligor(1, "01");
  // Two persons, 25 rows: 3 pages; person 2 has two periods.
  for (int i = 0; i < 23; ++i) row(1, "1111111111111", 1, 31, "100.00");
  row(1, "0101980000002", 1, 15, "10.01");
  row(1, "0101980000002", 16, 31, "-5.00");
  row(1, "0101980000010", 1, 31, "999.00", 6);           // another month
  row(1, "0101980000010", 1, 31, "999.00", 5, "02");     // another type
  row(2, "0101980000010", 1, 31, "999.00");              // another obligor
  ASSERT_TRUE(form(1)) << (out.messages.empty() ? "" : out.messages.back());
  EXPECT_EQ(GLO.Status, 2);
  EXPECT_EQ(GLO.Identifikator, "0015001");
  EXPECT_EQ(GLO.KonVeza, "001500101");
  TBOBRAZA a = pageA("001500101");
  EXPECT_EQ(a.BROJOSIG, 2);
  EXPECT_EQ(a.BROJSTRANA, 3);
  EXPECT_EQ(a.IZNOS7.toString(), "2305.01");
  EXPECT_EQ(a.OBRMJE, "05");
  EXPECT_EQ(a.OBRGOD, "2005");
  EXPECT_EQ(a.GODPLA, "2005");
  EXPECT_EQ(count("TBOSIGUR"), 25);

  std::string copy = joinPath(dir.path(), "F0015001.TXT");
  ASSERT_EQ(GLO.ImeDatoteke, copy);
  auto hash = doSHAOnFile(copy);
  ASSERT_TRUE(hash);
  EXPECT_EQ(a.KONZNAK, controlNumber(*hash));
  EXPECT_EQ(doSHAOnFile(joinPath(dir.path(), "TBVALTA.TXT")), hash);
  std::ifstream in(copy, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(bytes.size(), 29u * 252u);  // header, form, 25 persons, two trailers
  EXPECT_EQ(out.statuses.back(), "OBVEZNIK JE USPJEŠNO OBRAĐEN-" + copy);

  File<TBPOSLOD> pos(*store);
  pos.open();
  pos.rec.REDBROJ = 1;
  pos.get("KEYREDBROJ");
  EXPECT_EQ(pos.rec.IDENTIFIKATOR, 1);

  // "&Provjera obrade za obveznika" finds the form, and not a later one.
  EXPECT_TRUE(lookUpForm(GLO, *store, out));
  GLO.ZadBroj = 2;
  EXPECT_FALSE(lookUpForm(GLO, *store, out));
  EXPECT_EQ(out.messages.back(), "Nema obrasca broj 5002 za firmu 001");
}

TEST_F(FormCreation, FormingAgainReplacesRowsAndKeepsOneListEntry) {
  obligor(1, "01");
  row(1, "1111111111111", 1, 31, "100.00");
  ASSERT_TRUE(form(1));
  GLO.ZadBroj = 1;
  ASSERT_TRUE(processObligor(GLO, *store, DeliveryMode::Single, out));
  EXPECT_EQ(count("TBOSIGUR"), 1);
  EXPECT_EQ(count("TBOBRAZA"), 1);
  EXPECT_EQ(count("TBTMPDAT"), 1);
}

TEST_F(FormCreation, NaturalPersonAndNegativeTotals) {
  obligor(2, "02", "1234567890125");
  row(2, "1111111111111", 1, 31, "-100.00");
  ASSERT_TRUE(form(2));
  EXPECT_EQ(GLO.Identifikator, "002501 ");
  TBOBRAZA a = pageA("002501 01");
  EXPECT_EQ(a.IZNOS7.toString(), "0.00");
  EXPECT_EQ(a.BROJSTRANA, 1);
}

TEST_F(FormCreation, RefusalsBeforeAnythingIsWritten) {
  obligor(30, "30");
  obligor(31, "31");
  obligor(1, "01");
  row(1, "1111111111111", 1, 31, "100.00");
  struct Case {
    std::int16_t obligor;
    int seq;
    DeliveryMode mode;
    const char* type;
    const char* message;
  } cases[] = {
      {30, 50, DeliveryMode::Single, "01", "Za VOB=30 red. broj unutar indetifikatora mora biti <50"},
      {31, 49, DeliveryMode::Single, "01", "Za VOB=31 red. broj unutar indetifikatora mora biti >=50"},
      {1, 1, DeliveryMode::None, "01", "Obavezno izaberite način slanja podataka"},
      {1, 1, DeliveryMode::Single, "1", "Obavezno izaberite vrstu uplate"},
      {1, 0, DeliveryMode::Single, "01", "Obavezno upište broj identifikatora"},
  };
  for (auto& c : cases) {
    out.messages.clear();
    ASSERT_TRUE(chooseObligor(GLO, *store, c.obligor, out));
    GLO.VrsUpl = c.type;
    GLO.ObrGodina = 2005;
    GLO.ObrMjesec = 5;
    GLO.ZadBroj = static_cast<std::int16_t>(c.seq);
    EXPECT_FALSE(processObligor(GLO, *store, c.mode, out));
    ASSERT_FALSE(out.messages.empty());
    EXPECT_EQ(out.messages.back(), c.message);
  }
  EXPECT_EQ(count("TBOSIGUR"), 0);
  // Sequence 49 for type 30 and 50 for type 31 pass these checks.
  GLO.ZadBroj = 49;
  ASSERT_TRUE(chooseObligor(GLO, *store, 30, out));
  GLO.ZadBroj = 49;
  out.messages.clear();
  processObligor(GLO, *store, DeliveryMode::Single, out);
  EXPECT_EQ(out.statuses.back(), "Obrada prekinuta. Pročitano=   0 Preuzeto=    0");
  EXPECT_EQ(GLO.Identifikator, "0309549");
}

TEST_F(FormCreation, PlaceholderRefusedOnOpeningAndProcessing) {
  File<APLPARAM> apl(*store);
  apl.open();
  apl.rec.RB = 1;
  apl.get("KEYRB");
  apl.rec.JMBG = kPlaceholderJmbg;
  apl.put();
  EXPECT_FALSE(openFormCreation(GLO, *store, out));
  EXPECT_FALSE(processObligor(GLO, *store, DeliveryMode::Single, out));
  const std::string refusal =
      "Obavezno ispravite podatke o ovlaštenoj osobi. | Izmjenu izvršite kroz Servisi/Aplikacijski parametri";
  EXPECT_EQ(out.messages, (std::vector<std::string>{refusal, refusal}));
}

TEST_F(FormCreation, FieldChecksWhenLeft) {
  GLO.VrsUpl = "05";
  GLO.ObrGodina = 2005;
  GLO.ObrMjesec = 1;
  EXPECT_FALSE(leaveMonthField(GLO, out));
  EXPECT_EQ(out.messages.back(), "Za uplate 03 05 i 06 mjesec mora biti = 00");
  GLO.ObrMjesec = 0;
  GLO.MjIsplate = 6;
  EXPECT_TRUE(leaveMonthField(GLO, out));
  EXPECT_EQ(GLO.MjIsplate, 0);
  GLO.ObrMjesec = 2;
  EXPECT_FALSE(leaveDayField(GLO, 30, out));
  EXPECT_FALSE(leaveDayField(GLO, 29, out));
  GLO.ObrGodina = 2008;
  EXPECT_TRUE(leaveDayField(GLO, 29, out));
  EXPECT_FALSE(leaveYearField(GLO, "205", out));
  EXPECT_EQ(out.messages.back(), "Greška. Godina mora biti 4-znamenkasta");
  GLO.ObrGodina = 2004;
  EXPECT_FALSE(leaveYearField(GLO, "2004", out));
  EXPECT_EQ(out.messages.back(), "Greška. Godina mora biti veća od 2004");
}

TEST_F(FormCreation, SequenceMustFitTheIdentifier) {
  obligor(1, "01");
  obligor(2, "02", "1234567890125");
  obligor(3, "31");
  obligor(4, "30");
  struct {
    std::int16_t obligor;
    std::int16_t seq;
    const char* refusal;  // empty: accepted
  } cases[] = {
      {1, 999, ""},
      {1, 1000, "Red. broj unutar identifikatora mora biti <1000"},
      {2, 99, ""},
      {2, 100, "Za fizičku osobu red. broj unutar identifikatora mora biti <100"},
      {3, 99, ""},
      {3, 100, "Za VOB=31 red. broj unutar identifikatora mora biti <100"},
      {4, 100, "Za VOB=30 red. broj unutar identifikatora mora biti <100"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.obligor) + "/" + std::to_string(c.seq));
    CollectingReporter rep;
    ASSERT_TRUE(chooseObligor(GLO, *store, c.obligor, rep));
    GLO.ZadBroj = c.seq;
    bool accepted = std::string(c.refusal).empty();
    EXPECT_EQ(leaveSequenceField(GLO, *store, rep), accepted);
    EXPECT_EQ(rep.messages, accepted ? std::vector<std::string>{} : std::vector<std::string>{c.refusal});
    EXPECT_EQ(rep.focused, accepted ? std::vector<std::string>{} : std::vector<std::string>{"GLO:ZadBroj"});
  }
}

TEST_F(FormCreation, RowsOutsideThePeriodAreNotTaken) {
  obligor(1, "01");
  row(1, "1111111111111", 10, 20, "100.00");
  EXPECT_TRUE(openFormCreation(GLO, *store, out));
  ASSERT_TRUE(chooseObligor(GLO, *store, 1, out));
  GLO.VrsUpl = "01";
  GLO.ObrGodina = 2005;
  GLO.ObrMjesec = 5;
  GLO.DanOd = 1;
  GLO.DanDo = 15;  // the first day lies inside, the last does not
  EXPECT_FALSE(processObligor(GLO, *store, DeliveryMode::Single, out));
  EXPECT_EQ(out.statuses.back(), "Obrada prekinuta. Pročitano=   1 Preuzeto=    0");
  EXPECT_EQ(GLO.Status, 0);
}

TEST_F(FormCreation, CollectiveModeSwitchesToAddingAndListsEveryForm) {
  obligor(1, "01");
  obligor(2, "01");
  row(1, "1111111111111", 1, 31, "100.00");
  row(2, "1111111111111", 1, 31, "200.00");
  GLO.IzborPosla = kNewFile;
  ASSERT_TRUE(form(1, DeliveryMode::Collective));
  EXPECT_EQ(GLO.IzborPosla, kAddToFile);
  ASSERT_TRUE(form(2, DeliveryMode::Collective));
  EXPECT_EQ(count("TBTMPDAT"), 2);
  // The same form again in "Dodaj u file" is refused by the list's key.
  GLO.ZadBroj = 1;
  out.messages.clear();
  EXPECT_TRUE(processObligor(GLO, *store, DeliveryMode::Collective, out));
  ASSERT_FALSE(out.messages.empty());
  EXPECT_EQ(out.messages.back().rfind("Greška. Add TBTMPDAT ", 0), 0u) << out.messages.back();
  EXPECT_EQ(count("TBTMPDAT"), 2);
}

}  // namespace kdm

namespace kdm {

// Totals the form record cannot hold stop the run before anything changes:
// the earlier form, its rows and its file stay.
TEST_F(FormCreation, TotalsThatDoNotFitTheFormAreRefusedAndTheOldFormStays) {
  obligor(1, "01");
  row(1, "1111111111111", 1, 31, "100.00");
  ASSERT_TRUE(form(1));
  const std::string file = GLO.ImeDatoteke;
  std::ifstream in(file, std::ios::binary);
  const std::string before((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::string number = pageA("001500101").KONZNAK;
  for (const char* jmbg : {"0101980000002", "0101980000010"}) {
    File<TBZAPOSL> rad(*store);
    rad.open();
    rad.rec.REDBROJ = 1;
    rad.rec.JMBG = jmbg;
    rad.rec.PREZIME = "Velika plaća";
    rad.rec.VRSTAUPLA = "01";
    rad.rec.CLANDN = "D";
    rad.rec.OSNOVA1 = "11";
    rad.rec.GODOBRA = 2005;
    rad.rec.MJEOBRA = 5;
    rad.rec.ODDANA = 1;
    rad.rec.DODANA = 31;
    rad.rec.IZNOS8 = *Decimal::parse("60000000000.00");
    ASSERT_FALSE(rad.add());
  }
  out = CollectingReporter();
  GLO.ZadBroj = 1;
  EXPECT_FALSE(processObligor(GLO, *store, DeliveryMode::Single, out));
  ASSERT_FALSE(out.messages.empty());
  EXPECT_EQ(out.messages[0].rfind("Greška. Zbroj III.2 = ", 0), 0u) << out.messages[0];
  EXPECT_EQ(out.statuses.back(), "GREŠKA. OBVEZNIK NIJE USPJEŠNO OBRAĐEN");
  EXPECT_EQ(count("TBOSIGUR"), 1);
  EXPECT_EQ(pageA("001500101").KONZNAK, number);
  std::ifstream again(file, std::ios::binary);
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(again)), std::istreambuf_iterator<char>()), before);
}

}  // namespace kdm
