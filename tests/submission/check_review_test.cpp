#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/hash.h"
#include "submission/check_fixture.h"
#include "submission/check_review.h"
#include "submission/file_printout.h"

namespace kdm {
namespace {

using test::formOf;
using test::validMbg;

class CheckReview : public test::CheckStore {};

std::string blanks(std::size_t n) { return std::string(n, ' '); }

TEST_F(CheckReview, BreakdownOfEveryRecordType) {
  std::vector<std::string> lines = fileOf({formOf(1)});
  const char* titles[] = {"POČETNI SLOG FORMATA - tip sloga 0", "VODEĆI SLOG JEDNOG OBRASCA - tip sloga 3",
                          "SLOG POJEDINAČNE TRANSAKCIJE - tip sloga 5", "ZAKLJUČNI SLOG JEDNOG OBRASCA - tip sloga 7",
                          "ZAKLJUČNI SLOG FORMATA - tip sloga 9"};
  const std::size_t fields[] = {11, 17, 13, 7, 7};
  for (std::size_t i = 0; i < 5; ++i) {
    FieldBreakdown b = fieldBreakdown(lines[i]);
    EXPECT_EQ(b.title, titles[i]);
    for (std::size_t r = 0; r < kBreakdownRows; ++r)
      EXPECT_EQ(b.rows[r].label.empty(), r >= fields[i]) << titles[i] << " row " << r;
  }

  FieldBreakdown form = fieldBreakdown(lines[1]);
  EXPECT_EQ(form.rows[0].label, "N KD3MBOO");
  EXPECT_EQ(form.rows[0].value, "123456790000");
  EXPECT_EQ(form.rows[3].label, "C KD3NAOB");
  EXPECT_EQ(form.rows[3].value, "Poduzeće Čačak d.o.o." + blanks(29));
  EXPECT_EQ(form.rows[10].label, "N KD3IOST");
  EXPECT_EQ(form.rows[10].value, "000000000100000");
  EXPECT_EQ(form.rows[15].value, blanks(24));
  EXPECT_EQ(form.rows[16].label, "N KD3TIPS");
  EXPECT_EQ(form.rows[16].value, "3");
  EXPECT_EQ(form.rows[17].value, "");

  FieldBreakdown insured = fieldBreakdown(lines[2]);
  EXPECT_EQ(insured.rows[2].label, "C KD5PRIM");
  EXPECT_EQ(insured.rows[2].value, "Šimić Željka 100" + blanks(14));
  EXPECT_EQ(insured.rows[11].label, "N KD5REZE");
  EXPECT_EQ(insured.rows[11].value, blanks(50));  // the first 50 of 115
  EXPECT_EQ(fieldBreakdown(lines[4]).rows[5].label, "C KD9DIGP");

  for (std::string odd : {std::string(249, 'x') + "4", std::string("abc"), std::string()}) {
    FieldBreakdown b = fieldBreakdown(odd);
    EXPECT_EQ(b.title, "");
    for (const BreakdownRow& r : b.rows) EXPECT_TRUE(r.label.empty() && r.value.empty());
  }
}

TEST_F(CheckReview, FindingsTextByteForByte) {
  std::vector<std::string> lines = fileOf({formOf(1)});
  setField(lines[0], "KD0DTMN", "1506200X");
  setField(lines[1], "KD3MBGO", validMbg(9));
  ASSERT_TRUE(check(lines));
  out.messages.clear();
  ASSERT_TRUE(writeFindingsText(*store, out));
  EXPECT_EQ(out.messages, std::vector<std::string>{"Formiran je izlazni file pod imenom TBIZLAZ2.TXT " + dir.path()});
  // CP1250: "š" is 0x9A, "č" 0xE8; lines of 89 characters ended by CR LF.
  const std::string expected =
      "    1 KD0DTMN    F Datum nije numerik=1506200X" + blanks(43) + "\r\n" +
      "    1 KD0DTMN    F Pogre\x9A" "an datum slanja sloga" + blanks(43) + "\r\n" +
      "    2 KD3MBGO    F Nije dozvoljeno upisati MB i MBG obveznika, izuzev ako MB firme po\xE8inj\r\n" +
      blanks(19) + "e sa 8 ili 9" + blanks(58) + "\r\n" +
      "    2 KD3MBOO    F MB i MBG mogu biti upisani samo za VOB=02 i ako MB po\xE8ine sa 8 ili 9, \r\n" +
      blanks(19) + "VOB nije 02 i 21" + blanks(54) + "\r\n";
  EXPECT_EQ(test::slurp(store->pathOf("TBIZLAZ2.TXT")), expected);

  // The next run's text holds only its own findings: none.
  ASSERT_TRUE(check(fileOf({formOf(1)})));
  std::int64_t written = -1;
  ASSERT_TRUE(PrebaciuTXT(*store, out, &written));
  EXPECT_EQ(written, 0);
  EXPECT_EQ(test::slurp(store->pathOf("TBIZLAZ2.TXT")), "");
}

TEST(CheckReviewLines, OneOrTwoLinesAndLongRecordNumbers) {
  TBIZLAZ1 f;
  f.REDBROJ = 7;
  f.KOLONA = "SL5:KD5IOS";
  f.TIP = "U";
  f.GRESKA = std::string(70, 'a');
  EXPECT_EQ(findingLines(f), std::vector<std::string>{"    7 SL5:KD5IOS U " + std::string(70, 'a')});
  f.GRESKA += "b";
  EXPECT_EQ(findingLines(f),
            (std::vector<std::string>{"    7 SL5:KD5IOS U " + std::string(70, 'a'), blanks(19) + "b" + blanks(69)}));
  f.GRESKA = std::string(70, 'a') + blanks(70);
  EXPECT_EQ(findingLines(f).size(), 1u);
  f.REDBROJ = 1234567;
  EXPECT_EQ(findingLines(f)[0].substr(0, 20), "1234567 SL5:KD5IOS U");
}

TEST_F(CheckReview, RecordWithItsFindingsAndTheErrorReportHeader) {
  std::vector<std::string> lines = fileOf({formOf(2)});
  setField(lines[2], "KD5GROP", "9999");
  setField(lines[2], "KD5IMPR", "");
  ASSERT_TRUE(check(lines));
  TBIZLAZ row;
  std::vector<TBIZLAZ1> found;
  ASSERT_TRUE(readCheckedRecord(*store, 3, row, found));
  EXPECT_EQ(recordText(row), lines[2]);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].KOLONA, "KD5GROP");
  EXPECT_EQ(found[1].KOLONA, "KD5IMPR");
  ASSERT_TRUE(readCheckedRecord(*store, 4, row, found));
  EXPECT_TRUE(found.empty());
  EXPECT_FALSE(readCheckedRecord(*store, 7, row, found));
  EXPECT_FALSE(readCheckedRecord(*store, 0, row, found));

