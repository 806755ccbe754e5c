// The input service: keyboard, joysticks and mouse read once a frame into the pad records.
#pragma once

namespace ZethInput {

bool Initialize();
void Finalize();
void Refresh();     // reads the devices; does nothing when the service was not started
void UpdatePads();  // turns what was read into pad bits; likewise
void OnDoubleClick(int button);  // 0 left, 1 right, 2 middle
void OnWheel(int delta);

}  // namespace ZethInput
