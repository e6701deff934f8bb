#include "ui/declarations.h"

#include "platform/text.h"

namespace kdm::ui {

QString formatField(const Record& rec, int field, const std::optional<Picture>& picture) {
  if (field < 0) return {};
  if (!picture) return QString::fromStdString(rec.format(field));
  std::string s;
  switch (rec.def().fields[field].type) {
    case FieldType::String:
    case FieldType::Memo: s = format(*picture, std::string_view(rec.text(field))); break;
    case FieldType::Short:
    case FieldType::Long: s = format(*picture, rec.integer(field)); break;
    case FieldType::Decimal: s = format(*picture, rec.decimal(field)); break;
    case FieldType::Date: s = format(*picture, rec.date(field)); break;
  }
  return QString::fromStdString(s).trimmed();
}

int columnChars(const Column& column) {
  if (column.width > 0) return column.width;
  if (auto p = parsePicture(column.picture)) return p->width;
  return 10;
}

}  // namespace kdm::ui
