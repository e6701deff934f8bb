#include "data/records.h"

namespace kdm {
namespace {

void put(Record& r, int i, const std::string& v) { r.setText(i, v); }
void put(Record& r, int i, std::int16_t v) { r.setInteger(i, v); }
void put(Record& r, int i, std::int32_t v) { r.setInteger(i, v); }
void put(Record& r, int i, Date v) { r.setDate(i, v); }
void put(Record& r, int i, Decimal v) { r.setDecimal(i, v); }

void take(const Record& r, int i, std::string& v) { v = r.text(i); }
void take(const Record& r, int i, std::int16_t& v) { v = static_cast<std::int16_t>(r.integer(i)); }
void take(const Record& r, int i, std::int32_t& v) { v = static_cast<std::int32_t>(r.integer(i)); }
void take(const Record& r, int i, Date& v) { v = r.date(i); }
void take(const Record& r, int i, Decimal& v) { v = r.decimal(i); }

}  // namespace

#define KDM_PUT(name, type, width, scale) put(to, i++, from.name);
#define KDM_TAKE(name, type, width, scale) take(from, i++, to.name);
#define KDM_DEFINE_RECORD(Struct, FIELDS)                     \
  void toRecord(const Struct& from, Record& to) {             \
    if (!to.valid()) to = Record(*findLabel(Struct::kLabel)); \
    int i = 0;                                                \
    FIELDS(KDM_PUT)                                           \
  }                                                           \
  void fromRecord(const Record& from, Struct& to) {           \
    int i = 0;                                                \
    FIELDS(KDM_TAKE)                                          \
  }

KDM_DEFINE_RECORD(TBPOSLOD, KDM_FIELDS_TBPOSLOD)
KDM_DEFINE_RECORD(TBZAPOSL, KDM_FIELDS_TBZAPOSL)
KDM_DEFINE_RECORD(TBOBRAZA, KDM_FIELDS_TBOBRAZA)
KDM_DEFINE_RECORD(TBOSIGUR, KDM_FIELDS_TBOSIGUR)
KDM_DEFINE_RECORD(TBUPLATE, KDM_FIELDS_TBUPLATE)
KDM_DEFINE_RECORD(TBVRSOBV, KDM_FIELDS_TBVRSOBV)
KDM_DEFINE_RECORD(TBVRSUPL, KDM_FIELDS_TBVRSUPL)
KDM_DEFINE_RECORD(TBOSNOBR, KDM_FIELDS_TBOSNOBR)
KDM_DEFINE_RECORD(TBOZNSTA, KDM_FIELDS_TBOZNSTA)
KDM_DEFINE_RECORD(TBSTOPE, KDM_FIELDS_TBSTOPE)
KDM_DEFINE_RECORD(TBOPCINE, KDM_FIELDS_TBOPCINE)
KDM_DEFINE_RECORD(VEZNATAB, KDM_FIELDS_VEZNATAB)
KDM_DEFINE_RECORD(STABLO01, KDM_FIELDS_STABLO01)
KDM_DEFINE_RECORD(STABLO02, KDM_FIELDS_STABLO02)
KDM_DEFINE_RECORD(STABLO03, KDM_FIELDS_STABLO03)
KDM_DEFINE_RECORD(TBPOPGRE, KDM_FIELDS_TBPOPGRE)
KDM_DEFINE_RECORD(APLPARAM, KDM_FIELDS_APLPARAM)
KDM_DEFINE_RECORD(TEXTSIF, KDM_FIELDS_TEXTSIF)
KDM_DEFINE_RECORD(TBOSIGU1, KDM_FIELDS_TBOSIGUR)
KDM_DEFINE_RECORD(TBOSIGU2, KDM_FIELDS_TBOSIGU2)
KDM_DEFINE_RECORD(TBOSIGU3, KDM_FIELDS_TBOSIGU3)
KDM_DEFINE_RECORD(TBGRESKE, KDM_FIELDS_TBGRESKE)
KDM_DEFINE_RECORD(TBTMPDAT, KDM_FIELDS_TBTMPDAT)
KDM_DEFINE_RECORD(TBIZLAZ, KDM_FIELDS_TBIZLAZ)
KDM_DEFINE_RECORD(TBIZLAZ1, KDM_FIELDS_TBIZLAZ1)
KDM_DEFINE_RECORD(ZAP2004, KDM_FIELDS_ZAP2004)
KDM_DEFINE_RECORD(TBVALTA, KDM_FIELDS_TBVALTA)
KDM_DEFINE_RECORD(TBVALTA1, KDM_FIELDS_TBVALTA1)
KDM_DEFINE_RECORD(TBIZLAZ2, KDM_FIELDS_TBIZLAZ2)
KDM_DEFINE_RECORD(TEKSTDAT, KDM_FIELDS_TEKSTDAT)

}  // namespace kdm
