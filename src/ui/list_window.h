// A list window from its declaration: tabs (each a key order with its
// locator), the columns, the buttons, and a range of the key when the
// list shows part of a file.
//
// Keys: Enter (or a double click) takes the first of Odaberi and
// Promijeni/Otvori the window has, Insert adds, Delete deletes, Esc closes,
// Home/End (with or without Ctrl) go to the first and last row. Typing in
// the table goes to the locator, which moves to the first record at or
// after the typed value in the tab's order. What the buttons do beyond
// that is the window's own rule, in the action hook.
#pragma once

#include <QPushButton>
#include <QTableView>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/record_layer.h"
#include "ui/declarations.h"
#include "ui/record_list_model.h"
#include "ui/toolbar_target.h"
#include "ui/window_reporter.h"

class QLabel;
class QLineEdit;
class QStatusBar;
class QTabBar;

namespace kdm::ui {

enum class ListAction { Select, Add, Change, Remove, Print, Close, Help };

struct ListButton {
  ListAction action;
  QString text;  // "&Dodaj"
  QString toolTip;
};

struct ListTab {
  QString caption;          // "REDOSLIJED: Naziv poslodavca"
  std::string key;          // "KEYREDBROJ"
  QString locatorPrompt;    // "&Traži:"; empty for none
  std::string locatorField; // the key component typed into; "" for none
  QString locatorToolTip;   // "Traži se ..."
};

struct ListDecl {
  QString title;
  QString helpTopic;
  std::string label;
  std::vector<ListTab> tabs;
  std::vector<Column> columns;
  std::vector<ListButton> buttons;
  // The first `fixedComponents` key components are held to the values
  // `bounds` sets (the employee rows of one obligor); 0 lists every record.
  int fixedComponents = 0;
  std::function<void(Record&)> bounds;
};

// The table of a list: no search through the model (it would read every
// row), the locator does it; Home and End go by rows.
class ListView : public QTableView {
  Q_OBJECT
 public:
  using QTableView::QTableView;
  void keyboardSearch(const QString& text) override { emit typed(text); }

 signals:
  void typed(const QString& text);

 protected:
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
};

class ListWindow : public QWidget, public ToolbarTarget {
  Q_OBJECT

 public:
  ListWindow(DataStore& store, ListDecl decl, QWidget* parent = nullptr);
  ~ListWindow() override;

  // False when the file could not be opened; the reporter said why.
  bool isReady() const { return ready_; }
  const ListDecl& declaration() const { return decl_; }
  RecordListModel* model() const { return model_.get(); }
  ListView* view() const { return view_; }
  QTabBar* tabBar() const { return tabs_; }
  QLineEdit* locator() const { return locator_; }
  WindowReporter& reporter() { return reporter_; }
  QPushButton* button(ListAction action) const;

  // The highlighted record; nullptr when the list is empty.
  const Record* current() const;
  int currentRow() const;
  void setCurrentRow(int row);
  // Moves to the first record at or after `text` in the tab's order.
  void locate(const QString& text);
  // Reads the list again, keeping the highlighted row where it can.
  void refresh();
  // Runs an action as its button would.
  void trigger(ListAction action);
  // The frame's toolbar: moving through the rows, the locator, and the
  // actions of the list's own buttons (false for one it does not have).
  bool toolbarAction(ToolbarButton button) override;

  // The window's own rule for an action; `current` is the highlighted
  // record or nullptr. Close and Help need none.
  std::function<void(ListWindow&, ListAction, const Record* current)> onAction;

 signals:
  void helpRequested(const QString& topic);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void changeTab(int tab);
  void closeWindow();

  DataStore& store_;
  ListDecl decl_;
  RecordFile file_;
  bool ready_ = false;
  std::unique_ptr<RecordListModel> model_;
  QTabBar* tabs_ = nullptr;
  ListView* view_ = nullptr;
  QLabel* locatorLabel_ = nullptr;
  QLineEdit* locator_ = nullptr;
  QStatusBar* statusBar_ = nullptr;
  std::vector<std::pair<ListAction, QPushButton*>> buttons_;
  WindowReporter reporter_;
};

}  // namespace kdm::ui
