#include "app/ui/window_positions.h"

#include <QDir>
#include <QRect>
#include <QWidget>

namespace kdm {
namespace {

// A position kept by a frame that was maximised is its normal one, so the
// window comes back at a usable size when it is restored again.
QRect normalRect(const QWidget& w) {
  if (w.isWindow() && (w.isMaximized() || w.isMinimized())) return w.normalGeometry();
  return w.geometry();
}

}  // namespace

WindowPositions::WindowPositions(const QString& dataDir)
    : settings_(QDir(dataDir).filePath(QString::fromLatin1(kFileName)), QSettings::IniFormat) {}

bool WindowPositions::restore(QWidget& window, const QString& section) {
  settings_.beginGroup(section);
  bool ok[4] = {};
  const int x = settings_.value("X").toInt(&ok[0]);
  const int y = settings_.value("Y").toInt(&ok[1]);
  const int width = settings_.value("Width").toInt(&ok[2]);
  const int height = settings_.value("Height").toInt(&ok[3]);
  const bool maximized = settings_.value("Maximized").toBool();
  settings_.endGroup();
  if (!(ok[0] && ok[1] && ok[2] && ok[3]) || width <= 0 || height <= 0) return false;
  if (window.isWindow()) {
    window.resize(width, height);
    window.move(x, y);
    if (maximized) window.setWindowState(window.windowState() | Qt::WindowMaximized);
  } else {
    window.setGeometry(x, y, width, height);
  }
  return true;
}

void WindowPositions::save(const QWidget& window, const QString& section) {
  const QRect r = window.isWindow() ? QRect(window.isMaximized() || window.isMinimized() ? window.normalGeometry().topLeft()
                                                                                         : window.pos(),
                                            normalRect(window).size())
                                    : normalRect(window);
  settings_.beginGroup(section);
  settings_.setValue("X", r.x());
  settings_.setValue("Y", r.y());
  settings_.setValue("Width", r.width());
  settings_.setValue("Height", r.height());
  if (window.isWindow()) settings_.setValue("Maximized", window.isMaximized());
  settings_.endGroup();
  settings_.sync();
}

}  // namespace kdm
