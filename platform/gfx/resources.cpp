// Surfaces, textures and buffers: storage, descriptions and locking.
#include "platform/gfx/resources.h"

#include <algorithm>
#include <cstring>

#include "platform/gfx/device_impl.h"
#include "platform/gfx/formats.h"

namespace platform::gfx {

DeviceLink::DeviceLink(DeviceImpl* device, uint32_t pool) : device_(device), pool_(pool) {
    if (device_) device_->Register(this);
}

DeviceLink::~DeviceLink() {
    if (device_) device_->Unregister(this);
}

bool ResolveRect(const Rect* rect, uint32_t width, uint32_t height, Rect* out) {
    if (!rect) {
        *out = {0, 0, int32_t(width), int32_t(height)};
        return width > 0 && height > 0;
    }
    if (rect->left < 0 || rect->top < 0 || rect->left >= rect->right ||
        rect->top >= rect->bottom || rect->right > int32_t(width) ||
        rect->bottom > int32_t(height)) {
        return false;
    }
    *out = *rect;
    return true;
}

// ---- SurfaceImpl ----

SurfaceImpl::SurfaceImpl(DeviceImpl* device, const SurfaceSpec& shape, TextureImpl* container)
    : spec_(shape), container_(container) {
    if (!container_) link_ = std::make_unique<DeviceLink>(device, shape.pool);
    const size_t pixels = size_t(shape.width) * size_t(shape.height);
    if (IsDepthFormat(shape.format)) {
        depth_.assign(pixels, 1.0f);
    } else {
        argb_.assign(pixels, QuantizeArgb(shape.format, 0));
        if (!Is32BitColor(shape.format)) native_.assign(pixels * BytesPerPixel(shape.format), 0);
    }
}

uint32_t SurfaceImpl::AddRef() { return container_ ? container_->AddRef() : Surface::AddRef(); }

uint32_t SurfaceImpl::Release() { return container_ ? container_->Release() : Surface::Release(); }

uint32_t SurfaceImpl::RefCount() const {
    return container_ ? container_->RefCount() : Surface::RefCount();
}

Texture* SurfaceImpl::GetContainerTexture() { return container_; }

Result SurfaceImpl::GetDesc(SurfaceDesc* desc) {
    if (!desc) return result::kInvalidCall;
    *desc = {spec_.format, container_ ? rtype::kTexture : rtype::kSurface, spec_.usage,
             spec_.pool,   0,
             0,            spec_.width,
             spec_.height};
    return result::kOk;
}

Result SurfaceImpl::LockRect(LockedRect* locked, const Rect* rect, uint32_t flags) {
    Rect area;
    if (!locked || locked_ || !spec_.lockable || IsDepth() ||
        !ResolveRect(rect, spec_.width, spec_.height, &area)) {
        return result::kInvalidCall;
    }
    WritePendingFill();
    known_.known = false;
    const uint32_t bytes = BytesPerPixel(spec_.format);
    const size_t rowBytes = size_t(spec_.width) * bytes;
    uint8_t* base;
    if (native_.empty()) {
        base = reinterpret_cast<uint8_t*>(argb_.data());
    } else {
        base = native_.data();
        if (!(flags & lock::kDiscard)) {
            for (int32_t y = area.top; y < area.bottom; ++y) {
                ArgbRowToNative(spec_.format, argb_.data() + size_t(y) * spec_.width + area.left,
                                base + size_t(y) * rowBytes + size_t(area.left) * bytes,
                                uint32_t(area.right - area.left));
            }
        }
    }
    locked->pitch = int32_t(rowBytes);
    locked->bits = base + size_t(area.top) * rowBytes + size_t(area.left) * bytes;
    locked_ = true;
    lockRect_ = area;
    lockFlags_ = flags;
    return result::kOk;
}

Result SurfaceImpl::UnlockRect() {
    if (!locked_) return result::kInvalidCall;
    locked_ = false;
    if (lockFlags_ & lock::kReadOnly) return result::kOk;
    const Rect& a = lockRect_;
    const uint32_t count = uint32_t(a.right - a.left);
    for (int32_t y = a.top; y < a.bottom; ++y) {
        uint32_t* row = argb_.data() + size_t(y) * spec_.width + a.left;
        if (!native_.empty()) {
            const size_t bytes = BytesPerPixel(spec_.format);
            NativeRowToArgb(spec_.format,
                            native_.data() + (size_t(y) * spec_.width + size_t(a.left)) * bytes,
                            row, count);
        } else if (spec_.format == fmt::kX8R8G8B8) {
            for (uint32_t i = 0; i < count; ++i) row[i] |= 0xFF000000u;
        }
    }
    return result::kOk;
}

void SurfaceImpl::Fill(const Rect& rect, uint32_t argb) {
    const uint32_t value = QuantizeArgb(spec_.format, argb);
    const bool whole = rect.left <= 0 && rect.top <= 0 && rect.right >= int32_t(spec_.width) &&
                       rect.bottom >= int32_t(spec_.height);
    // A locked surface is written through the pointer it handed out: it is filled at once.
    if (whole && !locked_) {
        fillPending_ = true;
        pendingValue_ = value;
        return;
    }
    WritePendingFill();
    known_.known = false;
    FillRows(rect, value);
}

void SurfaceImpl::WriteFill() const {
    fillPending_ = false;
    FillRows({0, 0, int32_t(spec_.width), int32_t(spec_.height)}, pendingValue_);
    known_ = {true, pendingValue_, {}};
}

void SurfaceImpl::FillRows(const Rect& rect, uint32_t value) const {
    const size_t width = size_t(rect.right - rect.left);
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        FillPixels(argb_.data() + size_t(y) * spec_.width + size_t(rect.left), width, value);
    }
}

