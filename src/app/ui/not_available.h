// The child window of a menu function whose window this version does not
// have yet: it names the function and says plainly that it is not
// available, so the menu is whole while the windows arrive one by one.
#pragma once

#include <QWidget>

namespace kdm {

class NotAvailableWindow : public QWidget {
  Q_OBJECT
 public:
  static constexpr const char* kMessage = "Ova funkcija još nije dostupna u ovoj verziji programa.";

  NotAvailableWindow(const QString& title, const QString& procedure, QWidget* parent = nullptr);
};

}  // namespace kdm
