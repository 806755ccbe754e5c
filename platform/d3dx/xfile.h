// The X-file reader: text and binary files ("xof " header) of templates and data objects.
// Templates are registered ahead (the standard set below) or declared in the file itself; data
// objects are read member by member against their template and handed out as a tree. Locking a
// data object gives its members packed little-endian without padding: WORD 2 bytes, DWORD and
// FLOAT 4, DOUBLE 8, CHAR/UCHAR/BYTE 1, and a STRING as a pointer to text the object owns.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/gfx/device.h"

namespace platform::d3dx {

using gfx::Result;

struct Guid {
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];
    bool operator==(const Guid& other) const = default;
};

// Identities of the templates the framework tells apart.
namespace tid {
constexpr Guid kFrame{0x3D82AB46, 0x62DA, 0x11CF, {0xAB, 0x39, 0x00, 0x20, 0xAF, 0x71, 0xE4, 0x33}};
constexpr Guid kFrameTransformMatrix{0xF6F23F41, 0x7686, 0x11CF, {0x8F, 0x52, 0x00, 0x40, 0x33, 0x35, 0x94, 0xA3}};
constexpr Guid kMesh{0x3D82AB44, 0x62DA, 0x11CF, {0xAB, 0x39, 0x00, 0x20, 0xAF, 0x71, 0xE4, 0x33}};
constexpr Guid kAnimationSet{0x3D82AB50, 0x62DA, 0x11CF, {0xAB, 0x39, 0x00, 0x20, 0xAF, 0x71, 0xE4, 0x33}};
constexpr Guid kAnimation{0x3D82AB4F, 0x62DA, 0x11CF, {0xAB, 0x39, 0x00, 0x20, 0xAF, 0x71, 0xE4, 0x33}};
constexpr Guid kAnimationKey{0x10DD46A8, 0x775B, 0x11CF, {0x8F, 0x52, 0x00, 0x40, 0x33, 0x35, 0x94, 0xA3}};
constexpr Guid kXSkinMeshHeader{0x3CF169CE, 0xFF7C, 0x44AB, {0x93, 0xC0, 0xF7, 0x8F, 0x62, 0xD1, 0x72, 0xE2}};
constexpr Guid kVertexDuplicationIndices{0xB8D65549, 0xD7C9, 0x4995, {0x89, 0xCF, 0x53, 0xA9, 0xA8, 0xB0, 0x31, 0xE3}};
constexpr Guid kSkinWeights{0x6F0D123B, 0xBAD2, 0x4167, {0xA0, 0xD0, 0x80, 0x22, 0x4F, 0x25, 0xFA, 0xBB}};
}  // namespace tid

// The standard templates (frames, meshes and their parts, materials, animations) and the
// skinning templates, as X text ready for XFile::RegisterTemplates.
const char* StandardTemplates();
const char* SkinTemplates();

namespace internal {
struct Document;
struct Node;
}  // namespace internal

// One data object of an enumerated file, or a reference to one (which answers as its target).
class XFileData : public gfx::RefCounted {
public:
    // The name with its terminator: size in, bytes needed out; a null name asks only the size.
    Result GetName(char* name, size_t* size) const;
    Result GetType(Guid* type) const;  // the template's identity (zero when it declares none)
    Result GetId(Guid* id) const;      // the object's own identity (zero when it has none)
    Result GetChildren(size_t* count) const;
    Result GetChild(size_t index, XFileData** child);  // the caller receives a reference
    // The packed members; stays valid while this object lives. Lock and Unlock pair up.
    Result Lock(size_t* size, const void** data);
    Result Unlock();
    bool IsReference() const;
    const std::string& TemplateName() const;
    const std::string& Name() const;

    XFileData(const std::shared_ptr<internal::Document>& document, const internal::Node* node,
              bool reference);
    ~XFileData() override;

private:
    std::shared_ptr<internal::Document> document_;
    const internal::Node* node_;  // the target when this is a reference
    bool reference_;
    int locks_ = 0;
};

// The top-level data objects of one file.
class XFileEnumObject : public gfx::RefCounted {
public:
    explicit XFileEnumObject(std::shared_ptr<internal::Document> document);
    ~XFileEnumObject() override;
    Result GetChildren(size_t* count) const;
    Result GetChild(size_t index, XFileData** child);

private:
    std::shared_ptr<internal::Document> document_;
};

class XFile : public gfx::RefCounted {
public:
    XFile();
    ~XFile() override;
    // Registers every template of an X file (text or binary); a file holding data objects or a
    // damaged one fails with kInvalidData and registers nothing.
    Result RegisterTemplates(const void* data, size_t size);
    // Reads a whole X file from memory (the bytes are copied).
    Result CreateEnumObject(const void* data, size_t size, XFileEnumObject** enumObject);
    // What the last failed call found wrong ("line 12: ..." or "offset 40: ..."); empty after success.
    const std::string& LastError() const { return lastError_; }

private:
    std::shared_ptr<internal::Document> registered_;  // templates only
    std::string lastError_;
};

Result FileCreate(XFile** file);

}  // namespace platform::d3dx
