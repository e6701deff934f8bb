#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "submission/submission_file.h"
#include "temp_dir.h"

namespace kdm {
namespace {

Decimal dec(const char* text) { return *Decimal::parse(text); }

std::size_t utf8Chars(std::string_view s) {
  std::size_t n = 0;
  for (char c : s) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}
// Text blank-filled to `w` characters; the goldens below are spelled out
// with it so that every field's width shows.
std::string pad(std::string_view s, std::size_t w) { return std::string(s) + std::string(w - utf8Chars(s), ' '); }
std::string blanks(std::size_t w) { return std::string(w, ' '); }
// A field of a record held as UTF-8.
std::string field(const std::string& record, const char* name) { return submissionLayout(name[2])->cut(record, name); }

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}
void spit(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

APLPARAM authorisedPerson() {
  APLPARAM apl;
  apl.MB01 = "12345678";
  apl.MB02 = "0001";
  apl.JMBG = "0101965330012";
  apl.NAZIV = "Knjigovodstveni servis Čakovec";
  apl.ADRESA = "Ulica Ivana Gundulića 5, Čakovec";
  apl.KONOSO = "Ivana Šimić";
  apl.TELEFON = "040123456";
  apl.EMAIL = "servis@example.hr";
  return apl;
}

// Page A of a natural person's form: its identifier's seventh character
// is blank, and the store keeps it without the trailing blank.
TBOBRAZA naturalPersonForm() {
  TBOBRAZA a;
  a.IDENTIFIKATOR = "001507";
  a.MB01 = "00000000";
  a.MB02 = "0000";
  a.JMBG = "1503975385012";
  a.NAZIV = "Obrt Đurđa Čačić";
  a.ADRESA = "Vukovarska 1, Zagreb";
  a.VRSTOBVEZNIKA = "02";
  a.OBRMJE = "03";
  a.OBRGOD = "2005";
  a.VRSUPLA = "01";
  a.BROJOSIG = 2;
  a.IZNOS7 = dec("1234.50");
  a.IZNOS8 = dec("1234.50");
  a.IZNOS9 = dec("185.18");
  a.IZNOS10 = dec("61.73");
  a.IZNOS11 = dec("987.60");
  a.GODPLA = "2005";
  a.MJEPLA = "04";
  a.KONVEZA = "001507 01";
  return a;
}

TBOSIGUR row(const char* jmbg, const char* name, std::int16_t from, std::int16_t to, const char* amount) {
  TBOSIGUR r;
  r.JMBG = jmbg;
  r.PREZIME = name;
  r.OPCINA = "0123";
  r.OSNOVA1 = "11";
  r.OBRRAZD1 = from;
  r.OBRRAZD2 = to;
  r.IZNOS7 = r.IZNOS8 = dec(amount);
  r.IZNOS9 = r.IZNOS8.percent(dec("15"));
  r.IZNOS10 = r.IZNOS8.percent(dec("5"));
  r.IZNOS11 = r.IZNOS7 - r.IZNOS9 - r.IZNOS10;
  return r;
}

const Date kSent = *Date::fromYmd(2005, 3, 15);

TEST(SubmissionLayouts, DeclareFiveRecordsOf250Characters) {
  std::string types;
  for (const FixedLayout& l : submissionLayouts()) {
    EXPECT_EQ(l.width(), 250u) << l.name();
    const FixedField& last = l.fields().back();
    EXPECT_EQ(last.position, 250u) << l.name();
    EXPECT_EQ(last.name, "KD" + l.name().substr(2) + "TIPS");
    types += l.name().substr(2);
  }
  EXPECT_EQ(types, "03579");
  EXPECT_EQ(submissionLayout('5')->name(), "SL5");
  EXPECT_EQ(submissionLayout('1'), nullptr);
  EXPECT_EQ(submissionLayout(' '), nullptr);
  const FixedField* f = submissionField("KD9DIGP");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->position, 122u);
  EXPECT_EQ(f->width, 128u);
  EXPECT_EQ(submissionField("KD3IGMM")->position, 220u);
  EXPECT_EQ(submissionField("KD5RAZD")->kind, FieldKind::Numeric);
  EXPECT_EQ(submissionField("KD8XXXX"), nullptr);
  EXPECT_EQ(submissionField("KD"), nullptr);
}

TEST(SubmissionRecords, GoldenHeaderAndFileTrailer) {
  APLPARAM apl = authorisedPerson();
  EXPECT_EQ(headerRecord(apl, kSent, HeaderRule::OneForm),
            "000000000000" "0101965330012" + pad("Knjigovodstveni servis Čakovec", 50) +
                pad("Ulica Ivana Gundulića 5, Čakovec", 50) + pad("Ivana Šimić", 50) + "040123456 " +
                pad("servis@example.hr", 30) + "15032005" "RM500" + blanks(21) + "0");
  EXPECT_EQ(fileTrailerRecord(apl, kSent, 1, HeaderRule::OneForm),
            "000000000000" "0101965330012" "15032005" "000001" + blanks(210) + "9");
  EXPECT_EQ(fileTrailerRecord(apl, kSent, 3, HeaderRule::Collective),
            "123456780001" "0101965330012" "15032005" "000003" + blanks(210) + "9");
}

TEST(SubmissionRecords, GoldenFormRecordAndTrailer) {
  TBOBRAZA a = naturalPersonForm();
  EXPECT_EQ(formRecord(a, SignStyle::Zero),
            "000000000000" "1503975385012" "0507" + pad("Obrt Đurđa Čačić", 50) + pad("Vukovarska 1, Zagreb", 50) +
                "02" "032005" "01" "00002"
                "000000000123450" "000000000123450" "000000000018518" "000000000006173" "000000000098760"
                "200504" + blanks(24) + "3");
  EXPECT_EQ(formTrailerRecord(a, 3, kSent), "000000000000" "1503975385012" "0507" "00003" "15032005" + blanks(207) + "7");

  a.MB01 = "12345678";
  a.MB02 = "12";
  a.JMBG = "";
  a.IDENTIFIKATOR = "0019507";
  a.IZNOS9 = Decimal();
  std::string line = formRecord(a, SignStyle::Plus);
  EXPECT_EQ(field(line, "KD3MBOO"), "123456780012");
  EXPECT_EQ(field(line, "KD3MBGO"), "0000000000000");
  EXPECT_EQ(field(line, "KD3RBSU"), "9507");
  EXPECT_EQ(field(line, "KD3IBRT"), "+00000000123450");
  EXPECT_EQ(field(line, "KD3IST1"), "+00000000000000");
}

TEST(SubmissionRecords, GoldenInsuredPerson) {
  TBOSIGUR r;
  r.JMBG = "2802980330015";
  r.PREZIME = "Šimunović Željka Marija Terezija";
  r.OPCINA = "0123";
  r.OSNOVA1 = "11";
  r.OSNOVA3 = "";
  r.OBRRAZD1 = 1;
  r.OBRRAZD2 = 31;
  r.IZNOS7 = dec("-0.01");
  r.IZNOS8 = Decimal();
  r.IZNOS9 = dec("1");
  r.IZNOS10 = dec("0.5");
  r.IZNOS11 = dec("-12");
  EXPECT_EQ(insuredRecord(r, 7, SignStyle::Plus),
            "00007" "2802980330015" "Šimunović Željka Marija Terezi" "0123" "11 " "0131"
            "-00000000000001" "+00000000000000" "+00000000000100" "+00000000000050" "-00000000001200" +
                blanks(115) + "5");
  EXPECT_EQ(field(insuredRecord(r, 7, SignStyle::Zero), "KD5IOSN"), "000000000000000");
}

TEST(SubmissionRecords, FormSerialOfTheIdentifier) {
  struct Case {
    const char* identifier;
    const char* serial;
  } cases[] = {
      {"0015007", "5007"},  // year digit and three-digit serial
      {"001507 ", "0507"},  // natural person: seventh character blank
      {"001507", "0507"},   // the same as the store keeps it
      {"0019507", "9507"},  // obligor types 30 and 31
      {"", "0   "},
  };
  for (const Case& c : cases) EXPECT_EQ(formSerial(c.identifier), c.serial) << c.identifier;
}

TEST(SubmissionRecords, AuthorisedPersonMbAndMbg) {
  struct Case {
    const char *mb01, *mb02, *jmbg;
    HeaderRule rule;
    const char *mb, *mbg;
  } cases[] = {
      // One form: a valid MBG wins, exactly one of the two is filled.
      {"12345678", "0001", "0101965330012", HeaderRule::OneForm, "000000000000", "0101965330012"},
      {"12345678", "0001", "0000000000000", HeaderRule::OneForm, "123456780001", "0000000000000"},
      {"12345678", "ab", "", HeaderRule::OneForm, "123456780000", "0000000000000"},
      {"00000000", "0000", "0101965330012", HeaderRule::OneForm, "000000000000", "0101965330012"},
      {"1234567X", "0001", "010196533001X", HeaderRule::OneForm, "            ", "             "},
      {"00000000", "0000", "0000000000000", HeaderRule::OneForm, "            ", "             "},
      // Collective: both filled, each part zero-replaced when not numeric.
      {"12345678", "0001", "0101965330012", HeaderRule::Collective, "123456780001", "0101965330012"},
      {"1234567X", "0001", "abc", HeaderRule::Collective, "000000000001", "0000000000000"},
      {"12345678", "", "", HeaderRule::Collective, "123456780000", "0000000000000"},
  };
  for (const Case& c : cases) {
    APLPARAM apl = authorisedPerson();
    apl.MB01 = c.mb01;
    apl.MB02 = c.mb02;
    apl.JMBG = c.jmbg;
    std::string header = headerRecord(apl, kSent, c.rule);
    std::string trailer = fileTrailerRecord(apl, kSent, 1, c.rule);
    std::string what = std::string(c.mb01) + "/" + c.mb02 + "/" + c.jmbg;
    EXPECT_EQ(field(header, "KD0MBOO"), c.mb) << what;
    EXPECT_EQ(field(header, "KD0MBGO"), c.mbg) << what;
    EXPECT_EQ(field(trailer, "KD9MBOO"), c.mb) << what;
    EXPECT_EQ(field(trailer, "KD9MBGO"), c.mbg) << what;
  }
}

class SubmissionWriting : public testing::Test {
 protected:
  test::EmptyStore s;
  DataStore& store() { return *s.store; }
  std::string file(const char* name) { return store().pathOf(name); }

