#include "app/ui/desktop.h"

#include <QApplication>
#include <QIcon>
#include <QMainWindow>
#include <QMdiArea>
#include <QMessageBox>

#include <cstdlib>
#include <iostream>

#include "app/ui/main_frame.h"
#include "app/ui/windows.h"
#include "app/ui/resources.h"
#include "data/seed.h"

namespace kdm {

bool displayAvailable(std::string& why) {
  auto set = [](const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
  };
  if (set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY")) return true;
  why = "kdm: there is no display to open the windows on (DISPLAY is not set); "
        "the command line works without one: kdm --help";
  return false;
}

int runDesktop(const std::string& dataDir, int argc, char** argv) {
  std::string why;
  if (!displayAvailable(why)) {
    std::cerr << why << '\n';
    return 1;
  }
  // Start-up in order: the application, the store with every table, then
  // the frame, which opens the parameters file and keeps it open. The frame
  // goes before the store at the end, so every window has released its
  // files when the store closes.
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("kdm"));
  loadResources();
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/kdm/kdm.png")));
  InitResult created;
  std::unique_ptr<DataStore> store;
  Error e = initDataDirectory(dataDir, created);
  if (!e) e = DataStore::open(dataDir, false, store);
  if (e) {
    QMessageBox::critical(nullptr, QStringLiteral("kdm"), QString::fromStdString(e.text));
    return 1;
  }
  MainFrame frame(*store);
  registerAllWindows(frame);
  frame.show();
  return app.exec();
}

}  // namespace kdm
