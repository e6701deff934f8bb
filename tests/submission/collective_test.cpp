#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/hash.h"
#include "submission/collective.h"
#include "submission/submission_file.h"
#include "temp_dir.h"

namespace kdm {
namespace {

const char* kPlaceholder = "1234567890-1234567890-1234567890-1234567890";

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The data directory of a bookkeeping service that delivers the forms of
// several obligors in one collective file.
class SubmissionCollective : public testing::Test {
 protected:
  test::EmptyStore s;
  Globals GLO;
  CollectingReporter out;

  DataStore& store() { return *s.store; }
  std::string rm0() { return store().pathOf("VALTA.RM0"); }

  void SetUp() override {
    File<APLPARAM> apl(store());
    ASSERT_FALSE(apl.open());
    apl.rec.RB = 1;
    apl.rec.MB01 = "12345678";
    apl.rec.MB02 = "0001";
    apl.rec.JMBG = "0101965330012";
    apl.rec.NAZIV = "Knjigovodstveni servis";
    ASSERT_FALSE(apl.insert());
    GLO.DatSlanja = *Date::fromYmd(2005, 4, 2);
  }

  static TBPOSLOD obligor(std::int16_t nr) {
    TBPOSLOD pos;
    pos.REDBROJ = nr;
    pos.MB01 = "1111111" + std::to_string(nr);
    pos.MB02 = "0000";
    pos.JMBG = "0000000000000";
    pos.NAZIV = "Obveznik " + std::to_string(nr);
    return pos;
  }

  // Forms obligor `nr`'s one-form file as its window would (page A, its
  // submission file under its own name) and lists it.
  std::string formObligor(std::int16_t nr, SignStyle sign, int rows, bool emptyList) {
    TBOBRAZA a;
    a.IDENTIFIKATOR = "00" + std::to_string(nr) + "5001";
    a.VRSUPLA = "01";
    a.KONVEZA = a.IDENTIFIKATOR + "01";
    a.MB01 = obligor(nr).MB01;
    a.MB02 = "0000";
    a.JMBG = "0000000000000";
    a.NAZIV = obligor(nr).NAZIV;
    a.KONZNAK = kPlaceholder;
    a.BROJOSIG = rows;
    File<TBOBRAZA> f(store());
    EXPECT_FALSE(f.open());
    f.rec = a;
    EXPECT_FALSE(f.add());

    CollectingReporter quiet;
    SubmissionWriter w(store(), quiet, sign);
    EXPECT_TRUE(w.begin());
    File<APLPARAM> apl(store());
    apl.open();
    apl.rec.RB = 1;
    apl.get("KEYRB");
    w.writeHeader(apl.rec, GLO.DatSlanja);
    w.writeForm(a);
    for (int i = 0; i < rows; ++i) {
      TBOSIGUR r;
      r.JMBG = "01019703300" + std::to_string(10 + i);
      r.PREZIME = "Radnik " + std::to_string(i);
      r.IZNOS7 = Decimal::fromInt(100 * (i + 1));
      w.writeInsured(r);
    }
    w.writeFormTrailer(a, GLO.DatSlanja);
    w.writeFileTrailer(apl.rec, GLO.DatSlanja);
    EXPECT_TRUE(w.finish());
    std::string copy = store().pathOf("F00" + std::to_string(nr) + "5001.TXT");
    std::filesystem::copy_file(w.path(), copy, std::filesystem::copy_options::overwrite_existing);
    EXPECT_TRUE(addToCollectiveList(store(), quiet, emptyList, obligor(nr), a.KONVEZA, copy));
    EXPECT_TRUE(quiet.messages.empty());
    return copy;
  }

  std::vector<std::string> marks() {
    File<TBOBRAZA> a(store());
    EXPECT_FALSE(a.open());
    a.setStart("KEYIDENTIKATOR");
    std::vector<std::string> out;
    while (!a.next()) out.push_back(a.rec.KONZNAK);
    return out;
  }

