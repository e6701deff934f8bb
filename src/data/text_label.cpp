#include "data/text_label.h"

#include "platform/files.h"
#include "platform/text.h"

namespace kdm {

TextLabelFile::TextLabelFile(DataStore& store, const LabelDef& def)
    : store_(store), def_(def), widths_(def.widths()) {}

std::string TextLabelFile::path() const { return store_.pathOf(def_.diskName); }

Error TextLabelFile::openRead() { return file_.openRead(path(), true); }
Error TextLabelFile::openAppend() { return file_.openAppend(path()); }
Error TextLabelFile::openEmpty() { return file_.openEmpty(path()); }

bool TextLabelFile::read(Record& rec) {
  if (!file_.readLine(line_)) return false;
  if (!rec.valid()) rec = Record(def_);
  auto values = cutFixed(line_, widths_);
  for (int i = 0; i < rec.size(); ++i) rec.setText(i, std::move(values[i]));
  return true;
}

Error TextLabelFile::append(const Record& rec) {
  std::vector<std::string> values;
  values.reserve(rec.size());
  for (int i = 0; i < rec.size(); ++i) {
    if (Error e = checkFits(rec, i)) return e;
    values.push_back(rec.format(i));
  }
  if (Error e = validateRecord(def_, rec)) return e;
  std::string raw;
  if (!joinFixed(values, widths_, raw)) return makeError(ErrorCode::NotEncodable);
  return file_.appendRaw(raw);
}

std::int64_t countLines(const std::string& path) {
  if (!fileExists(path)) return 0;
  TextFile f;
  if (f.openRead(path, false)) return 0;
  std::int64_t n = 0;
  std::string line;
  while (f.readLine(line)) ++n;
  return n;
}

}  // namespace kdm