  ErrorReportHeader h = errorReportHeader(*store);
  EXPECT_TRUE(h.hasHeader);
  EXPECT_EQ(h.numbers, "000000000000 /" + validMbg(1));
  EXPECT_EQ(h.name, "Knjigovodstveni servis");
  EXPECT_EQ(h.address, "NN ulica bb, 10000 Zagreb");
  EXPECT_EQ(h.contact, "Nedro");
  EXPECT_TRUE(h.hasForm);
  EXPECT_EQ(h.formMb, "123456790000");
  EXPECT_EQ(h.formMbg, "0000000000000");
  EXPECT_EQ(h.serial, "5001");
  EXPECT_EQ(h.formName, "Poduzeće Čačak d.o.o.");
  EXPECT_EQ(h.paymentKind, "01");
  EXPECT_EQ(h.obligorKind, "01");
  EXPECT_EQ(h.monthYear, "052005");

  // Without a header first, neither row 1 nor row 2 is what the report wants.
  lines.erase(lines.begin());
  ASSERT_TRUE(check(lines));
  h = errorReportHeader(*store);
  EXPECT_FALSE(h.hasHeader);
  EXPECT_FALSE(h.hasForm);
}

// Page A and the B pages of the first form of a file.
class FilePrintout : public test::CheckStore {
 protected:
  std::vector<TBOBRAZA> pagesA(const std::string& konveza) {
    std::vector<TBOBRAZA> found;
    File<TBOBRAZA> a(*store);
    a.open();
    a.setStart("KEYIDENTIKATOR");
    while (!a.next())
      if (a.rec.KONVEZA == konveza) found.push_back(a.rec);
    return found;
  }
  std::vector<TBOSIGU1> printRows() {
    std::vector<TBOSIGU1> rows;
    File<TBOSIGU1> f(*store);
    f.open();
    f.raw().set(static_cast<const KeyDef*>(nullptr));
    while (!f.next()) rows.push_back(f.rec);
    return rows;
  }
};

