// The file system: search slots of a folder and a data pack each.
#pragma once

namespace ZethFile {

bool Initialize();
void Finalize();
// Search slot: folder of loose files and the pack file beside it.
void SetRootPath(int slot, const char* rootFolder, const char* packFile);

}  // namespace ZethFile
