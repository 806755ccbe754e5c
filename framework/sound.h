// The sound service.
#pragma once

namespace ZethSound {

bool Initialize();
void Finalize();

}  // namespace ZethSound
