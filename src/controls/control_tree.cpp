#include "controls/control_tree.h"

#include "data/records.h"
#include "platform/text.h"

namespace kdm {
namespace {

std::string code(const std::string& value) { return std::string(trimRight(value)); }

// The rows of `file` from the key value in `from` on, while `same` holds.
template <class T, class Same, class Take>
Error readFrom(File<T>& file, const char* key, Same same, Take take) {
  if (Error e = file.set(key)) return e;
  Error e;
  while (!(e = file.next()) && same(file.rec)) take(file.rec);
  return e.kind() == ErrorCode::NoMoreRecords || !e ? ok() : e;
}

}  // namespace

Error loadControlTree(DataStore& store, std::vector<ControlTreeItem>& tree) {
  tree.clear();
  File<TBVRSOBV> vob(store);
  File<STABLO02> sta2(store);
  File<STABLO03> sta3(store);
  for (auto* f : {&vob.raw(), &sta2.raw(), &sta3.raw()})
    if (Error e = f->open()) return e;
  if (Error e = vob.raw().set(static_cast<const KeyDef*>(nullptr))) return e;
  Error e;
  while (!(e = vob.next())) {
    ControlTreeItem kind{1, code(vob.rec.SIFRA), "", "", code(vob.rec.SIFRA) + " " + code(vob.rec.SKROPIS), {}};
    sta2.clear();
    sta2.rec.VOB = kind.vob;
    Error r = readFrom(sta2, "KEYVOB_VOI", [&](const STABLO02& s) { return sameText(code(s.VOB), kind.vob); },
                       [&](const STABLO02& s) {
                         kind.children.push_back(
                             {2, kind.vob, code(s.VOI), "", code(s.VOI) + " " + code(s.NAZIV), {}});
                       });
    if (r) return r;
    for (ControlTreeItem& payment : kind.children) {
      sta3.clear();
      sta3.rec.VOB = payment.vob;
      sta3.rec.VOI = payment.voi;
      r = readFrom(sta3, "KEYOO",
                   [&](const STABLO03& s) { return sameText(code(s.VOB), payment.vob) && sameText(code(s.VOI), payment.voi); },
                   [&](const STABLO03& s) {
                     payment.children.push_back(
                         {3, payment.vob, payment.voi, code(s.OO), code(s.OO) + " " + code(s.NAZIV), {}});
                   });
      if (r) return r;
    }
    tree.push_back(std::move(kind));
  }
  return e.kind() == ErrorCode::NoMoreRecords ? ok() : e;
}

void chooseNewControlRow(Globals& GLO) {
  GLO.VO.clear();
  GLO.VrsUpl.clear();
  GLO.OsnovObr.clear();
}

bool chooseControlRow(Globals& GLO, const ControlTreeItem& item) {
  if (item.level != 3) return false;
  GLO.VO = item.vob;
  GLO.VrsUpl = item.voi;
  GLO.OsnovObr = item.oo;
  return true;
}

}  // namespace kdm
