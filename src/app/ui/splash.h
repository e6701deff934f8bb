// The splash window: the program's picture and one line of text, shown as
// the frame opens. It closes after five seconds, on a click, when it loses
// the focus, or when the frame closes it at the first menu choice or
// toolbar button.
#pragma once

#include <QWidget>

class QTimer;

namespace kdm {

class Splash : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kTimeoutMs = 5000;
  static constexpr const char* kText = "Priprema i dostava podataka o osiguranicima i plaćenim doprinosima";

  explicit Splash(QWidget* parent = nullptr);
  QTimer* timer() const { return timer_; }

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  bool event(QEvent* event) override;

 private:
  QTimer* timer_;
};

}  // namespace kdm