TEST_F(FilePrintout, PageAStoredOncePerSerialAndType) {
  std::string path = write(fileOf({formOf(2)}));
  const std::string number = controlNumber(*doSHAOnFile(path));
  ASSERT_TRUE(preparePageAFromFile(GLO, *store, path, out));
  EXPECT_EQ(out.messages, std::vector<std::string>{"Nije pronađen identifikattor " +
                                                    std::string(errorText(ErrorCode::RecordNotFound))});
  EXPECT_EQ(out.statuses, std::vector<std::string>{number});  // the header before the form
  EXPECT_EQ(GLO.KonVeza, "888500101");
  EXPECT_EQ(GLO.IspisKB, "D");
  std::vector<TBOBRAZA> a = pagesA("888500101");
  ASSERT_EQ(a.size(), 1u);
  EXPECT_EQ(a[0].IDENTIFIKATOR, "8885001");
  EXPECT_EQ(a[0].VRSUPLA, "01");
  EXPECT_EQ(a[0].OBRMJE, "05");
  EXPECT_EQ(a[0].OBRGOD, "2005");
  EXPECT_EQ(a[0].BROJOSIG, 2);
  EXPECT_EQ(a[0].MB01, "12345679");
  EXPECT_EQ(a[0].MB02, "0000");
  EXPECT_EQ(a[0].JMBG, "0000000000000");
  EXPECT_EQ(a[0].NAZIV, "Poduzeće Čačak d.o.o.");
  EXPECT_EQ(a[0].KONTAKT, "KONTAKT");
  EXPECT_EQ(a[0].IZNOS7.toString(), "2000.00");
  EXPECT_EQ(a[0].IZNOS11.toString(), "1600.00");
  EXPECT_EQ(a[0].KONZNAK, number);
  EXPECT_EQ(a[0].GODPLA, "2005");
  EXPECT_EQ(a[0].MJEPLA, "06");

  out.messages.clear();
  ASSERT_TRUE(preparePageAFromFile(GLO, *store, path, out));
  EXPECT_EQ(out.messages, std::vector<std::string>{});
  EXPECT_EQ(pagesA("888500101").size(), 1u);

  EXPECT_FALSE(preparePageAFromFile(GLO, *store, dir.file("NEMA.TXT"), out));
  EXPECT_EQ(out.messages.back(), "Greška kod preuzimanja " + dir.file("NEMA.TXT"));
}

TEST_F(FilePrintout, PageBRowsOfTheFirstFormPaddedToWholePages) {
  struct Case {
    std::vector<test::FormSpec> forms;
    std::size_t rows, fillers;
  };
  Case cases[] = {
      {{formOf(13)}, 13, 11},
      {{formOf(12)}, 12, 0},
      {{formOf(2, 1), formOf(3, 2), formOf(1, 3)}, 2, 10},  // a collective file: its first form only
  };
  for (Case& c : cases) {
    std::string path = write(fileOf(c.forms, HeaderRule::Collective));
    TBOBRAZA pageA;
    out.statuses.clear();
    ASSERT_TRUE(preparePageBFromFile(GLO, *store, path, pageA, out));
    EXPECT_EQ(pageA.IDENTIFIKATOR, "9995001");
    EXPECT_EQ(pageA.KONVEZA, "999500101");
    EXPECT_EQ(pageA.KONTAKT, "");
    EXPECT_EQ(pageA.KONZNAK, controlNumber(*doSHAOnFile(path)));
    std::vector<TBOSIGU1> rows = printRows();
    ASSERT_EQ(rows.size(), c.rows + c.fillers);
    const TBOSIGUR expected = c.forms[0].rows[0];
    EXPECT_EQ(rows[0].JMBG, expected.JMBG);
    EXPECT_EQ(rows[0].PREZIME, expected.PREZIME);
    EXPECT_EQ(rows[0].OPCINA, "0019");
    EXPECT_EQ(rows[0].OSNOVA1, "11");
    EXPECT_EQ(rows[0].OSNOVA3, "");
    EXPECT_EQ(rows[0].OBRRAZD1, 1);
    EXPECT_EQ(rows[0].OBRRAZD2, 31);
    EXPECT_EQ(rows[0].IZNOS9, expected.IZNOS9);
    EXPECT_EQ(rows[0].KONVEZA, "999500101");
    EXPECT_EQ(rows[0].VRSUPL, "01");
    for (std::size_t i = 0; i < c.fillers; ++i) {
      const TBOSIGU1& filler = rows[c.rows + i];
      std::string pad = (i + 1 < 10 ? "0" : "") + std::to_string(i + 1);
      EXPECT_EQ(filler.JMBG, "99999999999" + pad);
      EXPECT_EQ(filler.KONVEZA, "999500101");
      EXPECT_EQ(filler.PREZIME, "");
    }
    EXPECT_EQ(GLO.KonVeza, "999500101");
    EXPECT_EQ(GLO.IdObrasca, "5001");
    EXPECT_EQ(GLO.MbObveznika, "12345679 ");
    EXPECT_EQ(GLO.IspisKB, "D");
    EXPECT_EQ(out.statuses.front(), "Malo strpljenja. Pripremam B stranice ....");
    EXPECT_EQ(out.statuses.back(), "Gotova priprema. Ispis...");
  }
  // The obligor's number on the pages is its MBG when it has one.
  test::FormSpec person = formOf(1);
  person.a.MB01 = "00000000";
  person.a.JMBG = validMbg(3);
  TBOBRAZA pageA;
  ASSERT_TRUE(preparePageBFromFile(GLO, *store, write(fileOf({person})), pageA, out));
  EXPECT_EQ(GLO.MbObveznika, validMbg(3));
}

}  // namespace
}  // namespace kdm
