// The base of every framework object: a reference count, the links of one intrusive manager
// list, a parent/child tree and a name; the list head every manager derives from; and the
// class-identity record of the model classes.
#pragma once

#include <cstdint>

class CObjectList;

class CBaseObject {
public:
    static constexpr int kNameSize = 260;

    CBaseObject();  // count 1, unlisted, no parent or children, empty name
    // Leaves the parent's sibling chain and gives each child back one reference.
    virtual ~CBaseObject();
    CBaseObject(const CBaseObject&) = delete;
    CBaseObject& operator=(const CBaseObject&) = delete;

    void AddRef() { ++refCount_; }
    int32_t Release();  // deletes the object at 0; returns the new count
    int32_t GetRefCount() const { return refCount_; }
    int32_t GetChildCount() const { return childCount_; }
    CBaseObject* GetChild() const { return firstChild_; }
    CBaseObject* GetNextSibling() const { return nextSibling_; }
    CBaseObject* GetParent() const { return parent_; }
    // Appends the child to the sibling chain; the caller's reference passes to this object.
    void AddChild(CBaseObject* child);
    void SetName(const char* name);  // truncated to fit the name buffer
    const char* GetName() const { return name_; }

private:
    friend class CObjectList;

    CBaseObject* listPrevious_ = nullptr;
    CBaseObject* listNext_ = nullptr;
    CBaseObject* parent_ = nullptr;
    CBaseObject* firstChild_ = nullptr;
    CBaseObject* nextSibling_ = nullptr;
    int32_t refCount_ = 1;
    int32_t childCount_ = 0;
    char name_[kNameSize] = {};
};

// Head of an intrusive list of objects. Membership owns nothing: no reference is taken.
class CObjectList : public CBaseObject {
public:
    void AddTail(CBaseObject* object);
    void Remove(CBaseObject* object);  // the object must be in this list
    void Reset();                      // forgets every member without touching it
    CBaseObject* GetTop() const { return head_; }
    static CBaseObject* GetNext(const CBaseObject* object) { return object->listNext_; }
    uint32_t GetCount() const { return count_; }

private:
    CBaseObject* head_ = nullptr;
    CBaseObject* tail_ = nullptr;
    uint32_t count_ = 0;
};

// A class-identity record; two records are the same class only when they are the same record.
class CClassName {
public:
    explicit CClassName(const char* name);
    CClassName(const CClassName&) = delete;
    CClassName& operator=(const CClassName&) = delete;
    bool operator==(const CClassName& other) const { return this == &other; }
    const char* GetText() const { return name_; }

private:
    char name_[32];
};
