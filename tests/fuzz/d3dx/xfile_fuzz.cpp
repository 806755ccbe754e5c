// Feeds arbitrary bytes to the X-file reader (text or binary by their header) with the standard
// templates registered, then walks and locks every data object it hands out.
#include <cstring>

#include "platform/d3dx/xfile.h"

namespace d3dx = platform::d3dx;

namespace {

void Walk(d3dx::XFileData* data, int depth) {
    size_t size = 0;
    data->GetName(nullptr, &size);
    const void* bytes = nullptr;
    if (data->Lock(&size, &bytes) == 0) {
        volatile uint8_t sum = 0;
        for (size_t i = 0; i < size; ++i) sum = uint8_t(sum + static_cast<const uint8_t*>(bytes)[i]);
        data->Unlock();
    }
    size_t children = 0;
    data->GetChildren(&children);
    for (size_t i = 0; i < children && depth < 80; ++i) {
        d3dx::XFileData* child = nullptr;
        if (data->GetChild(i, &child) != 0) continue;
        if (!child->IsReference()) Walk(child, depth + 1);
        child->Release();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    d3dx::XFile* file = nullptr;
    d3dx::FileCreate(&file);
    for (const char* block : {d3dx::StandardTemplates(), d3dx::SkinTemplates()}) {
        file->RegisterTemplates(block, std::strlen(block));
    }
    d3dx::XFileEnumObject* enumObject = nullptr;
    if (file->CreateEnumObject(data, size, &enumObject) == 0) {
        size_t count = 0;
        enumObject->GetChildren(&count);
        for (size_t i = 0; i < count; ++i) {
            d3dx::XFileData* child = nullptr;
            enumObject->GetChild(i, &child);
            Walk(child, 0);
            child->Release();
        }
        enumObject->Release();
    }
    file->Release();
    return 0;
}
