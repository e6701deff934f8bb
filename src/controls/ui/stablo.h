// Stablo: the control tree window "Kontrole podataka u zavisnosti od vrste
// obveznika, vrste obračuna i osnove obračuna". It shows the tree of
// controls/control_tree.h and opens the control-matrix form for a level-3
// item; the form itself is handed in, so the window only binds.
#pragma once

#include <QWidget>

#include <functional>
#include <vector>

#include "app/globals.h"
#include "controls/control_tree.h"
#include "data/record_layer.h"

class QTreeWidget;
class QTreeWidgetItem;
class QPushButton;
class QMenu;

namespace kdm {

class Stablo : public QWidget {
  Q_OBJECT
 public:
  enum Request { Insert = 1, Change = 2, Delete = 3 };
  // Opens the control-matrix form with a request on the row the globals
  // name; true when it stored a change.
  using OpenControlRow = std::function<bool(Request)>;
  // Shows what printing does until the printouts exist.
  using Print = std::function<void()>;

  static constexpr const char* kCaption =
      "Kontrole podataka u zavisnosti od vrste obveznika, vrste obračuna i osnove obračuna";
  // The pop-up menu, as its items are declared: "|" separates, "-" is a line.
  static constexpr const char* kPopup = "&Dodaj|&Promijeni|&Obriši|-|&Otvori sve|&Skupi sve";

  Stablo(DataStore& store, Globals& GLO, OpenControlRow openControlRow, Print print, QWidget* parent = nullptr);

  QTreeWidget* tree() const { return tree_; }
  QMenu* popup() const { return popup_; }
  // The buttons, by their texts ("&Dodaj" ...).
  QPushButton* button(const QString& text) const;

  void add();
  void change() { openOnCurrent(Change); }
  void remove() { openOnCurrent(Delete); }
  void expandEverything();
  void collapseEverything();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void reload();
  void openOnCurrent(Request request);
  const ControlTreeItem* itemOf(QTreeWidgetItem* item) const;
  void showItems();

  DataStore& store_;
  Globals& GLO;
  OpenControlRow openControlRow_;
  Print print_;
  std::vector<ControlTreeItem> items_;
  QTreeWidget* tree_;
  QMenu* popup_;
  std::vector<QPushButton*> buttons_;
};

}  // namespace kdm
