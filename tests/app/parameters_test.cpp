#include "app/parameters.h"

#include "register/register_fixture.h"

namespace kdm {

using test::kMb1;
using test::kMbg;

class RegisterParameters : public test::RegisterStore {
 protected:
  APLPARAM stored() {
    File<APLPARAM> f(*store);
    EXPECT_FALSE(f.open());
    f.rec.RB = 1;
    EXPECT_FALSE(f.get("KEYRB"));
    return f.rec;
  }
};

struct ParamCase {
  const char* mb;
  const char* jmbg;
  const char* message;  // empty: may be saved
  const char* focus;
  int beeps;
};

TEST_F(RegisterParameters, SaveChecksInOrder) {
  const ParamCase cases[] = {
      {"00000000", "0000000000000", "Upišite MB il JMBG", "APL:MB01", 0},
      {kMb1, kMbg, "Greška. Nije dozvoljeno upisati MB i JMBG", "APL:MB01", 0},
      {"12345674", "0000000000000", "Pogrešan MB Firme", "APL:MB01", 1},
      {"1234567x", "", "Pogrešan MB Firme", "APL:MB01", 1},
      {"00000000", "0101990330001", "JMBG nije točan. ISPRAVITE Podatak", "APL:JMBG", 1},
      {"00000000", "010199033000", "JMBG je netočan - nema 13 znamenaka.", "APL:JMBG", 0},
      {"", "010199033000a", "JMBG nije točan. ISPRAVITE Podatak", "APL:JMBG", 1},
      {"00000000", "5", "", "", 0},                 // one character is not checked
      {"00000000", "1111111111111", "", "", 0},     // the placeholder's check digit is right
      {kMb1, "0000000000000", "", "", 0},
      {"00000000", kMbg, "", "", 0},
      {"", "", "", "", 0},                          // only the all-zeros pair is refused
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.mb) + " / " + c.jmbg);
    CollectingReporter rep;
    APLPARAM apl;
    apl.MB01 = c.mb;
    apl.JMBG = c.jmbg;
    bool expectOk = std::string(c.message).empty();
    EXPECT_EQ(checkParametersForSave(GLO, apl, rep), expectOk);
    EXPECT_EQ(rep.messages, expectOk ? std::vector<std::string>{} : std::vector<std::string>{c.message});
    EXPECT_EQ(rep.focused, expectOk ? std::vector<std::string>{} : std::vector<std::string>{c.focus});
    EXPECT_EQ(rep.beeps, c.beeps);
  }
}

TEST_F(RegisterParameters, BothNumbersSetTheStatus) {
  APLPARAM apl;
  apl.MB01 = kMb1;
  apl.JMBG = kMbg;
  EXPECT_FALSE(checkParametersForSave(GLO, apl, out));
  EXPECT_EQ(GLO.Status, 1);
}

TEST_F(RegisterParameters, LeavingTheNumberFields) {
  APLPARAM apl;
  for (const char* mb : {"12345674", "1234567x"}) {
    CollectingReporter rep;
    apl.MB01 = mb;
    EXPECT_FALSE(leaveParametersMb(GLO, apl, rep)) << mb;
    EXPECT_EQ(rep.messages, std::vector<std::string>{"Pogrešan  MB "});
    EXPECT_EQ(rep.focused, std::vector<std::string>{"APL:MB01"});
  }
  for (const char* mb : {kMb1, "00000000", "1234567", ""}) {
    apl.MB01 = mb;
    EXPECT_TRUE(leaveParametersMb(GLO, apl, out)) << mb;
  }
  apl.JMBG = "0101990330001";
  EXPECT_FALSE(leaveParametersJmbg(GLO, apl, out));
  EXPECT_EQ(out.messages, std::vector<std::string>{"Pogrešan JMBG"});
  EXPECT_EQ(out.focused, std::vector<std::string>{"APL:JMBG"});
  for (const char* jmbg : {kMbg, "0000000000000", "01019903300x1", ""}) {
    apl.JMBG = jmbg;
    EXPECT_TRUE(leaveParametersJmbg(GLO, apl, out)) << jmbg;
  }
}

TEST_F(RegisterParameters, SaveWritesTheRecordOnlyWhenTheChecksPass) {
  APLPARAM apl = stored();
  apl.MB01 = kMb1;
  apl.JMBG = "0000000000000";
  apl.NAZIV = "Servis d.o.o.";
  apl.RADDIR = "/tmp/kdm/";
  ASSERT_TRUE(saveParameters(GLO, *store, apl, out)) << testing::PrintToString(out.messages);
  APLPARAM now = stored();
  EXPECT_EQ(now.MB01, kMb1);
  EXPECT_EQ(now.NAZIV, "Servis d.o.o.");
  EXPECT_EQ(now.RADDIR, "/tmp/kdm/");

  apl.JMBG = kMbg;  // both numbers
  apl.NAZIV = "Drugi";
  EXPECT_FALSE(saveParameters(GLO, *store, apl, out));
  EXPECT_EQ(stored().NAZIV, "Servis d.o.o.");
  EXPECT_EQ(all<APLPARAM>("KEYRB").size(), 1u);
}

TEST_F(RegisterParameters, SavingWithoutTheRecordReportsTheRecordLayer) {
  test::EmptyStore empty;
  APLPARAM apl;
  apl.JMBG = kMbg;
  EXPECT_FALSE(saveParameters(GLO, *empty.store, apl, out));
  EXPECT_EQ(out.messages, std::vector<std::string>{"Greška kod čitanja APLPARAM: Record not found"});
}

TEST_F(RegisterParameters, EnsureAddsTheDefaultRecordOnceWithoutLayerDefaults) {
  test::EmptyStore empty;
  APLPARAM apl;
  ASSERT_FALSE(ensureParameters(*empty.store, apl));
  EXPECT_EQ(apl.RB, 1);
  EXPECT_EQ(apl.NAZIV, "Knjigovodstveni servis");
  EXPECT_EQ(apl.ADRESA, "NN ulica bb, 10000 Zagreb");
  EXPECT_EQ(apl.KONOSO, "Nedro");
  EXPECT_EQ(apl.NAZSJED, "ZAGREB");
  EXPECT_EQ(apl.SIFSJED, "1333");
  EXPECT_EQ(apl.MB02, "");  // the record layer's default "000" is not applied
  EXPECT_EQ(apl.JMBG, "");
  EXPECT_EQ(apl.EMAIL + apl.RADDIR + apl.ULAZDIR + apl.IZLAZDIR, "");

  apl.NAZIV = "Promijenjeno";
  apl.JMBG = kMbg;
  ASSERT_TRUE(saveParameters(GLO, *empty.store, apl, out));
  APLPARAM again;
  ASSERT_FALSE(ensureParameters(*empty.store, again));
  EXPECT_EQ(again.NAZIV, "Promijenjeno");
  File<APLPARAM> f(*empty.store);
  ASSERT_FALSE(f.open());
  EXPECT_EQ(f.count(), 1);
}

}  // namespace kdm
