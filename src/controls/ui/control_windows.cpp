// The windows of the control matrix in the frame's menu.
#include <QPointer>

#include <memory>

#include "app/ui/main_frame.h"
#include "app/ui/windows.h"
#include "controls/ui/control_row_form.h"
#include "controls/ui/stablo.h"
#include "ui/printing_later.h"
#include "ui/window_reporter.h"

namespace kdm {

void registerControlWindows(MainFrame& frame) {
  frame.registerWindow(QStringLiteral("Stablo"), [](MainFrame& f) -> QWidget* {
    DataStore& store = f.store();
    Globals& GLO = f.globals();
    // The window the form and the messages belong to, known once it exists.
    auto self = std::make_shared<QPointer<QWidget>>();
    auto openRow = [&store, &GLO, self](Stablo::Request request) {
      ui::WindowReporter out(*self);
      return ui::runControlRowForm(store, GLO, static_cast<ui::Request>(request), out, *self);
    };
    auto print = [self] { ui::WindowReporter(*self).message(ui::kPrintingLater); };
    auto* w = new Stablo(store, GLO, openRow, print);
    *self = w;
    return w;
  });
}

}  // namespace kdm
