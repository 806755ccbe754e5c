// The end of the process when the display connection is lost, shared by Xlib's error handler and
// the message box.
#pragma once

namespace platform {

// Writes the last words set with SetDisplayLostHandler (in the process that set them only) and
// ends the process at once with kDisplayLostStatus.
[[noreturn]] void EndForLostDisplay();

// False when a display is named (DISPLAY) but no connection to it can be made.
bool NamedDisplayReachable();

}  // namespace platform