void SurfaceImpl::FillDepth(const Rect& rect, float z) {
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        float* row = depth_.data() + size_t(y) * spec_.width;
        std::fill(row + rect.left, row + rect.right, z);
    }
}

// ---- TextureImpl ----

TextureImpl::TextureImpl(DeviceImpl* device, const SurfaceSpec& level0, uint32_t levels)
    : link_(device, level0.pool) {
    SurfaceSpec shape = level0;
    for (uint32_t i = 0; i < levels; ++i) {
        levels_.push_back(new SurfaceImpl(device, shape, this));
        shape.width = std::max(1u, shape.width / 2);
        shape.height = std::max(1u, shape.height / 2);
    }
}

TextureImpl::~TextureImpl() {
    for (SurfaceImpl* level : levels_) delete level;
}

Result TextureImpl::GetLevelDesc(uint32_t level, SurfaceDesc* desc) {
    if (level >= levels_.size()) return result::kInvalidCall;
    return levels_[level]->GetDesc(desc);
}

Result TextureImpl::GetSurfaceLevel(uint32_t level, Surface** surface) {
    if (!surface || level >= levels_.size()) return result::kInvalidCall;
    levels_[level]->AddRef();
    *surface = levels_[level];
    return result::kOk;
}

Result TextureImpl::LockRect(uint32_t level, LockedRect* locked, const Rect* rect,
                             uint32_t flags) {
    if (level >= levels_.size()) return result::kInvalidCall;
    return levels_[level]->LockRect(locked, rect, flags);
}

Result TextureImpl::UnlockRect(uint32_t level) {
    if (level >= levels_.size()) return result::kInvalidCall;
    return levels_[level]->UnlockRect();
}

Result TextureImpl::AddDirtyRect(const Rect*) { return result::kOk; }

// ---- BufferImpl ----

template <class Interface>
BufferImpl<Interface>::BufferImpl(DeviceImpl* device, const BufferDesc& desc)
    : link_(device, desc.pool), desc_(desc), data_(desc.size, 0) {}

template <class Interface>
Result BufferImpl<Interface>::GetDesc(BufferDesc* desc) {
    if (!desc) return result::kInvalidCall;
    *desc = desc_;
    return result::kOk;
}

template <class Interface>
Result BufferImpl<Interface>::Lock(uint32_t offset, uint32_t size, void** data, uint32_t) {
    if (!data || locked_ || offset > desc_.size || size > desc_.size - offset) {
        return result::kInvalidCall;
    }
    (void)size;  // 0 means "to the end"; the whole buffer stays addressable either way
    *data = data_.data() + offset;
    locked_ = true;
    return result::kOk;
}

template <class Interface>
Result BufferImpl<Interface>::Unlock() {
    if (!locked_) return result::kInvalidCall;
    locked_ = false;
    return result::kOk;
}

template class BufferImpl<VertexBuffer>;
template class BufferImpl<IndexBuffer>;

}  // namespace platform::gfx
