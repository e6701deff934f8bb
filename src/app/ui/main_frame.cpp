#include "app/ui/main_frame.h"

#include <QMdiArea>

namespace kdm {

MainFrame::MainFrame(DataStore& store, QWidget* parent) : QMainWindow(parent), store_(store), area_(new QMdiArea(this)) {
  setWindowTitle(QString::fromUtf8(kCaption));
  setCentralWidget(area_);
  resize(1024, 720);
}

}  // namespace kdm
