#include "import/results.h"

#include "platform/sqlite_store.h"
#include "platform/text.h"

#include <vector>

namespace kdm {

FindingList::FindingList(DataStore& store) : file_(store, "TBGRESKE") {}

void FindingList::begin(Reporter& out) {
  if (Error e = file_.open(OpenMode::Exclusive)) {
    out.message("Greška pri otvaranju TBGRESKE " + e.text);
    file_.open(OpenMode::Shared);
  }
  if (Error e = file_.empty()) out.message("Greška pri pražnjenju TBGRESKE " + e.text);
  rec_ = file_.blank();
  // Whatever an unemptied list still holds keeps its numbers.
  next_ = 1;
  stored_ = 0;
  failureReported_ = false;
  if (file_.isOpen() && file_.count() > 0) {
    Record last = file_.blank();
    file_.set("KEYREDBROJ");
    if (!file_.previous(last)) next_ = last.integer(0) + 1;
  }
}

void FindingList::add(const TBUPLATE& line, std::string_view text, Reporter& out) {
  // GRE:MB ... GRE:IZNOS11 follow the line's fields from OSI1:MB on.
  const std::string* fields[] = {&line.MB,       &line.MB2,      &line.VRSOBV,  &line.VRSTAUPLA, &line.IDENTIFIKATOR,
                                 &line.GODOBRA,  &line.OBRMJE,   &line.OBRRAZD1, &line.OBRRAZD2, &line.JMBG,
                                 &line.PREZIME,  &line.OPCINA,   &line.CLANDN,  &line.OSNOVA1,   &line.OSNOVA3,
                                 &line.IZNOS7,   &line.IZNOS8,   &line.IZNOS9,  &line.IZNOS10,   &line.IZNOS11};
  rec_.rowid = 0;
  rec_.setInteger(0, next_);
  rec_.setInteger(1, 0);
  rec_.setText(2, std::string(trimRight(leftChars(text, 80))));
  for (int i = 0; i < 20; ++i) rec_.setText(3 + i, std::string(trimRight(*fields[i])));
  if (Error e = file_.add(rec_)) {
    if (!failureReported_) out.message("Greška kod upisa " + std::to_string(e.code));
    failureReported_ = true;
    return;
  }
  ++next_;
  ++stored_;
}

std::int64_t FindingList::end() {
  Record last = file_.blank();
  if (file_.set(static_cast<const KeyDef*>(nullptr)) || file_.previous(last)) return 0;
  return last.rowid;
}

void FindingList::rollBackKeeping(Transaction& tx, std::int64_t end, Reporter& out) {
  std::vector<Record> added;
  Record from = file_.blank(), r = file_.blank();
  from.rowid = end + 1;
  if (!file_.set(static_cast<const KeyDef*>(nullptr), &from))
    while (!file_.next(r)) added.push_back(r);
  tx.rollback();
  for (Record& f : added) {
    f.rowid = 0;
    if (Error e = file_.add(f)) {
      if (!failureReported_) out.message("Greška kod upisa " + std::to_string(e.code));
      failureReported_ = true;
      return;
    }
  }
}

}  // namespace kdm
