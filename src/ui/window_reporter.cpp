#include "ui/window_reporter.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QProgressBar>
#include <QStatusBar>

#include "platform/text.h"

namespace kdm::ui {
namespace {
WindowReporter::MessageHook& hookSlot() {
  static WindowReporter::MessageHook hook;
  return hook;
}
WindowReporter::QuestionHook& questionSlot() {
  static WindowReporter::QuestionHook hook;
  return hook;
}
}  // namespace

void WindowReporter::setQuestionHook(QuestionHook hook) { questionSlot() = std::move(hook); }
void WindowReporter::setMessageHook(MessageHook hook) { hookSlot() = std::move(hook); }

bool WindowReporter::ask(const QString& question) {
  if (questionSlot()) return questionSlot()(window_, question);
  QWidget* parent = window_ ? window_->window() : nullptr;
  QMessageBox box(QMessageBox::Question, parent ? parent->windowTitle() : QString(), question,
                  QMessageBox::Yes | QMessageBox::No, parent);
  box.button(QMessageBox::Yes)->setText(QStringLiteral("&Da"));
  box.button(QMessageBox::No)->setText(QStringLiteral("&Ne"));
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

void WindowReporter::message(const std::string& text) {
  QString t = QString::fromStdString(text);
  if (hookSlot()) {
    hookSlot()(window_, t);
    return;
  }
  QWidget* parent = window_ ? window_->window() : nullptr;
  QMessageBox box(QMessageBox::Information, parent ? parent->windowTitle() : QString(), t, QMessageBox::Ok, parent);
  box.exec();
}

void WindowReporter::status(const std::string& text) {
  QString t = QString::fromStdString(text);
  if (statusBar_) statusBar_->showMessage(t);
  if (statusLabel_) statusLabel_->setText(t);
}

void WindowReporter::progress(std::int64_t done, std::int64_t total) {
  if (!progress_) return;
  // QProgressBar holds ints; scale large totals down.
  int shift = 0;
  while ((total >> shift) > 1'000'000'000) ++shift;
  progress_->setRange(0, static_cast<int>(total >> shift));
  progress_->setValue(static_cast<int>(done >> shift));
  progress_->setVisible(total > 0 && done < total);
}

void WindowReporter::focus(const std::string& field) {
  if (QWidget* w = fieldWidget(field)) w->setFocus(Qt::OtherFocusReason);
}

void WindowReporter::beep() { QApplication::beep(); }

std::string WindowReporter::fieldKey(const std::string& field) {
  auto colon = field.find(':');
  return upper(colon == std::string::npos ? field : field.substr(colon + 1));
}

void WindowReporter::registerField(const std::string& field, QWidget* widget) { fields_[fieldKey(field)] = widget; }

QWidget* WindowReporter::fieldWidget(const std::string& field) const {
  auto it = fields_.find(fieldKey(field));
  return it == fields_.end() ? nullptr : it->second.data();
}

}  // namespace kdm::ui
