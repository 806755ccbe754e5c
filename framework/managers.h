// The per-class managers of the framework's objects, created by Zeth::Start in a fixed order and
// released by Zeth::Finalize, together with the 3D pools, in another.
#pragma once

namespace Zeth {

bool CreateManagers();   // false when one cannot be allocated
void ReleaseManagers();  // accepts managers that were never created

}  // namespace Zeth
