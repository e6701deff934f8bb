// A record form from its declaration: prompts and fields declared once,
// bound to a record of the catalogue, laid out with the prompt as each
// field's buddy (its accessible name, its mnemonic from the "&").
//
// A field takes what is typed when the user leaves it: text that code page
// 1250 cannot write is refused as it is typed, a number or date the
// picture cannot read sends the user back, and then the field's leave
// hook runs a check of the core; when that fails the core's message is
// shown and the cursor goes to the field the core names. OK (Enter) takes
// every field, runs the fields' leave checks again and calls the save hook, which calls the core's save with
// the record; the form closes only when it succeeds. Cancel (Esc) closes
// and saves nothing, and so does a form opened to view (no OK button).
#pragma once

#include <QDialog>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "data/record_layer.h"
#include "ui/declarations.h"
#include "ui/window_reporter.h"

class QDialogButtonBox;
class QLabel;
class QStatusBar;

namespace kdm::ui {

enum class FieldKind { Edit, DropList, Radio, Check };

// A drop list over a code table: the records of `label` in the order of
// `key`, showing `shown` (and `detail` after it, when given), storing
// `stored` into the form's field.
struct CodeList {
  std::string label, key, shown, stored, detail;
};

struct FormField {
  QString prompt;          // "&Naziv:"
  std::string field;       // "NAZIV", of the form's record
  std::string picture;     // "s50", "N3_", "D06."
  QString toolTip;
  FieldKind kind = FieldKind::Edit;
  CodeList codes;                                         // DropList over a code table
  // Radio, and a DropList without a code table: text shown, value stored.
  std::vector<std::pair<QString, std::string>> choices;
  std::string checkedValue = "1", uncheckedValue = "0";   // Check
  int page = 0;
  // Consecutive fields with the same group sit in one frame with this title.
  QString group;
  // Placed in the row of the field before it, after its own prompt when
  // it has one; without a prompt its accessible name is `accessibleName`.
  bool sameRow = false;
  QString accessibleName;
  bool readOnly = false;
  // Run on leaving the field with the record as typed so far; false sends
  // the user back (the check reported why and which field).
  std::function<bool(const Record&, Reporter&)> onLeave;
  // A text shown beside the field (the description of a code), worked out
  // again whenever the form shows the record.
  std::function<QString(const Record&)> describe;
};

struct FormDecl {
  QString title;
  std::string label;
  std::vector<QString> pages;  // tab captions; none or one: no tabs
  std::vector<FormField> fields;
  QString okText = QStringLiteral("&U redu");
  QString cancelText = QStringLiteral("&Odustani");
  // The frame around the fields of a form without pages; empty for none.
  QString group;
  QString heading;               // above the fields
  QString noteTitle, note;       // a frame of explanation below them
  // With a topic the form has a help button ("&Upute", or `helpText`)
  // asking for it.
  QString helpText, helpTopic;
};

// Asked before a form opened to delete deletes.
inline constexpr const char* kDeleteQuestion = "Jeste li sigurni da želite obrisati ovaj zapis?";

// What the form was opened for, and how it ended.
enum class Request { View = 0, Insert = 1, Change = 2, Delete = 3 };
enum class Response { None, Completed, Cancelled };

class RecordForm : public QDialog {
  Q_OBJECT

 public:
  RecordForm(DataStore& store, FormDecl decl, Request request, const Record& record, QWidget* parent = nullptr);

  Request request() const { return request_; }
  Response response() const { return response_; }
  // The record with what was taken from the fields so far.
  const Record& record() const { return record_; }
  // Shows `record` in the fields (after a hook changed it).
  void setRecord(const Record& record);
  WindowReporter& reporter() { return reporter_; }
  // The widget of a field, "POS:NAZIV" or "NAZIV".
  QWidget* fieldWidget(const std::string& field) const { return reporter_.fieldWidget(field); }
  QPushButton* okButton() const;
  QPushButton* helpButton() const { return help_; }
  // The text shown beside a field by its describe hook.
  QString description(const std::string& field) const;

  // Saves the record through the core; true when stored. Without it OK
  // only takes the fields.
  std::function<bool(Record&, Reporter&)> onSave;
  // A field took a new value (a choice in a drop list sets more than its
  // field); the hook may change the record, the form shows it again.
  std::function<void(const std::string& field, Record&)> onChange;

  // Takes every field into the record; false (reported) at the first one
  // that cannot be read.
  bool takeAll();

 signals:
  void helpRequested(const QString& topic);

 public slots:
  void accept() override;
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Bound {
    const FormField* decl;
    int field;
    std::optional<Picture> picture;
    QWidget* widget;
    QLabel* description = nullptr;
    std::vector<std::string> values;  // drop list and radio: stored values by index
  };
  QWidget* build(Bound& b);
  void display(const Bound& b);
  bool take(const Bound& b);
  bool leave(Bound& b);

  DataStore& store_;
  FormDecl decl_;
  Request request_;
  Response response_ = Response::None;
  Record record_;
  std::vector<Bound> bound_;
  QDialogButtonBox* buttons_ = nullptr;
  QPushButton* help_ = nullptr;
  QStatusBar* statusBar_ = nullptr;
  WindowReporter reporter_;
  bool leaving_ = false;
};

// The message for typed text that code page 1250 cannot write.
std::string notEncodableMessage(const QString& character);

}  // namespace kdm::ui
