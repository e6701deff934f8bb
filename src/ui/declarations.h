// What list windows and record forms are made of: declarations only. A
// window is a value of these types plus the few hooks for its own rules;
// the machinery (RecordListModel, ListWindow, RecordForm) does the rest.
#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "data/picture.h"
#include "data/record.h"

namespace kdm::ui {

// A column of a list: header, the field shown (name without prefix) and
// its display picture, or a formatter of its own for a computed column.
struct Column {
  QString header;
  std::string field;
  std::string picture;  // "N4_", "s60"; empty shows the field as it is
  int width = 0;        // characters; 0 takes the picture's width
  std::function<QString(const Record&)> format;
};

// One field's value as a picture shows it (without the padding blanks),
// or as it is when there is no picture.
QString formatField(const Record& rec, int field, const std::optional<Picture>& picture);

// The character width a column takes.
int columnChars(const Column& column);

}  // namespace kdm::ui
