#include "framework/music.h"

namespace ZethMusic {

bool Initialize() { return true; }
void Finalize() {}

}  // namespace ZethMusic
