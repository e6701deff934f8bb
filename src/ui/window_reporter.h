// The Reporter of a window: what the core reports, shown in that window.
//
// A message is a modal box with an OK button parented to the window, a
// status text goes to the window's own status line, progress to its
// progress bar, and focus("POS:NAZIV") to the widget the window registered
// under that field name. Tests install a message hook, so messages are
// collected instead of waiting for a click.
#pragma once

#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QStatusBar>
#include <QString>
#include <QWidget>

#include <functional>
#include <map>
#include <string>

#include "platform/report.h"

namespace kdm::ui {

class WindowReporter : public Reporter {
 public:
  explicit WindowReporter(QWidget* window) : window_(window) {}

  void message(const std::string& text) override;
  void status(const std::string& text) override;
  void progress(std::int64_t done, std::int64_t total) override;
  void focus(const std::string& field) override;
  void beep() override;
  // A Yes/No question; true for Yes.
  bool confirm(const std::string& question);

  void setStatusLine(QStatusBar* bar) { statusBar_ = bar; }
  void setStatusLine(QLabel* label) { statusLabel_ = label; }
  void setProgressBar(QProgressBar* bar) { progress_ = bar; }
  // "POS:NAZIV" and "NAZIV" both name the field; case does not matter.
  void registerField(const std::string& field, QWidget* widget);
  QWidget* fieldWidget(const std::string& field) const;

  // Every window's messages go to `hook` in place of a message box while
  // it is set; an empty function restores the boxes.
  using MessageHook = std::function<void(QWidget* window, const QString& text)>;
  static void setMessageHook(MessageHook hook);
  // Questions go to `hook`, which answers them, while it is set.
  using ConfirmHook = std::function<bool(QWidget* window, const QString& question)>;
  static void setConfirmHook(ConfirmHook hook);

 private:
  static std::string fieldKey(const std::string& field);

  QPointer<QWidget> window_;
  QPointer<QStatusBar> statusBar_;
  QPointer<QLabel> statusLabel_;
  QPointer<QProgressBar> progress_;
  std::map<std::string, QPointer<QWidget>> fields_;
};

}  // namespace kdm::ui
