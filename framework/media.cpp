#include "framework/media.h"

namespace ZethMedia {

bool Initialize() { return true; }
void Finalize() {}

}  // namespace ZethMedia

void MediaEvent() {}
