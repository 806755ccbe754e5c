// The X-file objects: the file (registered templates), its enumeration of top-level objects and
// the data objects. Every object of one read shares the parsed document.
#include <cstring>

#include "platform/d3dx/xfile_internal.h"

namespace platform::d3dx {

using internal::Document;
using internal::Node;

XFileData::XFileData(const std::shared_ptr<Document>& document, const Node* node, bool reference)
    : document_(document), node_(node), reference_(reference) {}
XFileData::~XFileData() = default;

Result XFileData::GetName(char* name, size_t* size) const {
    if (size == nullptr) return gfx::result::kInvalidArg;
    const size_t needed = node_->name.size() + 1;
    if (name == nullptr) {
        *size = needed;
        return gfx::result::kOk;
    }
    if (*size < needed) {
        *size = needed;
        return gfx::result::kMoreData;
    }
    std::memcpy(name, node_->name.c_str(), needed);
    *size = needed;
    return gfx::result::kOk;
}

Result XFileData::GetType(Guid* type) const {
    if (type == nullptr) return gfx::result::kInvalidArg;
    *type = node_->type->guid;
    return gfx::result::kOk;
}

Result XFileData::GetId(Guid* id) const {
    if (id == nullptr) return gfx::result::kInvalidArg;
    *id = node_->id;
    return gfx::result::kOk;
}

Result XFileData::GetChildren(size_t* count) const {
    if (count == nullptr) return gfx::result::kInvalidArg;
    *count = node_->children.size();
    return gfx::result::kOk;
}

Result XFileData::GetChild(size_t index, XFileData** child) {
    if (child == nullptr) return gfx::result::kInvalidArg;
    *child = nullptr;
    if (index >= node_->children.size()) return gfx::result::kNotFound;
    const Node::Child& c = node_->children[index];
    *child = new XFileData(document_, c.node, c.reference);
    return gfx::result::kOk;
}

Result XFileData::Lock(size_t* size, const void** data) {
    if (size == nullptr || data == nullptr) return gfx::result::kInvalidArg;
    *size = node_->data.size();
    *data = node_->data.data();
    ++locks_;
    return gfx::result::kOk;
}

Result XFileData::Unlock() {
    if (locks_ == 0) return gfx::result::kInvalidCall;
    --locks_;
    return gfx::result::kOk;
}

bool XFileData::IsReference() const { return reference_; }
const std::string& XFileData::TemplateName() const { return node_->type->name; }
const std::string& XFileData::Name() const { return node_->name; }

XFileEnumObject::XFileEnumObject(std::shared_ptr<Document> document) : document_(std::move(document)) {}
XFileEnumObject::~XFileEnumObject() = default;

Result XFileEnumObject::GetChildren(size_t* count) const {
    if (count == nullptr) return gfx::result::kInvalidArg;
    *count = document_->top.size();
    return gfx::result::kOk;
}

Result XFileEnumObject::GetChild(size_t index, XFileData** child) {
    if (child == nullptr) return gfx::result::kInvalidArg;
    *child = nullptr;
    if (index >= document_->top.size()) return gfx::result::kNotFound;
    *child = new XFileData(document_, document_->top[index], false);
    return gfx::result::kOk;
}

XFile::XFile() : registered_(std::make_shared<Document>()) {}
XFile::~XFile() = default;

Result XFile::RegisterTemplates(const void* data, size_t size) {
    // Parsed into a copy, so that a damaged block leaves the registered set as it was.
    auto next = std::make_shared<Document>();
    next->registered = registered_;
    next->templates = registered_->templates;
    try {
        internal::Parse(static_cast<const uint8_t*>(data), size, true, next.get());
    } catch (const internal::FormatError& e) {
        lastError_ = e.message;
        return gfx::result::kInvalidData;
    }
    registered_ = std::move(next);
    lastError_.clear();
    return gfx::result::kOk;
}

Result XFile::CreateEnumObject(const void* data, size_t size, XFileEnumObject** enumObject) {
    if (enumObject == nullptr) return gfx::result::kInvalidArg;
    *enumObject = nullptr;
    auto document = std::make_shared<Document>();
    document->registered = registered_;
    document->templates = registered_->templates;
    try {
        internal::Parse(static_cast<const uint8_t*>(data), size, false, document.get());
    } catch (const internal::FormatError& e) {
        lastError_ = e.message;
        return gfx::result::kInvalidData;
    } catch (const std::bad_alloc&) {
        lastError_ = "out of memory";
        return gfx::result::kOutOfMemory;
    }
    lastError_.clear();
    *enumObject = new XFileEnumObject(std::move(document));
    return gfx::result::kOk;
}

Result FileCreate(XFile** file) {
    if (file == nullptr) return gfx::result::kInvalidArg;
    *file = new XFile();
    return gfx::result::kOk;
}

}  // namespace platform::d3dx
