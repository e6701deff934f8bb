#include "submission/collective.h"

#include "app/parameters.h"

#include <filesystem>
#include <vector>

#include "data/run_unit.h"
#include "platform/fault.h"
#include "platform/files.h"
#include "platform/hash.h"
#include "platform/text.h"
#include "platform/textfile.h"
#include "submission/submission_file.h"

namespace kdm {
namespace {


struct ListEntry {
  std::string identifikator;
  std::string imeFile;
};

// The list in the order the obligors were added. False (reported) when it
// cannot be opened or read to its end.
bool readList(DataStore& store, Reporter& out, std::vector<ListEntry>& list) {
  File<TBTMPDAT> tbt(store);
  if (Error e = tbt.open()) {
    out.message("Open TBTMPDAT " + e.text);
    return false;
  }
  if (Error e = tbt.raw().set(static_cast<const KeyDef*>(nullptr))) {
    out.message("Open TBTMPDAT " + e.text);
    return false;
  }
  Error e;
  while (!(e = tbt.next())) list.push_back({tbt.rec.IDENTIFIKATOR, std::string(trim(tbt.rec.IMEFILE))});
  if (e.kind() != ErrorCode::NoMoreRecords) {
    out.message("Greška " + e.text);
    return false;
  }
  return true;
}

void fail(Globals& GLO, Reporter& out, const std::string& message) {
  out.message(message);
  GLO.Status = 1;
}

// APL:IZLAZDIR: the data directory when blank, inside it when relative.

}  // namespace

bool addToCollectiveList(DataStore& store, Reporter& out, bool emptyFirst, const TBPOSLOD& pos,
                         const std::string& konVeza, const std::string& imeDatoteke) {
  File<TBTMPDAT> tbt(store);
  // A list that could not be emptied is not added to: the next collective
  // file would join the obligors of an earlier delivery.
  if (Error e = tbt.open(emptyFirst ? OpenMode::Exclusive : OpenMode::Shared)) {
    out.message("Greška. Open TBTMPDAT " + e.text);
    return false;
  }
  if (emptyFirst) {
    if (Error e = tbt.empty()) {
      out.message("Greška. Empty TBTMPDAT " + e.text);
      return false;
    }
  }
  tbt.clear();
  tbt.rec.FIRMA = pos.REDBROJ;
  tbt.rec.MB01 = std::string(trimRight(padRight(pos.MB01, 8) + pos.MB02));
  tbt.rec.MB02 = pos.JMBG;
  tbt.rec.IMEFIRME = pos.NAZIV;
  tbt.rec.IDENTIFIKATOR = konVeza;
  // Stored whole or refused: a cut path would name another file.
  tbt.rec.IMEFILE = std::string(trimRight(imeDatoteke));
  if (Error e = tbt.insert()) {
    out.message("Greška. Add TBTMPDAT " + e.text);
    // The form formed again is listed already, under its key.
    return e.kind() == ErrorCode::DuplicateKey;
  }
  return true;
}

void formCollectiveFile(Globals& GLO, DataStore& store, Reporter& out) {
  APLPARAM apl;
  readParameters(store, apl);
  GLO.Status = 0;
  std::int64_t forms = 0;

  // The file and the marks of the forms are one unit, and no other run may
  // write TBVALTA.TXT or the list meanwhile.
  RunUnit run(store);
  if (Error e = run.hold({"TBVALTA", "TBVALTA1", "TBOBRAZA", "TBTMPDAT"})) return fail(GLO, out, e.text);

  std::vector<ListEntry> list;
  if (!readList(store, out, list)) {
    GLO.Status = 1;
    return;
  }
  if (list.empty()) return fail(GLO, out, "Greška pri kreiranju jedinstvenog HASH broja");

  const std::string valtaPath = store.pathOf(findLabel("TBVALTA")->diskName);
  TextFile valta;
  if (Error e = valta.openEmpty(valtaPath)) return fail(GLO, out, "Greška. Open TBVALTA.TXT " + e.text);
  if (Error e = valta.appendLine(headerRecord(apl, GLO.DatSlanja, HeaderRule::Collective)))
    return fail(GLO, out, "Greška " + e.text);

  SubmissionReader reader;
  SubmissionLine line;
  for (const ListEntry& entry : list) {
    if (Error e = reader.open(store, entry.imeFile))
      return fail(GLO, out, "Greška, file: " + entry.imeFile + " Error=" + e.text);
    while (reader.next(line)) {
      char type = line.type();
      if (type == '3') ++forms;
      if (type == '0' || type == '9') continue;
      if (Error e = valta.appendRaw(line.raw())) return fail(GLO, out, "Greška " + e.text);
    }
    if (reader.error()) return fail(GLO, out, "Greška, file: " + entry.imeFile + " Error=" + reader.error().text);
    reader.close();
  }

  if (Error e = valta.appendLine(fileTrailerRecord(apl, GLO.DatSlanja, forms, HeaderRule::Collective)))
    return fail(GLO, out, "Greška " + e.text);
  if (Error e = valta.close()) return fail(GLO, out, "Greška. 2. Close TBVALTA.TXT " + e.text);
  if (Error e = faultPoint("collect.file")) return fail(GLO, out, "Greška. 2. Close TBVALTA.TXT " + e.text);

  std::optional<std::string> hash = doSHAOnFile(valtaPath);
  if (!hash) return fail(GLO, out, "Greška pri kreiranju jedinstvenog HASH broja");

  const std::string rm0 = joinPath(outputDirectory(store, apl), "VALTA.RM0");
  if (Error e = run.begin({rm0})) return fail(GLO, out, "Greška " + e.text);
  File<TBOBRAZA> a(store);
  if (a.open()) return fail(GLO, out, "Greška pri otvaranju TBOBRAZA.DAT");
  const std::string konznak = controlNumber(*hash);
  for (const ListEntry& entry : list) {
    a.clear();
    a.rec.KONVEZA = entry.identifikator;
    if (a.get("KEYIDENTIKATOR"))
      return fail(GLO, out, "Greška pri ažuriranju HASH broja (1) Ident=" + entry.identifikator);
    a.rec.KONZNAK = konznak;
    if (a.put()) return fail(GLO, out, "Greška pri ažuriranju HASH broja (2) Ident.=" + entry.identifikator);
  }
  if (Error e = faultPoint("collect.marks")) return fail(GLO, out, "Greška " + e.text);
  if (Error e = run.stage(valtaPath, rm0))
    return fail(GLO, out, "Greška, file: " + valtaPath + " " + rm0 + " Error=" + e.text);
  if (Error e = run.commit()) return fail(GLO, out, "Greška " + std::to_string(e.code) + " " + e.text);
  GLO.Status = 2;
  GLO.ImeDatoteke = rm0;
}

}  // namespace kdm
