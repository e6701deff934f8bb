#include "submission/store_check.h"

#include <filesystem>
#include <optional>
#include <set>

#include "data/records.h"
#include "forms/form_creation.h"
#include "platform/files.h"
#include "platform/hash.h"
#include "platform/text.h"
#include "app/parameters.h"

namespace kdm {
namespace {

// What form creation stores on page A until the file's hash replaces it.
constexpr const char* kPlaceholderControlNumber = "1234567890-1234567890-1234567890-1234567890";

void integrity(DataStore& store, StoreCheckResult& result) {
  Error e;
  Statement* st = store.db().prepare("PRAGMA integrity_check", e);
  if (!st) {
    result.findings.push_back("SQLite integrity check could not run: " + e.text);
    return;
  }
  int rc;
  while ((rc = st->step()) == SQLITE_ROW) {
    std::string line(st->text(0));
    if (line != "ok") result.findings.push_back("SQLite integrity check: " + line);
  }
  if (rc != SQLITE_DONE) result.findings.push_back("SQLite integrity check failed: " + store.db().lastError(rc).text);
  st->reset();
}

void unreadable(StoreCheckResult& result, const char* label, const Error& e) {
  result.findings.push_back(std::string("Cannot read ") + label + ": " + e.text);
}

// Whether page A of the form `konVeza` exists; a read error is a finding
// and counts as found, so that it is not reported twice.
bool hasPageA(File<TBOBRAZA>& a, const std::string& konVeza, StoreCheckResult& result) {
  a.clear();
  a.rec.KONVEZA = konVeza;
  Error e = a.get("KEYIDENTIKATOR");
  if (e.kind() == ErrorCode::RecordNotFound) return false;
  if (e) unreadable(result, "TBOBRAZA", e);
  return true;
}

void pageBRows(DataStore& store, File<TBOBRAZA>& a, StoreCheckResult& result) {
  File<TBOSIGUR> osi(store);
  Error e = osi.open();
  if (!e) e = osi.setStart("KEYOBRGODMJE");
  std::string key;
  std::int64_t rows = 0;
  auto endOfForm = [&] {
    if (rows > 0 && !hasPageA(a, key, result))
      result.findings.push_back("Form " + key + ": " + std::to_string(rows) +
                                (rows == 1 ? " page-B row" : " page-B rows") +
                                " (TBOSIGUR) without its page A (TBOBRAZA)");
  };
  while (!e && !(e = osi.next())) {
    ++result.rows;
    if (rows > 0 && collate(osi.rec.KONVEZA, key) == 0) {
      ++rows;
      continue;
    }
    endOfForm();
    key = osi.rec.KONVEZA;
    rows = 1;
  }
  if (e.kind() != ErrorCode::NoMoreRecords) return unreadable(result, "TBOSIGUR", e);
  endOfForm();
}

// Each entry of the collective list has its page A and its file.
void collectiveList(DataStore& store, File<TBOBRAZA>& a, StoreCheckResult& result, std::set<std::string>& keys) {
  File<TBTMPDAT> tbt(store);
  Error e = tbt.open();
  if (!e) e = tbt.raw().set(static_cast<const KeyDef*>(nullptr));
  while (!e && !(e = tbt.next())) {
    ++result.listed;
    const std::string key = upper(trim(tbt.rec.IDENTIFIKATOR));
    keys.insert(key);
    const std::string file(trim(tbt.rec.IMEFILE));
    const std::string entry = "Listed form " + key + " (TBTMPDAT)";
    if (!hasPageA(a, key, result)) result.findings.push_back(entry + " has no page A (TBOBRAZA)");
    std::error_code ec;
    if (file.empty())
      result.findings.push_back(entry + " names no delivered file");
    else if (!std::filesystem::exists(file, ec))
      result.findings.push_back(entry + ": its delivered file " + file + " is missing");
    else if (!fileExists(file))
      result.findings.push_back(entry + ": its delivered file " + file + " is not a regular file");
  }
  if (e.kind() != ErrorCode::NoMoreRecords) unreadable(result, "TBTMPDAT", e);
}

// The sequence number form creation built the identifier of `a` with:
// the one whose suffix, built the same way, is the identifier's.
std::optional<int> sequenceOf(const TBOBRAZA& a, int year) {
  const std::string suffix(trimRight(midChars(a.IDENTIFIKATOR, 3, 4)));
  for (auto [from, width] : {std::pair{1, 3}, std::pair{1, 2}, std::pair{2, 2}}) {
    std::string digits(midChars(suffix, from, width));
    if (digits.size() != static_cast<std::size_t>(width) || !isDigits(digits)) continue;
    int sequence = std::stoi(digits);
    if (trimRight(identifierSuffix(std::string(trim(a.VRSTOBVEZNIKA)), std::string(trim(a.JMBG)), year, sequence)) ==
        suffix)
      return sequence;
  }
  return std::nullopt;
}

// The control number of a file, or nothing when it is not a regular file
// or cannot be read.
std::optional<std::string> controlNumberOf(const std::string& path) {
  if (!fileExists(path)) return std::nullopt;
  auto hash = doSHAOnFile(path);
  if (!hash) return std::nullopt;
  return controlNumber(*hash);
}

// A control number is the hash of the form's own copy, or of VALTA.RM0
// when the form went out in the collective file last formed. A form that is
// no longer listed may have gone out in an earlier collective file, whose
// hash nothing keeps: a mismatch there is a note, not a finding.
void controlNumbers(DataStore& store, File<TBOBRAZA>& a, StoreCheckResult& result,
                    const std::set<std::string>& listed) {
  APLPARAM apl;
  readParameters(store, apl);
  const std::string outDir = outputDirectory(store, apl);
  const std::string rm0 = joinPath(outDir, "VALTA.RM0");
  const std::optional<std::string> rm0Number = controlNumberOf(rm0);

  Error e = a.setStart("KEYIDENTIKATOR");
  while (!e && !(e = a.next())) {
    ++result.forms;
    const std::string form = "Form " + upper(trim(a.rec.KONVEZA));
    const std::string stored = upper(trim(a.rec.KONZNAK));
    if (stored.empty() || stored == kPlaceholderControlNumber) {
      result.findings.push_back(form + " was never delivered: it has no control number");
      continue;
    }
    const std::string obligor(leftChars(a.rec.IDENTIFIKATOR, 3));
    const std::string year(trim(a.rec.OBRGOD));
    std::optional<int> sequence;
    if (isDigits(obligor) && year.size() == 4 && isDigits(year)) sequence = sequenceOf(a.rec, std::stoi(year));
    if (!sequence) {
      result.findings.push_back(form + ": its identifier " + std::string(trimRight(a.rec.IDENTIFIKATOR)) +
                                " names no submission file");
      continue;
    }
    const std::string own = joinPath(outDir, submissionCopyName(std::stoi(obligor), std::stoi(year), *sequence));
    const std::optional<std::string> ownNumber = controlNumberOf(own);
    if (ownNumber == stored || rm0Number == stored) continue;
    auto state = [](const std::optional<std::string>& number) { return number ? "differs" : "missing"; };
    const std::string text = form + ": control number " + stored + " matches no delivered file (" + own + ": " +
                             state(ownNumber) + ", " + rm0 + ": " + state(rm0Number) + ")";
    if (listed.count(upper(trim(a.rec.KONVEZA))))
      result.findings.push_back(text);
    else
      result.notes.push_back(text + "; not listed, so perhaps delivered in an earlier collective file");
  }
  if (e.kind() != ErrorCode::NoMoreRecords) unreadable(result, "TBOBRAZA", e);
}

}  // namespace

StoreCheckResult checkStore(DataStore& store) {
  StoreCheckResult result;
  integrity(store, result);
  File<TBOBRAZA> a(store);
  if (Error e = a.open()) {
    unreadable(result, "TBOBRAZA", e);
    return result;
  }
  pageBRows(store, a, result);
  std::set<std::string> listed;
  collectiveList(store, a, result, listed);
  controlNumbers(store, a, result, listed);
  return result;
}

}  // namespace kdm
