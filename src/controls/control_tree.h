// The control tree: the allowed combinations of obligor kind, payment kind
// and basis of insurance as three levels, read from the obligor kinds
// (TBVRSOBV, in file order) and the reference tables STABLO02 and STABLO03
// (in key order). A level-3 item stands for the control-matrix row of its
// three codes; choosing it for a change or a delete hands those codes to
// the control-matrix form through the globals.
#pragma once

#include <string>
#include <vector>

#include "app/globals.h"
#include "data/record_layer.h"

namespace kdm {

struct ControlTreeItem {
  int level = 1;                 // 1 obligor kind, 2 payment kind, 3 basis
  std::string vob, voi, oo;      // the codes down to this level
  std::string text;              // code, one blank, name
  std::vector<ControlTreeItem> children;
};

// The whole tree; an obligor kind without STABLO02 rows has no children.
Error loadControlTree(DataStore& store, std::vector<ControlTreeItem>& tree);

// "&Dodaj": the globals cleared for a new control row.
void chooseNewControlRow(Globals& GLO);
// "&Promijeni" and "&Obriši": for a level-3 item the globals name its row
// and the answer is true; other levels open nothing.
bool chooseControlRow(Globals& GLO, const ControlTreeItem& item);

}  // namespace kdm
