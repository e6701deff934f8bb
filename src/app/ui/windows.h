// Every window the frame's menu opens, registered by its subsystem: each
// subsystem's ui/ folder has one function that registers its windows, and
// registerAllWindows calls them all. A menu item whose window no subsystem
// registered opens the frame's "not yet available" window.
#pragma once

namespace kdm {

class MainFrame;

void registerAllWindows(MainFrame& frame);

// One per subsystem, each in its own ui/ folder.
void registerRegisterWindows(MainFrame& frame);  // register/ui
void registerCodeTableWindows(MainFrame& frame);  // codetables/ui
void registerControlWindows(MainFrame& frame);   // controls/ui
void registerAppWindows(MainFrame& frame);       // app/ui

}  // namespace kdm
