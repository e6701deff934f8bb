// The windows of the register in the frame's menu.
#include "app/ui/main_frame.h"
#include "app/ui/windows.h"
#include "register/ui/obligor_windows.h"
#include "ui/list_window.h"

namespace kdm {

void registerRegisterWindows(MainFrame& frame) {
  frame.registerWindow(QStringLiteral("BrowseFirme"), [](MainFrame& f) -> QWidget* {
    ui::ListWindow* w = ui::openBrowseFirme(f.store(), f.globals());
    QObject::connect(w, &ui::ListWindow::helpRequested, w, [w](const QString& topic) { MainFrame::of(w)->showHelp(topic); });
    return w;
  });
}

}  // namespace kdm
