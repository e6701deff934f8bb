// The file catalogue: every label of the program declared once.
//
// A label is a record file: a keyed label is a table of kdm.db, a text
// label a fixed-width CP1250 file in the data directory. Each declaration
// names the disk file, the prefix of its record buffer, the fields in
// declaration order with their types and widths, the keys with their
// components, attributes and descriptions, the defaults a new record gets,
// the validations the record layer applies before storing, and whether the
// program ever creates it. Relations between labels are declared here too.
// Schema creation, the record layer, CSV export and import and the record
// layer's messages are all driven by these declarations; nothing else in
// the program repeats them.
//
// Two prefixes on one file (RAD and RAD1 on TBZAPOSL, OSI and RAD2 on
// TBOSIGUR) are two labels whose `table` is the same: separate buffers and
// positions, one set of data.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kdm {

enum class FieldType { String, Short, Long, Date, Decimal, Memo };

struct FieldDef {
  std::string name;     // without prefix: "NAZIV"
  FieldType type;
  int width;            // characters of String/Memo; precision of Decimal
  int scale;            // decimals of Decimal

  bool isText() const { return type == FieldType::String || type == FieldType::Memo; }
};

struct KeyDef {
  std::string name;                    // without prefix: "KEYNAZIV"
  std::vector<int> components;         // field indexes, all ascending
  bool unique = false;
  bool excludeEmpty = false;
  bool primary = false;
  bool autoNumber = false;             // its single numeric component
  std::string description;
};

// Before a record is stored the field's value (a number, or a text taken
// as a number; a decimal in ten-thousandths) must lie in [min, max];
// `title` names it in the message.
struct Validation {
  int field;
  std::int64_t min, max;
  std::string title;

  bool allows(std::int64_t value) const { return min <= value && value <= max; }
};

// An obligor number: three digits of every form identifier and file name.
inline constexpr int kLowestObligor = 1, kHighestObligor = 999;

struct DefaultValue {
  int field;
  std::string value;  // as text; numbers in decimal notation
};

enum class FileKind { Keyed, Text };

struct LabelDef {
  std::string label;     // "TBPOSLOD", or the view's own name "RAD1"
  std::string prefix;    // "POS"
  std::string diskName;  // "TBPOSLOD.DAT"
  std::string table;     // SQLite table (keyed) shared by views
  FileKind kind = FileKind::Keyed;
  bool neverCreated = false;  // supplied from outside; only read
  std::vector<FieldDef> fields;
  std::vector<KeyDef> keys;
  std::vector<DefaultValue> defaults;
  std::vector<Validation> validations;

  bool isView() const { return label != table; }
  int fieldIndex(const std::string& name) const;  // -1 when none
  const KeyDef* key(const std::string& name) const;  // by name, with or without prefix
  const KeyDef* primaryKey() const;
  // The validation of a field; nullptr when it has none.
  const Validation* validation(int field) const;
  // Total characters of a text label's line.
  int lineWidth() const;
  std::vector<std::size_t> widths() const;
};

struct RelationDef {
  std::string parent, child;          // labels
  std::vector<int> parentFields, childFields;
  std::string childKey;               // the child's key the link reads through
  bool cascadeDelete = false;
};

const std::vector<LabelDef>& catalogue();
const std::vector<RelationDef>& relations();
// nullptr when there is no such label (case-insensitive).
const LabelDef* findLabel(const std::string& label);

}  // namespace kdm
