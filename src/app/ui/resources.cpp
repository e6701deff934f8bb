#include "app/ui/resources.h"

#include <QtGlobal>

static void registerKdmResources() { Q_INIT_RESOURCE(kdm); }

namespace kdm {

void loadResources() {
  static const bool done = (registerKdmResources(), true);
  (void)done;
}

}  // namespace kdm
