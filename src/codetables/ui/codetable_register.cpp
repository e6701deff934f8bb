// The windows of the code tables in the frame's menu.
#include "app/ui/main_frame.h"
#include "app/ui/windows.h"
#include "codetables/ui/codetable_windows.h"

namespace kdm {

namespace {

// The "Upute" of a list and of its forms open the frame's help.
QWidget* withHelp(ui::ListWindow* w) {
  auto show = [w](const QString& topic) { MainFrame::of(w)->showHelp(topic); };
  QObject::connect(w, &ui::ListWindow::helpRequested, w, show);
  return w;
}

}  // namespace

void registerCodeTableWindows(MainFrame& frame) {
  const QString topic = QStringLiteral("~T4.0");
  frame.registerWindow(QStringLiteral("BrowseVrsteObveznika"),
                       [](MainFrame& f) { return withHelp(ui::openBrowseVrsteObveznika(f.store())); }, topic);
  frame.registerWindow(QStringLiteral("BrowseVrsteUplata"),
                       [](MainFrame& f) { return withHelp(ui::openBrowseVrsteUplata(f.store())); }, topic);
  frame.registerWindow(QStringLiteral("BrowseOsnovObracuna"),
                       [](MainFrame& f) { return withHelp(ui::openBrowseOsnovObracuna(f.store())); }, topic);
  frame.registerWindow(QStringLiteral("BrowseOznakaStaza"),
                       [](MainFrame& f) { return withHelp(ui::openBrowseOznakaStaza(f.store())); }, topic);
  frame.registerWindow(QStringLiteral("BrowseStope"),
                       [](MainFrame& f) { return withHelp(ui::openBrowseStope(f.store())); }, topic);
  frame.registerWindow(QStringLiteral("BrowseOpcine"),
                       [](MainFrame& f) { return withHelp(ui::openBrowseOpcine(f.store(), f.globals())); }, topic);
}

}  // namespace kdm
