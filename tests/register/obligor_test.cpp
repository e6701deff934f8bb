#include "register/obligor.h"

#include "register_fixture.h"

namespace kdm {

using namespace test;

class RegisterObligor : public RegisterStore {
 protected:
  static TBPOSLOD obligor(std::int16_t number, const char* type, const char* mb, const char* mbg) {
    TBPOSLOD pos;
    primeNewObligor(pos);
    pos.REDBROJ = number;
    pos.VRSTOBVEZNIKA = type;
    pos.MB01 = mb;
    pos.JMBG = mbg;
    pos.NAZIV = "Obrt Ivo";
    pos.ADRESA = "Ilica 1, Zagreb";
    pos.KONTAKT = "Ivo";
    return pos;
  }
  void addEmployeeRow(std::int16_t obligor, const char* jmbg) {
    File<TBZAPOSL> rad(*store);
    ASSERT_FALSE(rad.open());
    rad.rec.REDBROJ = obligor;
    rad.rec.JMBG = jmbg;
    rad.rec.DODANA = 31;
    ASSERT_FALSE(rad.insert());
  }
};

struct ObligorCase {
  const char* type;
  const char* mb;
  const char* mbg;
  const char* message;  // empty: may be saved
  const char* focus;
  int beeps;
};

TEST_F(RegisterObligor, NumbersByTypeAndCheckDigits) {
  const ObligorCase cases[] = {
      {"17", "", "", "", "", 0},
      {"17", "00000000", "0000000000000", "", "", 0},
      {"02", kMb9, kMbg, "", "", 0},
      {"01", kMb9, kMbg, "Greška. Nije dozvoljeno upisati MB i MBG, izuzev ako MB počinje sa 8 ili 9", "POS:MB01", 0},
      {"02", kMb3, kMbg, "Greška. Nije dozvoljeno upisati MB i MBG, izuzev ako MB počinje sa 8 ili 9", "POS:MB01", 0},
      {"05", kMb8, "0000000000000", "", "", 0},
      {"05", kMb3, "0000000000000",
       "Za VOB=05 MB pravne osobe se ne upisuje, izuzev ako počinje sa 8 ili 9", "POS:MB01", 0},
      {"21", kMb3, "0000000000000", "", "", 0},
      {"01", "1234567", "0000000000000", "Za VOB=01 MB pravne osobe mora se upisati", "POS:MB01", 0},
      {"01", "12345674", "0000000000000", "Pogrešan MB Firme", "POS:MB01", 1},
      {"01", kMb1, "0000000000000", "", "", 0},
      {"01", "00000000", "0000000000000", "Obvezno upišite ili MB ili MBG", "POS:MB01", 0},
      // A new obligor's stand-ins: blank MB with the zeros MBG is no number either.
      {"02", "", "0000000000000", "Obvezno upišite ili MB ili MBG", "POS:MB01", 0},
      {"01", "00000000", kMbg, "Za VOB=01 MBG se ne upisuje", "POS:JMBG", 0},
      {"02", "00000000", "010199033000", "Za VOB=02 MBG mora se upisati", "POS:JMBG", 0},
      {"02", "00000000", kMbg, "", "", 0},
      {"17", "00000000", "010199033000", "MBG je netočan - nema 13 znamenaka.", "POS:JMBG", 0},
      {"17", "00000000", "0101990330001", "MBG nije točan. ISPRAVITE Podatak", "POS:JMBG", 1},
      {"17", "00000000", "5", "", "", 0},
      {"99", kMb1, "0000000000000", "Pogrešna vrsta obveznika. Ispravite !", "POS:VRSTOBVEZNIKA", 0},
      {"", kMb1, "0000000000000", "Pogrešna vrsta obveznika. Ispravite !", "POS:VRSTOBVEZNIKA", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.type) + " " + c.mb + " " + c.mbg);
    CollectingReporter rep;
    bool expectOk = std::string(c.message).empty();
    EXPECT_EQ(checkObligorForSave(GLO, *store, obligor(1, c.type, c.mb, c.mbg), rep), expectOk);
    EXPECT_EQ(rep.messages, expectOk ? std::vector<std::string>{} : std::vector<std::string>{c.message});
    EXPECT_EQ(rep.focused, expectOk ? std::vector<std::string>{} : std::vector<std::string>{c.focus});
    EXPECT_EQ(rep.beeps, c.beeps);
  }
}

