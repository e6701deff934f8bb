// The main frame: a multiple-document window whose children are the
// windows of the menu functions, each with its own record buffers.
//
// The menu is built from the one table of menu_table.h. An item that
// starts a procedure opens a new, independent child every time it is
// chosen: the frame asks its window registry for the procedure's window,
// and while no window is registered under that name the child says that
// the function is not available yet. The toolbar passes its buttons to the
// widget of the current child when that widget is a ToolbarTarget.
//
// The frame keeps the parameters record (APLPARAM) open from its opening
// to its closing, restores and saves its own position and that of every
// child in "kd_2005.INI", shows the splash window as it first appears, and
// on closing closes every child first; a child that refuses to close keeps
// the frame open.
#pragma once

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>

#include "app/globals.h"
#include "app/ui/help_window.h"
#include "app/ui/splash.h"
#include "ui/toolbar_target.h"
#include "app/ui/window_positions.h"
#include "data/record_layer.h"
#include "data/records.h"

class QMdiArea;
class QMdiSubWindow;
class QPrinter;

namespace kdm {

class MainFrame;
struct MenuItemDef;

// Builds the widget of a procedure's window; the frame wraps it in a child.
// A factory that returns nullptr (the window reported why it cannot open)
// opens nothing.
using WindowFactory = std::function<QWidget*(MainFrame&)>;

class MainFrame : public QMainWindow {
  Q_OBJECT
 public:
  static constexpr const char* kCaption = "VALTA - OBRAZAC K-Dm  ver. 2005.1.0";

  explicit MainFrame(DataStore& store, QWidget* parent = nullptr);
  ~MainFrame() override;

  // The frame around `w`, when it lies inside one.
  static MainFrame* of(QWidget* w);

  DataStore& store() { return store_; }
  Globals& globals() { return GLO; }
  QMdiArea* area() const { return area_; }
  WindowPositions& positions() { return positions_; }
  // The parameters file the frame keeps open while it runs.
  bool parametersOpen() { return params_.raw().isOpen(); }

  // The window of `procedure` (a name of the menu table), with the help
  // topic its "Upute" and the toolbar's help button show.
  void registerWindow(const QString& procedure, WindowFactory factory, const QString& helpTopic = {});

  // Opens a new child with the window of `procedure`, at the position kept
  // for it; nullptr when its factory opened nothing.
  QMdiSubWindow* startProcedure(const QString& procedure);

  // Passes a toolbar button to the current child; false when there is no
  // child or it has no such action.
  bool toolbarPressed(ToolbarButton button);
  QAction* toolbarAction(ToolbarButton button) const;

  // The help window, opened at `topic`; false for a topic without a page.
  // A child's own "Upute" button calls MainFrame::of(this)->showHelp(topic).
  bool showHelp(const QString& topic);
  HelpWindow* helpWindow() const { return help_; }
  void showAbout();

  // The splash window while it is open.
  Splash* splash() const { return splash_; }
  void closeSplash();

  void arrangeIcons();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Entry {
    WindowFactory factory;
    QString helpTopic;
  };

  void buildMenu();
  void buildToolbar();
  void choose(const MenuItemDef& item);
  void editAction(const char* slot);
  void printerSetup();

  DataStore& store_;
  Globals GLO;
  QMdiArea* area_;
  WindowPositions positions_;
  File<APLPARAM> params_;
  std::map<QString, Entry> registry_;
  std::map<ToolbarButton, QAction*> toolbar_;
  QPointer<Splash> splash_;
  bool splashShown_ = false;
  QPointer<HelpWindow> help_;
  std::unique_ptr<QPrinter> printer_;
};

}  // namespace kdm