  // A form with two periods of one person and one row of another.
  bool writeForm(SignStyle sign, CollectingReporter& out) {
    SubmissionWriter w(store(), out, sign);
    if (!w.begin()) return false;
    TBOBRAZA a = naturalPersonForm();
    w.writeHeader(authorisedPerson(), kSent);
    w.writeForm(a);
    w.writeInsured(row("2802980330015", "Čačić Ana", 1, 15, "500.00"));
    w.writeInsured(row("2802980330015", "Čačić Ana", 16, 31, "-100.00"));
    w.writeInsured(row("0101970330019", "Žužić Ivo", 1, 31, "734.50"));
    EXPECT_EQ(w.insuredRecords(), 3);
    EXPECT_EQ(w.persons(), 2);
    w.writeFormTrailer(a, kSent);
    w.writeFileTrailer(authorisedPerson(), kSent);
    return w.finish();
  }
};

TEST_F(SubmissionWriting, WritesTheFileAndItsWorkFilesAndReadsThemBack) {
  CollectingReporter out;
  spit(file("TBVALTA.TXT"), "stale contents of an earlier forming\r\n");
  ASSERT_TRUE(writeForm(SignStyle::Zero, out));
  EXPECT_TRUE(out.messages.empty());

  std::string bytes = slurp(file("TBVALTA.TXT"));
  ASSERT_EQ(bytes.size(), 7u * 252);
  for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(bytes.substr(i * 252 + 250, 2), "\r\n") << i;
  EXPECT_NE(bytes.find("Obrt \xD0ur\xF0" "a \xC8" "a\xE8i\xE6"), std::string::npos);  // CP1250 on disk

  struct {
    const char* name;
    std::size_t records;
  } work[] = {{"TBSLOG0.TXT", 1}, {"TBSLOG3.TXT", 1}, {"TBSLOG5.TXT", 3}, {"TBSLOG7.TXT", 1}, {"TBSLOG9.TXT", 1}};
  std::size_t offset = 0;
  for (auto& w : work) {
    std::string slog = slurp(file(w.name));
    ASSERT_EQ(slog.size(), w.records * 252) << w.name;
    // The same records, in the same order, as in TBVALTA.TXT.
    EXPECT_EQ(slog, bytes.substr(offset, slog.size())) << w.name;
    offset += slog.size();
  }

  SubmissionReader reader;
  ASSERT_FALSE(reader.open(store(), file("TBVALTA.TXT")));
  EXPECT_EQ(slurp(file("TBVALTA1.TXT")), bytes);
  std::string types, ordinals, names, counts;
  std::vector<Decimal> amounts;
  SubmissionLine line;
  while (reader.next(line)) {
    types += line.type();
    if (line.type() == '5') {
      ordinals += line.field("KD5RBRO") + " ";
      amounts.push_back(*decodeAmount(line.field("KD5IBRT")));
    }
    if (line.type() == '3') names += line.field("KD3NAOB");
    if (line.type() == '7') counts += line.field("KD7BRSL") + " ";
    if (line.type() == '9') counts += line.field("KD9BROJ");
  }
  EXPECT_FALSE(reader.error());
  EXPECT_EQ(types, "0355579");
  EXPECT_EQ(names, pad("Obrt Đurđa Čačić", 50));
  EXPECT_EQ(counts, "00003 000001");
  EXPECT_EQ(ordinals, "00001 00001 00002 ");  // two periods of one person share the number
  EXPECT_EQ(amounts, (std::vector<Decimal>{dec("500"), dec("-100"), dec("734.50")}));
  EXPECT_EQ(reader.lineNumber(), 7);
}

TEST_F(SubmissionWriting, TakeOverWritesPlusSigns) {
  CollectingReporter out;
  ASSERT_TRUE(writeForm(SignStyle::Plus, out));
  std::string bytes = slurp(file("TBSLOG5.TXT"));
  EXPECT_EQ(bytes.substr(59, 15), "+00000000050000");
  EXPECT_EQ(bytes.substr(252 + 59, 15), "-00000000010000");
}

TEST_F(SubmissionWriting, ReportsFilesThatCannotBeOpened) {
  std::filesystem::create_directory(file("TBSLOG5.TXT"));
  CollectingReporter out;
  // A work file is reported and left out; the submission file is whole.
  ASSERT_TRUE(writeForm(SignStyle::Zero, out));
  EXPECT_EQ(out.messages, std::vector<std::string>{"Greška kod otvaranja TBSLOG5"});
  EXPECT_EQ(slurp(file("TBVALTA.TXT")).size(), 7u * 252);

  std::filesystem::remove(file("TBVALTA.TXT"));
  std::filesystem::create_directory(file("TBVALTA.TXT"));
  out.messages.clear();
  SubmissionWriter w(store(), out, SignStyle::Zero);
  EXPECT_FALSE(w.begin());
  w.writeHeader(authorisedPerson(), kSent);
  EXPECT_FALSE(w.finish());
  EXPECT_TRUE(w.failed());
  EXPECT_EQ(out.messages, (std::vector<std::string>{"Greška kod otvaranja TBVALTA", "Greška kod otvaranja TBSLOG5"}));
}

TEST_F(SubmissionWriting, RefusesTextThatCodePage1250CannotHold) {
  CollectingReporter out;
  SubmissionWriter w(store(), out, SignStyle::Zero);
  ASSERT_TRUE(w.begin());
  APLPARAM apl = authorisedPerson();
  apl.NAZIV = "Servis 日本";
  w.writeHeader(apl, kSent);
  EXPECT_TRUE(w.failed());
  EXPECT_FALSE(w.finish());
  EXPECT_EQ(out.messages, std::vector<std::string>{"Greška Text cannot be written in code page 1250"});
}

class SubmissionReading : public SubmissionWriting {
 protected:
  // Types and KD5MBGO of every record of a file of `bytes`.
  std::vector<std::string> read(const std::string& bytes) {
    spit(s.dir.file("input.txt"), bytes);
    SubmissionReader reader;
    EXPECT_FALSE(reader.open(store(), s.dir.file("input.txt")));
    std::vector<std::string> out;
    SubmissionLine line;
    while (reader.next(line)) {
      EXPECT_EQ(line.raw().size(), 250u);
      EXPECT_EQ(utf8Chars(line.text()), 250u);
      EXPECT_EQ(utf8Chars(line.field("KD5MBGO")), 13u);
      out.push_back(std::string(1, line.type()) + "|" + line.field("KD5MBGO"));
    }
    EXPECT_FALSE(reader.error());
    return out;
  }
};

TEST_F(SubmissionReading, AnyBytesAreSafe) {
  std::string full = std::string(249, 'x') + "5";
  std::string withNul = std::string("00001") + std::string(13, '\0') + std::string(231, ' ') + "5";
  std::string binary;
  for (int b = 0; b < 256; ++b) binary += static_cast<char>(b == '\n' ? 'n' : b);
  EXPECT_EQ(read(""), std::vector<std::string>{});
  EXPECT_EQ(read(full + "\r\n"), std::vector<std::string>{"5|xxxxxxxxxxxxx"});
  // Short lines are padded with blanks, so their type is a blank.
  EXPECT_EQ(read("00001" "28029803300\r\nshort"), (std::vector<std::string>{" |28029803300  ", " |             "}));
  // Lone LF, no line end at the end.
  EXPECT_EQ(read(full + "\n" + full), (std::vector<std::string>{"5|xxxxxxxxxxxxx", "5|xxxxxxxxxxxxx"}));
  EXPECT_EQ(read(withNul + "\r\n"), std::vector<std::string>{"5|" + std::string(13, '\0')});
  auto bin = read(binary + "\r\n");
  ASSERT_EQ(bin.size(), 1u);
  EXPECT_EQ(bin[0][0], '\xF9');  // character 250 is the byte 249, whatever it is
  EXPECT_EQ(bin[0].substr(2), std::string("\x05\x06\x07\x08\x09\x0A\x0B\x0C\x0D\x0E\x0F\x10\x11", 13)
                                  .replace(5, 1, "n"));
}

TEST_F(SubmissionReading, RandomBytesGiveOneRecordPerLine) {
  std::mt19937 random(7);
  const char alphabet[] = {'\n', '\r', '\0', '5', ' ', '\x8A', '\xC8', '\xFF'};
  for (int round = 0; round < 200; ++round) {
    std::string bytes(random() % 1200, ' ');
    for (char& c : bytes) c = random() % 3 ? alphabet[random() % sizeof alphabet] : static_cast<char>(random());
    std::size_t expected = std::count(bytes.begin(), bytes.end(), '\n') + (!bytes.empty() && bytes.back() != '\n');
    EXPECT_EQ(read(bytes).size(), expected) << round;
  }
}

TEST_F(SubmissionReading, VeryLongLinesAreCut) {
  std::string huge(TextFile::kMaxLine * 3, '7');
  auto lines = read(huge + "\r\n" + std::string(249, ' ') + "9\r\n");
  EXPECT_EQ(lines, (std::vector<std::string>{"7|7777777777777", "9|             "}));
}

TEST_F(SubmissionReading, RefusesWhatIsNotAFileAndReadsNothingStale) {
  spit(file("TBVALTA1.TXT"), std::string(249, ' ') + "3\r\n");
  const std::string missing = s.dir.file("missing.txt");
  for (const auto& [path, text] : {std::pair{s.dir.path(), s.dir.path() + " is a directory, not a regular file"},
                                   std::pair{missing, "File not found: " + missing}}) {
    SubmissionReader reader;
    Error e = reader.open(store(), path);
    EXPECT_EQ(e.kind(), ErrorCode::FileNotFound) << path;
    EXPECT_EQ(e.text, text);
    SubmissionLine line;
    EXPECT_FALSE(reader.next(line)) << path;
  }
  // Reading TBVALTA1.TXT itself reads it as it is.
  SubmissionReader reader;
  ASSERT_FALSE(reader.open(store(), file("TBVALTA1.TXT")));
  SubmissionLine line;
  ASSERT_TRUE(reader.next(line));
  EXPECT_EQ(line.type(), '3');
}

}  // namespace
}  // namespace kdm
