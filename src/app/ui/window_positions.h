// Where the windows were: the size and position of the frame (section
// "Main") and of every child (the section of its procedure) in
// "kd_2005.INI" in the data directory, saved when a window closes and
// restored when it opens again.
#pragma once

#include <QSettings>
#include <QString>

class QWidget;

namespace kdm {

class WindowPositions {
 public:
  static constexpr const char* kFileName = "kd_2005.INI";
  static constexpr const char* kFrameSection = "Main";

  explicit WindowPositions(const QString& dataDir);

  // False, and the window left as it is, when the section holds no
  // complete position.
  bool restore(QWidget& window, const QString& section);
  // Writes at once, so a run that ends abruptly keeps what was saved.
  void save(const QWidget& window, const QString& section);

  QString fileName() const { return settings_.fileName(); }

 private:
  QSettings settings_;
};

}  // namespace kdm
