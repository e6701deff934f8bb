#include "app/ui/windows.h"

namespace kdm {

void registerAllWindows(MainFrame& frame) {
  registerRegisterWindows(frame);
  registerCodeTableWindows(frame);
  registerControlWindows(frame);
  registerAppWindows(frame);
}

}  // namespace kdm