  std::vector<std::string> lines(const std::string& path) {
    std::vector<std::string> out;
    std::string bytes = slurp(path);
    for (std::size_t at = 0; at + 252 <= bytes.size(); at += 252) {
      EXPECT_EQ(bytes.substr(at + 250, 2), "\r\n");
      out.push_back(bytes.substr(at, 250));
    }
    EXPECT_EQ(bytes.size() % 252, 0u);
    return out;
  }
};

TEST_F(SubmissionCollective, JoinsTheListedFilesUnderOneControlNumber) {
  std::string f1 = formObligor(1, SignStyle::Zero, 2, true);
  std::string f2 = formObligor(2, SignStyle::Plus, 3, false);
  std::string f3 = formObligor(3, SignStyle::Zero, 1, false);
  formCollectiveFile(GLO, store(), out);
  EXPECT_EQ(out.messages, std::vector<std::string>{});
  EXPECT_EQ(GLO.Status, 2);
  EXPECT_EQ(GLO.ImeDatoteke, rm0());

  auto joined = lines(rm0());
  std::string types;
  for (auto& l : joined) types += l.back();
  EXPECT_EQ(types, "0" "3557" "35557" "357" "9");
  // Every record of the listed files but their headers and trailers, unchanged.
  std::vector<std::string> expected;
  for (const std::string& f : {f1, f2, f3}) {
    auto own = lines(f);
    expected.insert(expected.end(), own.begin() + 1, own.end() - 1);
  }
  EXPECT_EQ(std::vector<std::string>(joined.begin() + 1, joined.end() - 1), expected);
  EXPECT_EQ(joined[2].substr(59, 15), "000000000010000");  // form creation's sign kept
  EXPECT_EQ(joined[6].substr(59, 15), "+00000000010000");  // take-over's sign kept
  EXPECT_EQ(joined[0].substr(0, 25), "123456780001" "0101965330012");  // both MB and MBG
  SubmissionLine trailer(joined.back());
  EXPECT_EQ(trailer.field("KD9MBOO") + trailer.field("KD9MBGO"), "123456780001" "0101965330012");
  EXPECT_EQ(trailer.field("KD9DTMN"), "02042005");
  EXPECT_EQ(trailer.field("KD9BROJ"), "000003");

  std::string number = controlNumber(*doSHAOnFile(rm0()));
  EXPECT_EQ(marks(), std::vector<std::string>(3, number));
  EXPECT_EQ(slurp(rm0()), slurp(store().pathOf("TBVALTA.TXT")));

  // The list stays: joining it again gives the same file.
  formCollectiveFile(GLO, store(), out);
  EXPECT_EQ(GLO.Status, 2);
  EXPECT_EQ(controlNumber(*doSHAOnFile(rm0())), number);
}

TEST_F(SubmissionCollective, AListedFileThatCannotBeReadStopsBeforeAnythingIsDelivered) {
  formObligor(1, SignStyle::Zero, 2, true);
  std::string f2 = formObligor(2, SignStyle::Zero, 2, false);
  std::ofstream(rm0(), std::ios::binary) << "the previous collective file\r\n";

  std::filesystem::remove(f2);
  formCollectiveFile(GLO, store(), out);
  EXPECT_EQ(out.messages, std::vector<std::string>{"Greška, file: " + f2 + " Error=File not found: " + f2});
  EXPECT_EQ(GLO.Status, 1);
  EXPECT_EQ(slurp(rm0()), "the previous collective file\r\n");
  EXPECT_EQ(marks(), std::vector<std::string>(2, kPlaceholder));

  // A directory in its place is no better.
  std::filesystem::create_directory(f2);
  out.messages.clear();
  GLO.ImeDatoteke = "unchanged";
  formCollectiveFile(GLO, store(), out);
  EXPECT_EQ(out.messages,
            std::vector<std::string>{"Greška, file: " + f2 + " Error=" + f2 + " is a directory, not a regular file"});
  EXPECT_EQ(GLO.Status, 1);
  EXPECT_EQ(GLO.ImeDatoteke, "unchanged");
  EXPECT_EQ(slurp(rm0()), "the previous collective file\r\n");
  EXPECT_EQ(marks(), std::vector<std::string>(2, kPlaceholder));
}

TEST_F(SubmissionCollective, AnEmptyListDeliversNothing) {
  formCollectiveFile(GLO, store(), out);
  EXPECT_EQ(out.messages, std::vector<std::string>{"Greška pri kreiranju jedinstvenog HASH broja"});
  EXPECT_EQ(GLO.Status, 1);
  EXPECT_FALSE(std::filesystem::exists(rm0()));
}

TEST_F(SubmissionCollective, AMissingFormStopsTheRunBeforeAnythingIsDeliveredOrMarked) {
  formObligor(1, SignStyle::Zero, 1, true);
  formObligor(2, SignStyle::Zero, 1, false);
  formObligor(3, SignStyle::Zero, 1, false);
  File<TBOBRAZA> a(store());
  ASSERT_FALSE(a.open());
  a.rec.KONVEZA = "0025001" "01";
  ASSERT_FALSE(a.get("KEYIDENTIKATOR"));
  ASSERT_FALSE(a.erase());

  formCollectiveFile(GLO, store(), out);
  EXPECT_EQ(out.messages, std::vector<std::string>{"Greška pri ažuriranju HASH broja (1) Ident=002500101"});
  EXPECT_EQ(GLO.Status, 1);
  EXPECT_FALSE(std::filesystem::exists(rm0()));
  EXPECT_EQ(marks(), (std::vector<std::string>{kPlaceholder, kPlaceholder}));
}

TEST_F(SubmissionCollective, WritesIntoTheOutputDirectoryOrFailsWithoutMarking) {
  formObligor(1, SignStyle::Zero, 1, true);
  std::string outDir = s.dir.file("izlaz") + "/";
  {
    File<APLPARAM> apl(store());
    ASSERT_FALSE(apl.open());
    apl.rec.RB = 1;
    ASSERT_FALSE(apl.get("KEYRB"));
    apl.rec.IZLAZDIR = outDir;
    ASSERT_FALSE(apl.put());
  }
  // The output directory does not exist yet: nothing is delivered.
  formCollectiveFile(GLO, store(), out);
  ASSERT_EQ(out.messages.size(), 1u);
  EXPECT_EQ(out.messages[0].rfind("Greška, file: " + store().pathOf("TBVALTA.TXT") + " " + outDir + "VALTA.RM0 Error=", 0), 0u)
      << out.messages[0];
  EXPECT_EQ(GLO.Status, 1);
  EXPECT_EQ(marks(), std::vector<std::string>{kPlaceholder});

  std::filesystem::create_directory(outDir);
  out.messages.clear();
  formCollectiveFile(GLO, store(), out);
  EXPECT_EQ(out.messages, std::vector<std::string>{});
  EXPECT_EQ(GLO.Status, 2);
  EXPECT_EQ(GLO.ImeDatoteke, outDir + "VALTA.RM0");
  EXPECT_EQ(marks(), std::vector<std::string>{controlNumber(*doSHAOnFile(GLO.ImeDatoteke))});
  EXPECT_FALSE(std::filesystem::exists(rm0()));
}

TEST_F(SubmissionCollective, TheWorkFileThatCannotBeWrittenFailsTheRun) {
  formObligor(1, SignStyle::Zero, 1, true);
  std::filesystem::remove(store().pathOf("TBVALTA.TXT"));
  std::filesystem::create_directory(store().pathOf("TBVALTA.TXT"));
  formCollectiveFile(GLO, store(), out);
  ASSERT_EQ(out.messages.size(), 1u);
  EXPECT_EQ(out.messages[0].rfind("Greška. Open TBVALTA.TXT ", 0), 0u) << out.messages[0];
  EXPECT_EQ(GLO.Status, 1);
  EXPECT_FALSE(std::filesystem::exists(rm0()));
  EXPECT_EQ(marks(), std::vector<std::string>{kPlaceholder});
}

TEST_F(SubmissionCollective, RecordingObligorsInTheList) {
  auto listed = [&] {
    File<TBTMPDAT> t(store());
    EXPECT_FALSE(t.open());
    t.raw().set(static_cast<const KeyDef*>(nullptr));
    std::vector<std::string> out;
    while (!t.next()) out.push_back(t.rec.IDENTIFIKATOR + "|" + t.rec.MB01 + "|" + t.rec.IMEFILE);
    return out;
  };
  TBPOSLOD pos = obligor(1);
  pos.MB01 = "1234567";  // shorter than its field: the MB02 part stays in place
  ASSERT_TRUE(addToCollectiveList(store(), out, true, pos, "001507 01", "/d/F0015007.TXT  "));
  ASSERT_TRUE(addToCollectiveList(store(), out, false, obligor(2), "0025001" "01", "/d/F0025001.TXT"));
  EXPECT_EQ(listed(), (std::vector<std::string>{"001507 01|1234567 0000|/d/F0015007.TXT",
                                                "002500101|111111120000|/d/F0025001.TXT"}));

  // The same form twice is refused by the unique key, and stays listed.
  EXPECT_TRUE(addToCollectiveList(store(), out, false, obligor(2), "0025001" "01", "/d/F0025001.TXT"));
  ASSERT_EQ(out.messages.size(), 1u);
  EXPECT_EQ(out.messages[0].rfind("Greška. Add TBTMPDAT ", 0), 0u);
  EXPECT_GT(out.messages[0].size(), std::string("Greška. Add TBTMPDAT ").size());

  // A path longer than the list keeps is refused, not stored cut.
  out.messages.clear();
  std::string longPath = "/" + std::string(60, 'd') + "/F0035001.TXT";
  EXPECT_FALSE(addToCollectiveList(store(), out, false, obligor(3), "0035001" "01", longPath));
  ASSERT_EQ(out.messages.size(), 1u);
  EXPECT_EQ(out.messages[0].rfind("Greška. Add TBTMPDAT ", 0), 0u);

  // A new list: only the new entry remains.
  ASSERT_TRUE(addToCollectiveList(store(), out, true, obligor(3), "0035001" "01", "/d/F0035001.TXT"));
  EXPECT_EQ(listed(), std::vector<std::string>{"003500101|111111130000|/d/F0035001.TXT"});

  // A list another window holds cannot be emptied, and is not added to.
  out.messages.clear();
  File<TBTMPDAT> browse(store());
  ASSERT_FALSE(browse.open());
  EXPECT_FALSE(addToCollectiveList(store(), out, true, obligor(4), "0045001" "01", "/d/F0045001.TXT"));
  ASSERT_EQ(out.messages.size(), 1u);
  EXPECT_EQ(out.messages[0].rfind("Greška. Open TBTMPDAT ", 0), 0u);
  EXPECT_EQ(listed(), std::vector<std::string>{"003500101|111111130000|/d/F0035001.TXT"});
}

}  // namespace
}  // namespace kdm
