#include "framework/sound.h"

namespace ZethSound {

bool Initialize() { return true; }
void Finalize() {}

}  // namespace ZethSound
