// The media service; its events arrive as a window message.
#pragma once

namespace ZethMedia {

bool Initialize();
void Finalize();

}  // namespace ZethMedia

void MediaEvent();
