// The device's resource objects: surfaces, textures and buffers, all in system memory.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gfx/device.h"

namespace platform::gfx {

class DeviceImpl;

// Ties a resource to the device that made it; the device cuts the tie when it goes first.
class DeviceLink {
public:
    DeviceLink(DeviceImpl* device, uint32_t pool);
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;
    DeviceImpl* Device() const { return device_; }
    uint32_t Pool() const { return pool_; }
    void Detach() { device_ = nullptr; }

private:
    DeviceImpl* device_;
    uint32_t pool_;
};

class TextureImpl;

struct SurfaceSpec {
    uint32_t width;
    uint32_t height;
    Format format;
    uint32_t usage;
    uint32_t pool;
    bool lockable;
};

// A pixel array. Colour surfaces keep their picture as ARGB words (what sampling and drawing
// use); formats narrower than 32 bits get a native copy made on LockRect and read back on
// UnlockRect. Depth surfaces keep one float per pixel.
//
// A fill of the whole surface is not written at once but kept pending: Argb(), ArgbPixels(),
// LockRect and any other fill write it first, so that every reader sees the filled picture. A
// draw that writes every pixel itself (the rectangle path onto a just-cleared target) takes the
// pending value instead and saves the surface a pass of writes. Such a draw also leaves word
// that the pixels around its rectangle hold the value (KnownFill), so that the same draw over
// the same clear next frame need not write them again; anything that may write the surface
// (Argb(), LockRect, a fill of part of it, the device's next draw) forgets it.
class SurfaceImpl final : public Surface {
public:
    // container is the texture this surface is a level of, or null for a stand-alone surface
    // (which then registers with the device itself).
    SurfaceImpl(DeviceImpl* device, const SurfaceSpec& shape, TextureImpl* container);

    uint32_t AddRef() override;
    uint32_t Release() override;
    uint32_t RefCount() const override;
    Result GetDesc(SurfaceDesc* desc) override;
    Result LockRect(LockedRect* locked, const Rect* rect, uint32_t flags) override;
    Result UnlockRect() override;
    Texture* GetContainerTexture() override;
    const uint32_t* ArgbPixels() const override {
        WritePendingFill();
        return argb_.data();
    }
    uint32_t Width() const override { return spec_.width; }
    uint32_t Height() const override { return spec_.height; }

    uint32_t* Argb() {
        WritePendingFill();
        known_.known = false;
        return argb_.data();
    }
    // The pixels as they are, a pending fill not written.
    uint32_t* Storage() { return argb_.data(); }
    float* Depth() { return depth_.data(); }
    Format GetFormat() const { return spec_.format; }
    uint32_t Usage() const { return spec_.usage; }
    uint32_t GetPool() const { return spec_.pool; }
    bool IsLocked() const { return locked_; }
    bool IsDepth() const { return !depth_.empty(); }
    // Writes one ARGB value over a rectangle, narrowed to the format; over the whole surface
    // (not locked) the value is kept pending.
    void Fill(const Rect& rect, uint32_t argb);
    bool HasPendingFill() const { return fillPending_; }
    uint32_t PendingFill() const { return pendingValue_; }
    void WritePendingFill() const {
        if (fillPending_) WriteFill();
    }
    // The caller has written every pixel, the pending value under what it drew.
    void DropPendingFill() { fillPending_ = false; }
    // Every pixel outside `hole` holds `value` (when `known`).
    struct KnownFill {
        bool known = false;
        uint32_t value = 0;
        Rect hole{};
    };
    // What is known, forgotten as it is taken: the taker is about to write the surface.
    KnownFill TakeKnownFill() {
        const KnownFill known = known_;
        known_.known = false;
        return known;
    }
    void SetKnownFill(const KnownFill& known) { known_ = known; }
    void FillDepth(const Rect& rect, float z);

private:
    ~SurfaceImpl() override = default;
    friend class TextureImpl;
    void WriteFill() const;
    void FillRows(const Rect& rect, uint32_t value) const;

    SurfaceSpec spec_;
    TextureImpl* container_;
    std::unique_ptr<DeviceLink> link_;  // stand-alone surfaces only
    // Mutable: a reader of a const surface writes the pending fill before it reads.
    mutable std::vector<uint32_t> argb_;
    mutable bool fillPending_ = false;
    uint32_t pendingValue_ = 0;  // narrowed to the format
    mutable KnownFill known_;
    std::vector<uint8_t> native_;
    std::vector<float> depth_;
    bool locked_ = false;
    Rect lockRect_{};
    uint32_t lockFlags_ = 0;
};

class TextureImpl final : public Texture {
public:
    TextureImpl(DeviceImpl* device, const SurfaceSpec& level0, uint32_t levels);

    uint32_t GetLevelCount() override { return uint32_t(levels_.size()); }
    Result GetLevelDesc(uint32_t level, SurfaceDesc* desc) override;
    Result GetSurfaceLevel(uint32_t level, Surface** surface) override;
    Result LockRect(uint32_t level, LockedRect* locked, const Rect* rect, uint32_t flags) override;
    Result UnlockRect(uint32_t level) override;
    Result AddDirtyRect(const Rect* rect) override;

    SurfaceImpl* Level(uint32_t level) { return levels_[level]; }
    uint32_t GetPool() const { return link_.Pool(); }

private:
    ~TextureImpl() override;

    DeviceLink link_;
    std::vector<SurfaceImpl*> levels_;  // owned; they share this texture's reference count
};

template <class Interface>
class BufferImpl final : public Interface {
public:
    BufferImpl(DeviceImpl* device, const BufferDesc& desc);
    Result GetDesc(BufferDesc* desc) override;
    Result Lock(uint32_t offset, uint32_t size, void** data, uint32_t flags) override;
    Result Unlock() override;
    const uint8_t* Data() const { return data_.data(); }
    uint32_t Size() const { return desc_.size; }
    bool IsLocked() const { return locked_; }

private:
    ~BufferImpl() override = default;
    DeviceLink link_;
    BufferDesc desc_;
    std::vector<uint8_t> data_;
    bool locked_ = false;
};

class VertexDeclarationImpl final : public VertexDeclaration {
public:
    explicit VertexDeclarationImpl(std::vector<VertexElement> elements)
        : elements_(std::move(elements)) {}
    const std::vector<VertexElement>& Elements() const override { return elements_; }

private:
    ~VertexDeclarationImpl() override = default;
    std::vector<VertexElement> elements_;
};

using VertexBufferImpl = BufferImpl<VertexBuffer>;
using IndexBufferImpl = BufferImpl<IndexBuffer>;

// The implementation object behind an interface pointer the device handed out.
inline SurfaceImpl* Impl(Surface* s) { return static_cast<SurfaceImpl*>(s); }
inline TextureImpl* Impl(Texture* t) { return static_cast<TextureImpl*>(t); }
inline VertexBufferImpl* Impl(VertexBuffer* b) { return static_cast<VertexBufferImpl*>(b); }
inline IndexBufferImpl* Impl(IndexBuffer* b) { return static_cast<IndexBufferImpl*>(b); }

// Clips a rectangle (null: the whole area) to width x height; false when it is empty or lies
// partly outside.
bool ResolveRect(const Rect* rect, uint32_t width, uint32_t height, Rect* out);

}  // namespace platform::gfx
