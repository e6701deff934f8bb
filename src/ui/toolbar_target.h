// What the frame's toolbar asks of a child window. The thirteen buttons act
// on the active child as that window's own button or key would; a child
// takes part by implementing ToolbarTarget on the widget it gives the
// frame. A child that does not, or that answers false, is left alone.
#pragma once

#include <array>

namespace kdm {

enum class ToolbarButton {
  First,     // go to the first row
  PageUp,    // previous page
  Up,        // previous row
  Find,      // locate a row
  Down,      // next row
  PageDown,  // next page
  Last,      // go to the last row
  Select,    // choose the highlighted row (lists opened for choosing)
  Insert,
  Change,
  Delete,
  Ditto,     // put the field's previous value back
  Help,      // help for the active window
};

class ToolbarTarget {
 public:
  virtual ~ToolbarTarget() = default;
  // True when the window has the action and did it.
  virtual bool toolbarAction(ToolbarButton button) = 0;
};

struct ToolbarButtonDef {
  ToolbarButton button;
  const char* tooltip;
};

// The buttons in their order on the toolbar, with their tooltips.
inline constexpr std::array<ToolbarButtonDef, 13> kToolbarButtons{{
    {ToolbarButton::First, "Skok na prvu stranicu"},
    {ToolbarButton::PageUp, "Povratak na prethodnu stranicu"},
    {ToolbarButton::Up, "Prethodni redak"},
    {ToolbarButton::Find, "Traži podatak"},
    {ToolbarButton::Down, "Slijedeći redak "},
    {ToolbarButton::PageDown, "Skon na slijedeću stranicu"},
    {ToolbarButton::Last, "Skok na kraj ispisa"},
    {ToolbarButton::Select, "Select This Record"},
    {ToolbarButton::Insert, "Upis novog podatka"},
    {ToolbarButton::Change, "Promjena postojećih podataka"},
    {ToolbarButton::Delete, "Brisanje podatka"},
    {ToolbarButton::Ditto, "Prethodna vrijednost"},
    {ToolbarButton::Help, "Upute za rad"},
}};

}  // namespace kdm
