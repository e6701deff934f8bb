// The frame's pictures and help pages live in a Qt resource compiled into
// the static window library; a program must register it before use, since
// the linker drops the resource's own initialiser from a static library.
#pragma once

namespace kdm {

// Registers the resources once; every window that shows them calls it.
void loadResources();

}  // namespace kdm
