#include "framework/file_system.h"

namespace ZethFile {

bool Initialize() { return true; }
void Finalize() {}
void SetRootPath(int, const char*, const char*) {}

}  // namespace ZethFile
