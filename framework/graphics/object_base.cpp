#include "framework/graphics/object_base.h"

#include <cstring>

CBaseObject::CBaseObject() = default;

CBaseObject::~CBaseObject() {
    if (parent_ != nullptr) {
        --parent_->childCount_;
        if (parent_->firstChild_ == this) {
            parent_->firstChild_ = nextSibling_;
        } else {
            CBaseObject* previous = parent_->firstChild_;
            while (previous != nullptr && previous->nextSibling_ != this) previous = previous->nextSibling_;
            if (previous != nullptr) previous->nextSibling_ = nextSibling_;
        }
    }
    CBaseObject* child = firstChild_;
    while (child != nullptr) {
        CBaseObject* next = child->nextSibling_;
        child->parent_ = nullptr;
        child->nextSibling_ = nullptr;
        child->Release();
        child = next;
    }
}

int32_t CBaseObject::Release() {
    int32_t count = --refCount_;
    if (count == 0) delete this;
    return count;
}

void CBaseObject::AddChild(CBaseObject* child) {
    ++childCount_;
    child->parent_ = this;
    child->nextSibling_ = nullptr;
    if (firstChild_ == nullptr) {
        firstChild_ = child;
        return;
    }
    CBaseObject* last = firstChild_;
    while (last->nextSibling_ != nullptr) last = last->nextSibling_;
    last->nextSibling_ = child;
}

void CBaseObject::SetName(const char* name) {
    std::strncpy(name_, name, kNameSize - 1);
    name_[kNameSize - 1] = '\0';
}

void CObjectList::AddTail(CBaseObject* object) {
    object->listPrevious_ = tail_;
    object->listNext_ = nullptr;
    if (tail_ != nullptr) tail_->listNext_ = object;
    else head_ = object;
    tail_ = object;
    ++count_;
}

void CObjectList::Remove(CBaseObject* object) {
    CBaseObject* previous = object->listPrevious_;
    CBaseObject* next = object->listNext_;
    if (previous != nullptr) previous->listNext_ = next;
    else head_ = next;
    if (next != nullptr) next->listPrevious_ = previous;
    else tail_ = previous;
    --count_;
}

void CObjectList::Reset() {
    head_ = tail_ = nullptr;
    count_ = 0;
}

CClassName::CClassName(const char* name) {
    std::memset(name_, 0, sizeof(name_));
    std::strncpy(name_, name, sizeof(name_) - 1);
}
