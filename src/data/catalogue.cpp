#include "data/catalogue.h"

#include <stdexcept>

#include "data/records.h"
#include "platform/amounts.h"
#include "platform/text.h"

namespace kdm {
namespace {

enum KeyAttr : unsigned { Dup = 0, Unique = 1, ExcludeEmpty = 2, Primary = 4, Auto = 8 };

#define KDM_FIELD_DEF(name, type, width, scale) FieldDef{#name, FieldType::type, width, scale},

struct Builder {
  std::vector<LabelDef> labels;
  Builder() { labels.reserve(64); }

  LabelDef& add(std::string label, std::string prefix, std::string disk, FileKind kind, std::vector<FieldDef> fields) {
    LabelDef d;
    d.label = label;
    d.table = label;
    d.prefix = std::move(prefix);
    d.diskName = std::move(disk);
    d.kind = kind;
    d.fields = std::move(fields);
    labels.push_back(std::move(d));
    return labels.back();
  }
  LabelDef& keyed(std::string label, std::string prefix, std::vector<FieldDef> fields) {
    std::string disk = label + ".DAT";
    return add(std::move(label), std::move(prefix), std::move(disk), FileKind::Keyed, std::move(fields));
  }
  LabelDef& text(std::string label, std::string prefix, std::string disk, std::vector<FieldDef> fields) {
    return add(std::move(label), std::move(prefix), std::move(disk), FileKind::Text, std::move(fields));
  }
  // A second prefix over the table of `base`.
  LabelDef& view(const std::string& label, const std::string& prefix, const std::string& base) {
    LabelDef d = find(base);
    d.label = label;
    d.prefix = prefix;
    d.keys.clear();
    d.validations.clear();
    labels.push_back(std::move(d));
    return labels.back();
  }
  LabelDef& find(const std::string& label) {
    for (auto& l : labels)
      if (l.label == label) return l;
    throw std::logic_error("catalogue: no label " + label);
  }
};

int field(const LabelDef& d, const std::string& name) {
  int i = d.fieldIndex(name);
  if (i < 0) throw std::logic_error("catalogue: no field " + d.label + ":" + name);
  return i;
}

void key(LabelDef& d, std::string name, std::vector<std::string> comps, unsigned attrs, std::string description) {
  KeyDef k;
  k.name = std::move(name);
  for (auto& c : comps) k.components.push_back(field(d, c));
  k.unique = attrs & Unique;
  k.excludeEmpty = attrs & ExcludeEmpty;
  k.primary = attrs & Primary;
  k.autoNumber = attrs & Auto;
  k.description = std::move(description);
  d.keys.push_back(std::move(k));
}

void yearRange(LabelDef& d, const std::string& name) {
  d.validations.push_back({field(d, name), 2001, 2100, "Obračunska godina"});
}

// Amounts kept for a submission file must fit its amount fields.
void amountRange(LabelDef& d, const std::string& name, const std::string& title) {
  d.validations.push_back({field(d, name), -kLargestAmountUnits, kLargestAmountUnits, title});
}

std::vector<LabelDef> build() {
  Builder b;

  // Core records.
  auto& pos = b.keyed("TBPOSLOD", "POS", {KDM_FIELDS_TBPOSLOD(KDM_FIELD_DEF)});
  key(pos, "KEYREDBROJ", {"REDBROJ"}, Primary | Unique, "Redni broj fime");
  key(pos, "KEYMB", {"MB01", "MB02", "REDBROJ"}, Unique, "MB broj firme");
  key(pos, "KEYJMBG", {"JMBG", "REDBROJ"}, Unique, "JMBG poslodavca");
  key(pos, "KEYNAZIV", {"NAZIV", "REDBROJ"}, Unique, "Naziv poslodavca");
  pos.validations.push_back({field(pos, "REDBROJ"), kLowestObligor, kHighestObligor, "Redni broj obveznika"});

  for (auto* name : {"TBZAPOSL", "RAD1"}) {
    auto& rad = std::string(name) == "TBZAPOSL" ? b.keyed("TBZAPOSL", "RAD", {KDM_FIELDS_TBZAPOSL(KDM_FIELD_DEF)})
                                                : b.view("RAD1", "RAD1", "TBZAPOSL");
    key(rad, "KEYOSOBA", {"JMBG"}, Dup, "JMBG zaposlenika");
    key(rad, "KEYRBRFIRME", {"REDBROJ", "JMBG", "DODANA"}, Dup | ExcludeEmpty, "Redni broj firme");
    key(rad, "KEYPREZIME", {"PREZIME"}, Dup, "Prezime i ime");
  }
  auto& rad = b.find("TBZAPOSL");
  for (const char* column : {"7", "8", "9", "10", "11"})
    amountRange(rad, std::string("IZNOS") + column, std::string("Iznos IV.") + column);

  auto& a = b.keyed("TBOBRAZA", "A", {KDM_FIELDS_TBOBRAZA(KDM_FIELD_DEF)});
  key(a, "KEYIDENTIKATOR", {"KONVEZA"}, Primary | Unique, "Obračunska godina, mjesec i identifikator");
  key(a, "KEYGODMJE", {"OBRGOD", "OBRMJE", "IDENTIFIKATOR"}, Dup | ExcludeEmpty, "Obračunska godina, mjesec, firma");
  key(a, "KEYFIRMA", {"NAZIV", "OBRGOD", "OBRMJE"}, Dup | ExcludeEmpty, "Naziv firme");

  for (auto* name : {"TBOSIGUR", "RAD2"}) {
    bool base = std::string(name) == "TBOSIGUR";
    auto& osi = base ? b.keyed("TBOSIGUR", "OSI", {KDM_FIELDS_TBOSIGUR(KDM_FIELD_DEF)})
                     : b.view("RAD2", "RAD2", "TBOSIGUR");
    key(osi, "KEYJMBG", {"JMBG", "OSNOVA1", "OSNOVA3", "OBRRAZD1", "OBRRAZD2", "IDENTIFIKATOR", "VRSUPL"}, Dup,
        "JMBG");
    key(osi, "KEYREDBROJ", {"RBOSOB"}, Dup | ExcludeEmpty, base ? "OSI:KeyRedBroj" : "RAD2:KeyRedBroj");
    key(osi, "KEYOBRGODMJE", {"KONVEZA", "JMBG", "OBRRAZD1", "OSNOVA1", "OSNOVA3", "CLANDN"}, Dup,
        "Obračunska godina i mjesec");
    key(osi, "KEYPREZIME", {"PREZIME", "OSNOVA1", "OSNOVA3", "OBRRAZD1", "OBRRAZD2"}, Dup, "Prezime i ime");
    if (base) yearRange(osi, "GODOBRA");  // the view RAD2 has no such check
  }

  auto& upl = b.text("TBUPLATE", "OSI1", "TBUPLATE.DAT", {KDM_FIELDS_TBUPLATE(KDM_FIELD_DEF)});
  yearRange(upl, "GODOBRA");

  // Code tables.
  auto& vob = b.keyed("TBVRSOBV", "VOB", {KDM_FIELDS_TBVRSOBV(KDM_FIELD_DEF)});
  key(vob, "KEYSIFRA", {"SIFRA"}, Primary | Unique, "VOB:keySifra");
  key(vob, "KEYNAZIV", {"SKROPIS"}, Unique, "VOB:keyNaziv");

  auto& vup = b.keyed("TBVRSUPL", "VUP", {KDM_FIELDS_TBVRSUPL(KDM_FIELD_DEF)});
  key(vup, "KEYSIFRA", {"SIFRA"}, Primary | Unique, "Šifra vrste uplate");
  key(vup, "KEYNAZIV", {"OPIS"}, Dup | ExcludeEmpty, "Naziv vrste uplate");

  auto& tbo = b.keyed("TBOSNOBR", "TBO", {KDM_FIELDS_TBOSNOBR(KDM_FIELD_DEF)});
  key(tbo, "KEYSIFRA", {"SIFRA"}, Primary | Unique, "TBO:keySifra");

  auto& sta = b.keyed("TBOZNSTA", "STA", {KDM_FIELDS_TBOZNSTA(KDM_FIELD_DEF)});
  key(sta, "KEYSIFRA", {"SIFRA"}, Primary | Unique, "Šifra vrste staža");
  key(sta, "KEYNAZIV", {"OPIS"}, Unique, "Naziv vrste staža");

  auto& sto = b.keyed("TBSTOPE", "STO1", {KDM_FIELDS_TBSTOPE(KDM_FIELD_DEF)});
  key(sto, "KEYOSNOV", {"VRSTOBRACUNA", "VRSTAOBVEZNIKA", "OSNOVOBRA", "STAZ", "CLANDN"}, Primary | Unique, "Osnov");

  auto& opc = b.keyed("TBOPCINE", "OPC", {KDM_FIELDS_TBOPCINE(KDM_FIELD_DEF)});
  key(opc, "KEYREDB", {"REDBROJ"}, Primary | Unique | Auto, "Redni broj");
  key(opc, "KEYSIFRA", {"SIFRA"}, Unique, "OPC:KeySifra");
  key(opc, "KEYNAZIV", {"NAZIV"}, Unique, "Naziv općine");

  auto& vez = b.keyed("VEZNATAB", "VEZ", {KDM_FIELDS_VEZNATAB(KDM_FIELD_DEF)});
  key(vez, "KEYVOB_VOI", {"VOB", "VOI", "OO"}, Primary | Unique, "VEZ:KeyVOB_VOI");
  key(vez, "KEYVOI_OO", {"VOI", "OO", "VOB"}, Unique | ExcludeEmpty, "VEZ:keyVOI_OO");
  key(vez, "KEYOO_VOB", {"OO", "VOB", "VOI"}, Unique | ExcludeEmpty, "VEZ:KeyOO_VOB");

  auto& sta1 = b.keyed("STABLO01", "STA1", {KDM_FIELDS_STABLO01(KDM_FIELD_DEF)});
  key(sta1, "KEYSIFRA", {"VOB"}, Primary | Unique, "STA1:KeySifra");
  auto& sta2 = b.keyed("STABLO02", "STA2", {KDM_FIELDS_STABLO02(KDM_FIELD_DEF)});
  key(sta2, "KEYVOB_VOI", {"VOB", "VOI"}, Primary | Unique, "STA2:KeyVOB_VOI");
  auto& sta3 = b.keyed("STABLO03", "STA3", {KDM_FIELDS_STABLO03(KDM_FIELD_DEF)});
  key(sta3, "KEYOO", {"VOB", "VOI", "OO"}, Primary | Unique, "STA3:KeyOO");

  auto& pgr = b.keyed("TBPOPGRE", "PGR", {KDM_FIELDS_TBPOPGRE(KDM_FIELD_DEF)});
  key(pgr, "KEYREDBROJ", {"REDBROJ"}, Primary | Unique | Auto, "PGR:KeyRedbroj");

  auto& apl = b.keyed("APLPARAM", "APL", {KDM_FIELDS_APLPARAM(KDM_FIELD_DEF)});
  key(apl, "KEYRB", {"RB"}, Primary | Unique, "Redni broj apl datoteke");
  apl.defaults = {{field(apl, "RB"), "1"}, {field(apl, "MB02"), "000"}};

  b.text("TEXTSIF", "TEK", "TEXTSIF.TXT", {KDM_FIELDS_TEXTSIF(KDM_FIELD_DEF)});

  // Working records.
  auto& osi2 = b.keyed("TBOSIGU1", "OSI2", {KDM_FIELDS_TBOSIGUR(KDM_FIELD_DEF)});
  key(osi2, "KEYOBRGODMJE", {"KONVEZA", "JMBG", "OBRRAZD2", "OSNOVA1", "OSNOVA3", "CLANDN"}, Dup,
      "Obračunska godina i mjesec");
  key(osi2, "KEYPREZIME", {"KONVEZA", "PREZIME", "JMBG", "OSNOVA1", "OSNOVA3"}, Dup | ExcludeEmpty, "OSI2:keyPrezime");
  yearRange(osi2, "GODOBRA");

  auto& osi3 = b.keyed("TBOSIGU2", "OSI3", {KDM_FIELDS_TBOSIGU2(KDM_FIELD_DEF)});
  key(osi3, "KEYPREZIME", {"PREZIME", "OBRRAZD1", "OSNOVA1", "OSNOVA3", "OBRRAZD2"}, Dup, "Prezime i ime");
  yearRange(osi3, "GODOBRA");
  auto& osi4 = b.keyed("TBOSIGU3", "OSI4", {KDM_FIELDS_TBOSIGU3(KDM_FIELD_DEF)});
  key(osi4, "KEYPREZIME", {"PREZIME", "OBRRAZD1", "OSNOVA1", "OSNOVA3", "OBRRAZD2"}, Dup, "Prezime i ime");
  yearRange(osi4, "GODOBRA");

  auto& gre = b.keyed("TBGRESKE", "GRE", {KDM_FIELDS_TBGRESKE(KDM_FIELD_DEF)});
  key(gre, "KEYREDBROJ", {"RB"}, Primary | Unique | Auto, "GRE:KeyRedBroj");
  key(gre, "KEYTIP", {"TIP", "RB"}, Dup, "GRE:KeyTip");
  yearRange(gre, "GODOBRA");

  auto& tbt = b.keyed("TBTMPDAT", "TBT", {KDM_FIELDS_TBTMPDAT(KDM_FIELD_DEF)});
  key(tbt, "KEYIDENTIKATOR", {"IDENTIFIKATOR"}, Primary | Unique, "TBT:KeyIdentikator");

  auto& ulz = b.keyed("TBIZLAZ", "ULZ", {KDM_FIELDS_TBIZLAZ(KDM_FIELD_DEF)});
  key(ulz, "KEYVRSTA", {"REDBROJ"}, Primary | Unique | Auto, "ULZ:KeyVrsta");
  auto& ulz1 = b.keyed("TBIZLAZ1", "ULZ1", {KDM_FIELDS_TBIZLAZ1(KDM_FIELD_DEF)});
  key(ulz1, "KEYVRSTA", {"REDBROJ", "KOLONA"}, Dup, "ULZ1:KeyVrsta");

  auto& zap = b.keyed("ZAP2004", "ZAP", {KDM_FIELDS_ZAP2004(KDM_FIELD_DEF)});
  zap.neverCreated = true;
  key(zap, "KEYOSOBA", {"JMBG"}, Dup, "ZAP:KEYOSOBA");
  key(zap, "KEYRBRFIRME", {"REDBROJ", "JMBG", "DODANA"}, Dup | ExcludeEmpty, "ZAP:KEYRBRFIRME");
  key(zap, "KEYPREZIME", {"PREZIME"}, Dup, "ZAP:KEYPREZIME");

  b.text("TBVALTA", "VAL", "TBVALTA.TXT", {KDM_FIELDS_TBVALTA(KDM_FIELD_DEF)});
  b.text("TBVALTA1", "TBR", "TBVALTA1.TXT", {KDM_FIELDS_TBVALTA1(KDM_FIELD_DEF)});
  for (char t : std::string("03579"))
    b.text(std::string("TBSLOG") + t, std::string("SL") + t, std::string("TBSLOG") + t + ".TXT",
           {KDM_FIELDS_TBVALTA(KDM_FIELD_DEF)});
  b.text("TBIZLAZ2", "ULZ11", "TBIZLAZ2.TXT", {KDM_FIELDS_TBIZLAZ2(KDM_FIELD_DEF)});
  b.text("TEKSTDAT", "TXT", "TEKSTDAT.TXT", {KDM_FIELDS_TEKSTDAT(KDM_FIELD_DEF)});

  return std::move(b.labels);
}

std::vector<RelationDef> buildRelations() {
  auto rel = [](std::string parent, std::vector<std::string> pf, std::string child, std::vector<std::string> cf,
                std::string childKey, bool cascade) {
    RelationDef r;
    const LabelDef* p = findLabel(parent);
    const LabelDef* c = findLabel(child);
    for (auto& f : pf) r.parentFields.push_back(field(*p, f));
    for (auto& f : cf) r.childFields.push_back(field(*c, f));
    r.parent = std::move(parent);
    r.child = std::move(child);
    r.childKey = std::move(childKey);
    r.cascadeDelete = cascade;
    return r;
  };
  return {
      rel("TBPOSLOD", {"REDBROJ"}, "TBZAPOSL", {"REDBROJ"}, "KEYRBRFIRME", true),
      rel("TBOBRAZA", {"KONVEZA"}, "TBOSIGUR", {"KONVEZA"}, "KEYOBRGODMJE", true),
      rel("TBZAPOSL", {"JMBG"}, "TBOSIGUR", {"JMBG"}, "KEYJMBG", false),
      rel("TBVRSOBV", {"SIFRA"}, "VEZNATAB", {"VOB"}, "KEYVOB_VOI", false),
      rel("TBVRSOBV", {"SIFRA"}, "STABLO02", {"VOB"}, "KEYVOB_VOI", false),
      rel("TBVRSUPL", {"SIFRA"}, "VEZNATAB", {"VOI"}, "KEYVOI_OO", false),
      rel("TBOSNOBR", {"SIFRA"}, "VEZNATAB", {"OO"}, "KEYOO_VOB", false),
      rel("STABLO02", {"VOB", "VOI"}, "STABLO03", {"VOB", "VOI"}, "KEYOO", false),
      rel("TBPOPGRE", {"REDBROJ"}, "TBGRESKE", {"TIP"}, "KEYTIP", false),
      rel("TBIZLAZ", {"REDBROJ"}, "TBIZLAZ1", {"REDBROJ"}, "KEYVRSTA", false),
  };
}

}  // namespace

int LabelDef::fieldIndex(const std::string& name) const {
  std::string_view n = name;
  std::string pre = prefix + ":";
  if (n.size() > pre.size() && upper(n.substr(0, pre.size())) == pre) n.remove_prefix(pre.size());
  for (std::size_t i = 0; i < fields.size(); ++i)
    if (collate(fields[i].name, n) == 0) return static_cast<int>(i);
  return -1;
}

const KeyDef* LabelDef::key(const std::string& name) const {
  std::string_view n = name;
  std::string pre = prefix + ":";
  if (n.size() > pre.size() && upper(n.substr(0, pre.size())) == pre) n.remove_prefix(pre.size());
  for (auto& k : keys)
    if (collate(k.name, n) == 0) return &k;
  return nullptr;
}

const Validation* LabelDef::validation(int field) const {
  for (auto& v : validations)
    if (v.field == field) return &v;
  return nullptr;
}

const KeyDef* LabelDef::primaryKey() const {
  for (auto& k : keys)
    if (k.primary) return &k;
  return nullptr;
}

int LabelDef::lineWidth() const {
  int w = 0;
  for (auto& f : fields) w += f.width;
  return w;
}

std::vector<std::size_t> LabelDef::widths() const {
  std::vector<std::size_t> w;
  for (auto& f : fields) w.push_back(static_cast<std::size_t>(f.width));
  return w;
}

const std::vector<LabelDef>& catalogue() {
  static const std::vector<LabelDef> all = build();
  return all;
}

const std::vector<RelationDef>& relations() {
  static const std::vector<RelationDef> all = buildRelations();
  return all;
}

const LabelDef* findLabel(const std::string& label) {
  for (auto& l : catalogue())
    if (collate(l.label, label) == 0) return &l;
  return nullptr;
}

}  // namespace kdm