TEST_F(RegisterObligor, NameAddressAndContactComeFirst) {
  struct {
    std::string TBPOSLOD::*field;
    const char* message;
    const char* focus;
  } cases[] = {
      {&TBPOSLOD::NAZIV, "Greška broj 6. Naziv ili prezime i ime je obvezan podatak", "POS:NAZIV"},
      {&TBPOSLOD::ADRESA, "Greška broj 7. Adresa obveznika je obvezan podatak", "POS:ADRESA"},
      {&TBPOSLOD::KONTAKT, "Greška broj 8. Kontakt osoba se obvezno upisuje", "POS:KONTAKT"},
  };
  for (const auto& c : cases) {
    CollectingReporter rep;
    TBPOSLOD pos = obligor(1, "99", "", "");  // the wrong type is not reached
    pos.*c.field = "  ";
    EXPECT_FALSE(checkObligorForSave(GLO, *store, pos, rep));
    EXPECT_EQ(rep.messages, std::vector<std::string>{c.message});
    EXPECT_EQ(rep.focused, std::vector<std::string>{c.focus});
  }
}

TEST_F(RegisterObligor, NumberOfThreeDigitsFirst) {
  for (std::int16_t number : {-5, 0, 1000}) {
    SCOPED_TRACE(number);
    CollectingReporter rep;
    TBPOSLOD pos = obligor(number, "01", kMb1, "0000000000000");
    pos.NAZIV = "";  // the number is checked before the name
    EXPECT_FALSE(saveObligor(GLO, *store, pos, true, rep));
    EXPECT_EQ(rep.messages, std::vector<std::string>{"Redni broj obveznika mora biti od 1 do 999"});
    EXPECT_EQ(rep.focused, std::vector<std::string>{"POS:REDBROJ"});
  }
  for (std::int16_t number : {1, 999}) {
    TBPOSLOD pos = obligor(number, "01", kMb1, "0000000000000");
    EXPECT_TRUE(saveObligor(GLO, *store, pos, true, out)) << number;
  }
  EXPECT_EQ(all<TBPOSLOD>("KEYREDBROJ").size(), 2u);
}

TEST_F(RegisterObligor, NewChangedAndDuplicateObligors) {
  TBPOSLOD pos = obligor(7, "01", kMb1, "0000000000000");
  ASSERT_TRUE(saveObligor(GLO, *store, pos, true, out)) << testing::PrintToString(out.messages);

  TBPOSLOD refused = obligor(7, "17", "", "");
  EXPECT_FALSE(saveObligor(GLO, *store, refused, true, out));
  EXPECT_EQ(out.messages,
            std::vector<std::string>{"Greška kod upisa TBPOSLOD: Creating a record with a duplicate key: Redni broj fime"});

  GLO.Firma = 7;
  pos.NAZIV = "Novi naziv";
  pos.REDBROJ = 8;  // the number itself may change
  ASSERT_TRUE(saveObligor(GLO, *store, pos, false, out));
  auto rows = all<TBPOSLOD>("KEYREDBROJ");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].REDBROJ, 8);
  EXPECT_EQ(rows[0].NAZIV, "Novi naziv");

  CollectingReporter rep;
  GLO.Firma = 7;  // no longer there
  EXPECT_FALSE(saveObligor(GLO, *store, pos, false, rep));
  EXPECT_EQ(rep.messages, std::vector<std::string>{"Greška kod čitanja TBPOSLOD"});
}

TEST_F(RegisterObligor, ANewObligorStartsWithTheStandIns) {
  TBPOSLOD pos;
  pos.NAZIV = "old";
  primeNewObligor(pos);
  EXPECT_EQ(pos.NAZIV, "");
  EXPECT_EQ(pos.JMBG, "0000000000000");
  EXPECT_EQ(pos.MB02, "0000");
  EXPECT_EQ(pos.MB01, "");
}

TEST_F(RegisterObligor, DeletingLeavesTheEmployeeRows) {
  TBPOSLOD a = obligor(1, "17", "", ""), b = obligor(2, "17", "", "");
  ASSERT_TRUE(saveObligor(GLO, *store, a, true, out));
  ASSERT_TRUE(saveObligor(GLO, *store, b, true, out));
  addEmployeeRow(1, kMbg);
  addEmployeeRow(2, kMbg2);

  ASSERT_TRUE(deleteObligor(GLO, *store, 1, out));
  EXPECT_EQ(GLO.Firma, 1);
  auto obligors = all<TBPOSLOD>("KEYREDBROJ");
  ASSERT_EQ(obligors.size(), 1u);
  EXPECT_EQ(obligors[0].REDBROJ, 2);
  EXPECT_EQ(all<TBZAPOSL>("KEYOSOBA").size(), 2u);

  EXPECT_FALSE(deleteObligor(GLO, *store, 1, out));
  EXPECT_EQ(out.messages, std::vector<std::string>{"Greška kod čitanja TBPOSLOD"});
  TBPOSLOD read;
  EXPECT_TRUE(readObligor(*store, 2, read, out));
  EXPECT_EQ(read.NAZIV, "Obrt Ivo");
}

TEST_F(RegisterObligor, TypeDescription) {
  EXPECT_NE(obligorTypeDescription(*store, "17").find("nema ni MB ni MBG"), std::string::npos);
  EXPECT_EQ(obligorTypeDescription(*store, "99"), "");
}

}  // namespace kdm
