#include "submission/check_review.h"

#include "data/run_unit.h"
#include "platform/fault.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/textfile.h"
#include "submission/fixed_layout.h"
#include "submission/submission_file.h"

namespace kdm {
namespace {

constexpr std::size_t kPiece = 50;

struct TypeLabels {
  char type;
  const char* title;
  std::vector<const char*> labels;  // one per field of the type's layout, in order
};

// The labels name the fields as the review shows them: "N KD3IOST" is
// KD3IOSN and "C KD5PRIM" is KD5IMPR.
const std::vector<TypeLabels>& allLabels() {
  static const std::vector<TypeLabels> labels = {
      {'0', "POČETNI SLOG FORMATA - tip sloga 0",
       {"N KD0MBOO", "N KD0MBGO", "C KD0NAOB", "C KD0ADOB", "C KD0OSOB", "C KD0TELE", "C KD0MAIL", "C KD0DTMN",
        "C KD0OFOR", "C KD0REZE", "N KD0TIPS"}},
      {'3', "VODEĆI SLOG JEDNOG OBRASCA - tip sloga 3",
       {"N KD3MBOO", "N KD3MBGO", "N KD3RBSU", "C KD3NAOB", "C KD3ADOB", "N KD3VROB", "N KD3MMGG", "N KD3VROI",
        "N KD3BROS", "N KD3IBRT", "N KD3IOST", "N KD3IST1", "N KD3IST2", "N KD3INET", "N KD3IGMM", "C KD3REZE",
        "N KD3TIPS"}},
      {'5', "SLOG POJEDINAČNE TRANSAKCIJE - tip sloga 5",
       {"N KD5RBRO", "N KD5MBGO", "C KD5PRIM", "N KD5GROP", "N KD5OSOB", "N KD5RAZD", "N KD5IBRT", "N KD5IOSN",
        "N KD5IST1", "N KD5IST2", "N KD5INET", "N KD5REZE", "N KD5TIPS"}},
      {'7', "ZAKLJUČNI SLOG JEDNOG OBRASCA - tip sloga 7",
       {"N KD7MBOO", "N KD7MBGO", "N KD7RBSU", "N KD7BRSL", "N KD7DTRS", "N KD7REZE", "N KD7TIPS"}},
      {'9', "ZAKLJUČNI SLOG FORMATA - tip sloga 9",
       {"N KD9MBOO", "N KD9MBGO", "N KD9DTMN", "N KD9BROJ", "C KD9REZE", "C KD9DIGP", "N KD9TIPS"}},
  };
  return labels;
}

std::string trimmed(std::string_view s) { return std::string(trimRight(s)); }

// A field of a stored record by name, without trailing blanks.
std::string fieldOf(const std::string& record, const char* name) {
  return trimmed(FixedLayout::cut(record, *submissionField(name)));
}

bool readRow(File<TBIZLAZ>& file, std::int64_t number, TBIZLAZ& row) {
  file.clear();
  file.rec.REDBROJ = static_cast<std::int32_t>(number);
  if (number < 1 || number > INT32_MAX || file.get("KEYVRSTA")) return false;
  row = file.rec;
  return true;
}

}  // namespace

FieldBreakdown fieldBreakdown(std::string_view record) {
  FieldBreakdown b;
  std::string text = fitWidth(record, kSubmissionRecordWidth);
  std::string_view type = midChars(text, kSubmissionRecordWidth - 1, 1);
  const FixedLayout* layout = type.size() == 1 ? submissionLayout(type[0]) : nullptr;
  if (!layout) return b;
  for (const TypeLabels& t : allLabels()) {
    if (t.type != type[0]) continue;
    b.title = t.title;
    const auto& fields = layout->fields();
    for (std::size_t i = 0; i < fields.size() && i < kBreakdownRows; ++i) {
      b.rows[i].label = t.labels[i];
      b.rows[i].value = std::string(leftChars(FixedLayout::cut(text, fields[i]), kPiece));
    }
  }
  return b;
}

std::string recordText(const TBIZLAZ& row) {
  return fitWidth(row.REDAK1, kPiece) + fitWidth(row.REDAK2, kPiece) + fitWidth(row.REDAK3, kPiece) +
         fitWidth(row.REEDAK4, kPiece) + fitWidth(row.REDAK5, kPiece);
}

std::vector<std::string> findingLines(const TBIZLAZ1& f) {
  std::vector<std::string> lines;
  lines.push_back(padLeft(std::to_string(f.REDBROJ), 5) + " " + fitWidth(f.KOLONA, 10) + " " + fitWidth(f.TIP, 1) +
                  " " + fitWidth(leftChars(f.GRESKA, 70), 70));
  std::string_view rest = midChars(f.GRESKA, 70, 70);
  if (!isBlank(rest)) lines.push_back(std::string(19, ' ') + fitWidth(rest, 70));
  return lines;
}

bool PrebaciuTXT(DataStore& store, Reporter& out, std::int64_t* lines) {
  std::int64_t written = 0;
  if (lines) *lines = 0;
  // The text is written whole under a temporary name and only then put in
  // place: a full disk leaves the previous TBIZLAZ2.TXT, never half of one.
  RunUnit run(store);
  if (Error e = run.hold({"TBIZLAZ2"})) {
    out.message("Greška kod otvaranja TBIZLAZ2.TXT " + e.text);
    return false;
  }
  const std::string path = store.pathOf(findLabel("TBIZLAZ2")->diskName);
  const std::string temporary = temporaryNameOf(path);
  TextFile text;
  if (Error e = text.openEmpty(temporary)) {
    out.message("Greška kod otvaranja TBIZLAZ2.TXT " + e.text);
    return false;
  }
  auto abandon = [&] {
    text.close();
    removeFile(temporary);
    return false;
  };
  File<TBIZLAZ1> findings(store);
  Error e = findings.open();
  if (!e) e = findings.setStart("KEYVRSTA");
  std::int64_t done = 0;
  while (!e && !(e = findings.next())) {
    for (const std::string& line : findingLines(findings.rec)) {
      if (Error w = text.appendLine(line)) {
        out.message("Greška kod upisa TBIZLAZ2.TXT " + w.text);
        return abandon();
      }
      ++written;
    }
    out.progress(++done, 0);
  }
  if (e.kind() != ErrorCode::NoMoreRecords) {
    out.message("Greška kod čitanja TBIZLAZ1.DAT " + e.text);
    return abandon();
  }
  Error c = text.close();
  if (!c) c = faultPoint("findings.text");
  if (!c) c = syncFile(temporary);
  if (!c) c = renameSynced(temporary, path);
  if (c) {
    out.message("Greška kod zatvaranja TBIZLAZ2.TXT " + c.text);
    return abandon();
  }
  if (lines) *lines = written;
  return true;
}

bool writeFindingsText(DataStore& store, Reporter& out) {
  if (!PrebaciuTXT(store, out)) return false;
  out.message("Formiran je izlazni file pod imenom TBIZLAZ2.TXT " + store.dir());
  return true;
}

bool readCheckedRecord(DataStore& store, std::int64_t number, TBIZLAZ& row, std::vector<TBIZLAZ1>& findings) {
  findings.clear();
  File<TBIZLAZ> records(store);
  if (records.open() || !readRow(records, number, row)) return false;
  File<TBIZLAZ1> f(store);
  if (f.open()) return false;
  f.rec.REDBROJ = row.REDBROJ;
  if (f.set("KEYVRSTA")) return false;
  while (!f.next() && f.rec.REDBROJ == row.REDBROJ) findings.push_back(f.rec);
  return true;
}

ErrorReportHeader errorReportHeader(DataStore& store) {
  ErrorReportHeader h;
  File<TBIZLAZ> records(store);
  if (records.open()) return h;
  TBIZLAZ row;
  if (readRow(records, 1, row)) {
    std::string r = recordText(row);
    if (midChars(r, kSubmissionRecordWidth - 1, 1) == "0") {
      h.hasHeader = true;
      h.mb = fieldOf(r, "KD0MBOO");
      h.mbg = fieldOf(r, "KD0MBGO");
      h.name = fieldOf(r, "KD0NAOB");
      h.address = fieldOf(r, "KD0ADOB");
      h.contact = fieldOf(r, "KD0OSOB");
      h.numbers = h.mb + " /" + h.mbg;
    }
  }
  if (readRow(records, 2, row)) {
    std::string r = recordText(row);
    if (midChars(r, kSubmissionRecordWidth - 1, 1) == "3") {
      h.hasForm = true;
      h.formMb = fieldOf(r, "KD3MBOO");
      h.formMbg = fieldOf(r, "KD3MBGO");
      h.serial = fieldOf(r, "KD3RBSU");
      h.formName = fieldOf(r, "KD3NAOB");
      h.paymentKind = fieldOf(r, "KD3VROI");
      h.obligorKind = fieldOf(r, "KD3VROB");
      h.monthYear = fieldOf(r, "KD3MMGG");
    }
  }
  return h;
}

}  // namespace kdm
