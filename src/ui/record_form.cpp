#include "ui/record_form.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QValidator>
#include <QVBoxLayout>

#include "platform/cp1250.h"
#include "platform/text.h"

namespace kdm::ui {

std::string notEncodableMessage(const QString& character) {
  return "Znak \"" + character.toStdString() + "\" ne može se zapisati (nije u kodnoj stranici 1250)";
}

namespace {

// Refuses, as it is typed, text that code page 1250 cannot write, and
// says so on the window's status line.
class Cp1250Validator : public QValidator {
 public:
  Cp1250Validator(Reporter& out, QObject* parent) : QValidator(parent), out_(out) {}
  State validate(QString& input, int&) const override {
    for (QChar c : input) {
      if (c.isSurrogate() || cp1250Byte(c.unicode()) < 0 || c.unicode() < 0x20) {
        out_.beep();
        out_.status(notEncodableMessage(c.isSurrogate() ? QStringLiteral("?") : QString(c)));
        return Invalid;
      }
    }
    return Acceptable;
  }

 private:
  Reporter& out_;
};

QString plain(const QString& prompt) {
  QString s = prompt;
  return s.remove(QLatin1Char('&')).trimmed();
}

}  // namespace

RecordForm::RecordForm(DataStore& store, FormDecl decl, Request request, const Record& record, QWidget* parent)
    : QDialog(parent), store_(store), decl_(std::move(decl)), request_(request), record_(record), reporter_(this) {
  setWindowTitle(decl_.title);
  auto* layout = new QVBoxLayout(this);
  if (!decl_.heading.isEmpty()) {
    auto* heading = new QLabel(decl_.heading, this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    heading->setAlignment(Qt::AlignCenter);
    layout->addWidget(heading);
  }
  std::vector<QFormLayout*> pages;
  QTabWidget* tabs = nullptr;
  if (decl_.pages.size() > 1) {
    tabs = new QTabWidget(this);
    layout->addWidget(tabs);
  }
  for (std::size_t p = 0; p < std::max<std::size_t>(1, decl_.pages.size()); ++p) {
    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    if (tabs) {
      auto* page = new QWidget(tabs);
      page->setLayout(form);
      tabs->addTab(page, decl_.pages[p]);
    } else if (!decl_.group.isEmpty()) {
      auto* box = new QGroupBox(decl_.group, this);
      box->setLayout(form);
      layout->addWidget(box);
    } else {
      layout->addLayout(form);
    }
    pages.push_back(form);
  }

  bound_.reserve(decl_.fields.size());
  QHBoxLayout* row = nullptr;
  QFormLayout* groupForm = nullptr;
  const FormField* previous = nullptr;
  for (const FormField& f : decl_.fields) {
    Bound& b = bound_.emplace_back();
    b.decl = &f;
    b.field = record_.def().fieldIndex(f.field);
    if (!f.picture.empty()) b.picture = parsePicture(f.picture);
    QWidget* w = build(b);
    b.widget = w;
    reporter_.registerField(f.field, w);
    w->setToolTip(f.toolTip);
    w->installEventFilter(this);
    QFormLayout* form = pages[std::min<std::size_t>(static_cast<std::size_t>(f.page), pages.size() - 1)];
    if (f.group.isEmpty()) {
      groupForm = nullptr;
    } else if (!groupForm || !previous || previous->group != f.group || previous->page != f.page) {
      auto* box = new QGroupBox(f.group, this);
      groupForm = new QFormLayout(box);
      groupForm->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      groupForm->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
      form->addRow(box);
    }
    if (groupForm) form = groupForm;
    previous = &f;
    if (f.sameRow && row) {
      int at = row->count() - 1;  // before the stretch
      if (f.prompt.isEmpty()) {
        w->setAccessibleName(f.accessibleName);
      } else {
        auto* label = new QLabel(f.prompt, this);
        label->setBuddy(w);
        w->setAccessibleName(plain(f.prompt));
        row->insertWidget(at++, label);
      }
      row->insertWidget(at, w);
      continue;
    }
    row = new QHBoxLayout;
    row->addWidget(w);
    if (f.describe) {
      b.description = new QLabel(this);
      b.description->setMinimumWidth(fontMetrics().horizontalAdvance(QString(30, QLatin1Char('x'))));
      row->addWidget(b.description);
    }
    row->addStretch(1);
    if (f.kind == FieldKind::Check || f.kind == FieldKind::Radio) {
      form->addRow(row);  // the box or group carries its own text
    } else {
      auto* label = new QLabel(f.prompt, this);
      label->setBuddy(w);
      w->setAccessibleName(plain(f.prompt));
      form->addRow(label, row);
    }
  }

  if (!decl_.note.isEmpty()) {
    auto* box = new QGroupBox(decl_.noteTitle, this);
    auto* text = new QLabel(decl_.note, box);
    text->setWordWrap(true);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    (new QVBoxLayout(box))->addWidget(text);
    layout->addWidget(box);
  }

  statusBar_ = new QStatusBar(this);
  statusBar_->setSizeGripEnabled(false);
  reporter_.setStatusLine(statusBar_);
  buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons_->button(QDialogButtonBox::Ok)->setText(decl_.okText);
  buttons_->button(QDialogButtonBox::Cancel)->setText(decl_.cancelText);
  buttons_->button(QDialogButtonBox::Ok)->setDefault(true);
  buttons_->button(QDialogButtonBox::Ok)->setVisible(request_ != Request::View);
  if (!decl_.helpTopic.isEmpty()) {
    help_ = buttons_->addButton(decl_.helpText.isEmpty() ? QStringLiteral("&Upute") : decl_.helpText,
                                QDialogButtonBox::HelpRole);
    help_->setAutoDefault(false);
    connect(help_, &QPushButton::clicked, this, [this] { emit helpRequested(decl_.helpTopic); });
  }
  connect(buttons_, &QDialogButtonBox::accepted, this, &RecordForm::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &RecordForm::reject);
  layout->addWidget(buttons_);
  layout->addWidget(statusBar_);

  for (const Bound& b : bound_) display(b);
  if (request_ == Request::View || request_ == Request::Delete)
    for (const Bound& b : bound_) b.widget->setEnabled(false);
}

QPushButton* RecordForm::okButton() const { return buttons_->button(QDialogButtonBox::Ok); }

QWidget* RecordForm::build(Bound& b) {
  const FormField& f = *b.decl;
  const QFontMetrics fm(font());
  switch (f.kind) {
    case FieldKind::Edit: {
      auto* edit = new QLineEdit(this);
      int chars = b.picture ? b.picture->width : 20;
      if (b.field >= 0 && record_.def().fields[b.field].isText()) {
        chars = std::min(chars, record_.def().fields[b.field].width);
        edit->setMaxLength(chars);
        edit->setValidator(new Cp1250Validator(reporter_, edit));
      }
      if (b.picture && b.picture->kind == Picture::Kind::Number) edit->setAlignment(Qt::AlignRight);
      edit->setMinimumWidth(fm.horizontalAdvance(QString(std::clamp(chars, 2, 50), QLatin1Char('M'))) * 3 / 4 + 12);
      edit->setReadOnly(f.readOnly);
      return edit;
    }
    case FieldKind::DropList: {
      auto* combo = new QComboBox(this);
      if (f.codes.label.empty()) {
        for (const auto& [shown, stored] : f.choices) {
          combo->addItem(shown);
          b.values.push_back(stored);
        }
      } else {
        RecordFile codes(store_, f.codes.label);
        if (!codes.open() && !codes.set(f.codes.key)) {
          const int shown = codes.def().fieldIndex(f.codes.shown), stored = codes.def().fieldIndex(f.codes.stored);
          const int detail = f.codes.detail.empty() ? -1 : codes.def().fieldIndex(f.codes.detail);
          Record r;
          while (shown >= 0 && stored >= 0 && !codes.next(r)) {
            QString text = QString::fromStdString(r.format(shown));
            if (detail >= 0) text += QStringLiteral("  ") + QString::fromStdString(r.format(detail));
            combo->addItem(text);
            b.values.push_back(r.format(stored));
          }
        }
      }
      combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
      connect(combo, &QComboBox::activated, this, [this, &b] {
        if (!take(b)) return;
        if (onChange) onChange(b.decl->field, record_);
        for (const Bound& o : bound_) display(o);
      });
      return combo;
    }
    case FieldKind::Radio: {
      auto* group = new QGroupBox(f.prompt, this);
      group->setAccessibleName(plain(f.prompt));
      auto* box = new QHBoxLayout(group);
      auto* buttons = new QButtonGroup(group);
      for (std::size_t i = 0; i < f.choices.size(); ++i) {
        auto* radio = new QRadioButton(f.choices[i].first, group);
        buttons->addButton(radio, static_cast<int>(i));
        box->addWidget(radio);
        b.values.push_back(f.choices[i].second);
      }
      return group;
    }
    case FieldKind::Check: return new QCheckBox(f.prompt, this);
  }
  return nullptr;
}

void RecordForm::setRecord(const Record& record) {
  record_ = record;
  for (const Bound& b : bound_) display(b);
}

QString RecordForm::description(const std::string& field) const {
  for (const Bound& b : bound_)
    if (b.decl->field == field && b.description) return b.description->text();
  return {};
}

void RecordForm::display(const Bound& b) {
  if (b.description) b.description->setText(b.decl->describe(record_));
  if (b.field < 0) return;
  const std::string value = record_.format(b.field);
  switch (b.decl->kind) {
    case FieldKind::Edit: {
      auto* edit = static_cast<QLineEdit*>(b.widget);
      if (b.picture && b.picture->kind != Picture::Kind::Text)
        edit->setText(formatField(record_, b.field, b.picture));
      else
        edit->setText(QString::fromStdString(value));
      break;
    }
    case FieldKind::DropList: {
      auto* combo = static_cast<QComboBox*>(b.widget);
      // The record keeps text without its trailing blanks; a value may be
      // declared with them (">0  ").
      auto it = std::find_if(b.values.begin(), b.values.end(),
                             [&](const std::string& v) { return trimRight(v) == value; });
      combo->setCurrentIndex(it == b.values.end() ? -1 : static_cast<int>(it - b.values.begin()));
      break;
    }
    case FieldKind::Radio: {
      auto* group = b.widget->findChild<QButtonGroup*>();
      auto it = std::find(b.values.begin(), b.values.end(), value);
      if (it != b.values.end()) group->button(static_cast<int>(it - b.values.begin()))->setChecked(true);
      break;
    }
    case FieldKind::Check:
      static_cast<QCheckBox*>(b.widget)->setChecked(value == b.decl->checkedValue);
      break;
  }
}

bool RecordForm::take(const Bound& b) {
  if (b.field < 0 || b.decl->readOnly) return true;
  const FieldDef& def = record_.def().fields[b.field];
  std::string text;
  switch (b.decl->kind) {
    case FieldKind::Edit: {
      QString typed = static_cast<QLineEdit*>(b.widget)->text();
      if (!b.picture || b.picture->kind == Picture::Kind::Text || def.isText()) {
        text = typed.toStdString();
        break;
      }
      if (b.picture->kind == Picture::Kind::Date) {
        auto d = parseDate(*b.picture, typed.toStdString());
        if (!d) {
          reporter_.message("Neispravan datum: " + typed.toStdString());
          reporter_.focus(b.decl->field);
          return false;
        }
        record_.setDate(b.field, *d);
        return true;
      }
      auto n = parseNumber(*b.picture, typed.toStdString());
      if (!n) {
        reporter_.message("Neispravan broj: " + typed.toStdString());
        reporter_.focus(b.decl->field);
        return false;
      }
      text = def.type == FieldType::Decimal ? n->toString(def.scale) : std::to_string(n->units() / Decimal::kUnit);
      break;
    }
    case FieldKind::DropList: {
      int i = static_cast<QComboBox*>(b.widget)->currentIndex();
      if (i < 0) return true;
      text = b.values[static_cast<std::size_t>(i)];
      break;
    }
    case FieldKind::Radio: {
      int i = b.widget->findChild<QButtonGroup*>()->checkedId();
      if (i < 0) return true;
      text = b.values[static_cast<std::size_t>(i)];
      break;
    }
    case FieldKind::Check:
      text = static_cast<QCheckBox*>(b.widget)->isChecked() ? b.decl->checkedValue : b.decl->uncheckedValue;
      break;
  }
  if (Error e = record_.parse(b.field, text)) {
    reporter_.message(e.text);
    reporter_.focus(b.decl->field);
    return false;
  }
  return true;
}

bool RecordForm::takeAll() {
  for (const Bound& b : bound_)
    if (!take(b)) return false;
  return true;
}

bool RecordForm::leave(Bound& b) {
  if (!take(b)) return false;
  if (b.decl->onLeave && !b.decl->onLeave(record_, reporter_)) return false;
  return true;
}

bool RecordForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::FocusOut || leaving_ || request_ == Request::View || request_ == Request::Delete)
    return QDialog::eventFilter(watched, event);
  auto reason = static_cast<QFocusEvent*>(event)->reason();
  // Only moving on within the form checks: not a click on Cancel, not
  // another window or a popup taking the focus.
  QWidget* next = QApplication::focusWidget();
  bool within = next && next->window() == this && next != buttons_->button(QDialogButtonBox::Cancel);
  if (!within || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
    return QDialog::eventFilter(watched, event);
  for (Bound& b : bound_) {
    if (b.widget != watched && !b.widget->isAncestorOf(qobject_cast<QWidget*>(watched))) continue;
    leaving_ = true;
    // A check that named no field keeps the user in this one.
    if (!leave(b) && QApplication::focusWidget() == next) b.widget->setFocus(Qt::OtherFocusReason);
    leaving_ = false;
    break;
  }
  return QDialog::eventFilter(watched, event);
}

void RecordForm::accept() {
  if (request_ == Request::View) return reject();
  if (request_ == Request::Delete && !reporter_.ask(QString::fromUtf8(kDeleteQuestion))) return reject();
  if (request_ != Request::Delete && !takeAll()) return;
  // A field's check holds on Spremi too, also for a field never left.
  if (request_ != Request::Delete)
    for (Bound& b : bound_)
      if (b.decl->onLeave && !b.decl->readOnly && !b.decl->onLeave(record_, reporter_)) return;
  if (onSave && !onSave(record_, reporter_)) return;
  response_ = Response::Completed;
  QDialog::accept();
}

void RecordForm::reject() {
  response_ = Response::Cancelled;
  QDialog::reject();
}

}  // namespace kdm::ui
