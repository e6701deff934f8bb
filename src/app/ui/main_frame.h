// The main frame: a multiple-document window whose children are the
// windows of the menu functions, each with its own record buffers.
#pragma once

#include <QMainWindow>

#include "app/globals.h"
#include "data/record_layer.h"

class QMdiArea;

namespace kdm {

class MainFrame : public QMainWindow {
  Q_OBJECT
 public:
  static constexpr const char* kCaption = "VALTA - OBRAZAC K-Dm  ver. 2005.1.0";

  explicit MainFrame(DataStore& store, QWidget* parent = nullptr);

  DataStore& store() { return store_; }
  Globals& globals() { return GLO; }
  QMdiArea* area() const { return area_; }

 private:
  DataStore& store_;
  Globals GLO;
  QMdiArea* area_;
};

}  // namespace kdm
