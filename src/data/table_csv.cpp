#include "data/table_csv.h"

#include <set>

#include "data/text_label.h"
#include "platform/csv.h"
#include "platform/text.h"

namespace kdm {

Error exportCsv(DataStore& store, const LabelDef& def, const KeyDef* key, std::ostream& out) {
  std::vector<std::string> values;
  for (auto& f : def.fields) values.push_back(f.name);
  out << csvLine(values);
  Record rec(def);
  auto emit = [&] {
    for (int i = 0; i < rec.size(); ++i) values[i] = rec.format(i);
    out << csvLine(values);
  };
  if (def.kind == FileKind::Text) {
    TextLabelFile file(store, def);
    if (Error e = file.openRead()) return e;
    while (file.read(rec)) emit();
    return file.readError();
  }
  RecordFile file(store, def);
  if (Error e = file.open()) return e;
  if (Error e = file.set(key ? key : def.primaryKey(), nullptr)) return e;
  for (;;) {
    Error e = file.next(rec);
    if (e.kind() == ErrorCode::NoMoreRecords) break;
    if (e) return e;
    emit();
  }
  return out ? ok() : makeError(ErrorCode::WriteError);
}

Error CsvRowReader::open(const LabelDef& def, std::string_view csv) {
  if (Error e = checkCsvText(csv)) return e;
  reader_ = std::make_unique<CsvReader>(csv);
  std::vector<std::string> header;
  if (!reader_->next(header)) {
    if (reader_->error()) return reader_->error();
    return makeError(ErrorCode::InvalidInput, "line 1: no header line");
  }
  std::set<int> seen;
  for (auto& name : header) {
    int i = def.fieldIndex(std::string(trim(name)));
    if (i < 0) return makeError(ErrorCode::UnknownField, "line 1: " + def.label + " has no field " + quoteInput(name));
    if (!seen.insert(i).second)
      return makeError(ErrorCode::InvalidInput, "line 1: field " + quoteInput(name) + " is named twice");
    columns_.push_back(i);
  }
  return ok();
}

bool CsvRowReader::next() {
  while (reader_->next(row_)) {
    if (row_.size() == 1 && row_[0].empty()) continue;  // blank line
    if (row_.size() != columns_.size()) {
      error_ = makeError(ErrorCode::InvalidInput, "line " + std::to_string(reader_->line()) + ": " +
                                                      std::to_string(row_.size()) + " fields where the header has " +
                                                      std::to_string(columns_.size()));
      return false;
    }
    return true;
  }
  error_ = reader_->error();
  return false;
}

Error CsvRowReader::apply(Record& rec) const {
  for (std::size_t c = 0; c < columns_.size(); ++c)
    if (Error e = rec.parse(columns_[c], row_[c])) return e;
  return ok();
}

bool CsvRowReader::names(int field) const {
  for (int c : columns_)
    if (c == field) return true;
  return false;
}

std::string CsvRowReader::cell(int field) const {
  for (std::size_t c = 0; c < columns_.size(); ++c)
    if (columns_[c] == field) return row_[c];
  return {};
}

Error CsvRowReader::atLine(const Error& e) const {
  return makeError(e.kind(), "line " + std::to_string(line()) + ": " + e.text);
}

Error importCsv(DataStore& store, const LabelDef& def, std::string_view csv, std::int64_t& stored) {
  stored = 0;
  if (def.kind != FileKind::Keyed)
    return makeError(ErrorCode::InvalidInput, def.label + " is a text file; only keyed files are imported");
  CsvRowReader rows;
  if (Error e = rows.open(def, csv)) return e;
  RecordFile file(store, def);
  if (Error e = file.open()) return e;
  Transaction tx(store.db());
  if (tx.error()) return tx.error();
  Record rec(def);
  while (rows.next()) {
    if (Error e = file.prime(rec)) return rows.atLine(e);
    if (Error e = rows.apply(rec)) return rows.atLine(e);
    if (Error e = file.insert(rec)) return rows.atLine(e);
    ++stored;
  }
  if (rows.error()) return rows.error();
  return tx.commit();
}

}  // namespace kdm
