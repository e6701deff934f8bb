#include "app/ui/windows.h"

namespace kdm {

void registerAllWindows(MainFrame& frame) {
  registerRegisterWindows(frame);
}

}  // namespace kdm
