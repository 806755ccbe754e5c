// The music service.
#pragma once

namespace ZethMusic {

bool Initialize();
void Finalize();

}  // namespace ZethMusic
