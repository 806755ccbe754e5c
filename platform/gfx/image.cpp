// Loading image files into surfaces (with the colour key and scaling) and saving surfaces.
#include "platform/gfx/image.h"

#include <algorithm>
#include <cmath>

#include "platform/gfx/formats.h"
#include "platform/gfx/image_codec.h"
#include "platform/gfx/resources.h"

namespace platform::gfx {

namespace {

// The source pixels (and their weights) that make one destination pixel along one axis.
struct Tap {
    int first;                 // first source pixel
    std::vector<float> weights;
};

// Weights along one axis from `from` source pixels to `to` destination pixels. Shrinking with
// the box or triangle filter averages the covered source pixels by how much of each is covered;
// growing (and the linear filter) interpolates between the two nearest centres; point takes the
// nearest. Equal sizes copy.
std::vector<Tap> AxisTaps(int from, int to, uint32_t filterType) {
    std::vector<Tap> taps(static_cast<size_t>(to));
    const double scale = double(from) / double(to);
    const bool box = (filterType == imagefilter::kTriangle || filterType == imagefilter::kBox) &&
                     from > to;
    for (int d = 0; d < to; ++d) {
        Tap& tap = taps[size_t(d)];
        if (from == to) {
            tap = {d, {1.0f}};
        } else if (filterType == imagefilter::kPoint) {
            tap = {std::min(from - 1, int((d + 0.5) * scale)), {1.0f}};
        } else if (box) {
            const double start = d * scale, end = (d + 1) * scale;
            tap.first = int(start);
            for (int s = tap.first; s < from && s < end; ++s) {
                const double covered = std::min(end, s + 1.0) - std::max(start, double(s));
                tap.weights.push_back(float(covered / scale));
            }
        } else {
            const double centre = std::clamp((d + 0.5) * scale - 0.5, 0.0, double(from - 1));
            const int i0 = int(centre);
            const float f = float(centre - i0);
            tap = {i0, {1.0f - f, f}};
            if (i0 + 1 >= from) tap.weights.pop_back();
        }
    }
    return taps;
}

// Scales an ARGB picture with separable weights, each channel on its own.
std::vector<uint32_t> Resample(const std::vector<uint32_t>& src, int sw, int sh, int dw, int dh,
                               uint32_t filterType) {
    const std::vector<Tap> columns = AxisTaps(sw, dw, filterType);
    const std::vector<Tap> rows = AxisTaps(sh, dh, filterType);
    std::vector<float> across(size_t(sh) * size_t(dw) * 4);
    for (int y = 0; y < sh; ++y) {
        for (int x = 0; x < dw; ++x) {
            float sum[4] = {};
            const Tap& tap = columns[size_t(x)];
            for (size_t k = 0; k < tap.weights.size(); ++k) {
                const uint32_t p = src[size_t(y) * size_t(sw) + size_t(tap.first) + k];
                for (int c = 0; c < 4; ++c) sum[c] += float((p >> (24 - 8 * c)) & 0xFF) * tap.weights[k];
            }
            std::copy(sum, sum + 4, across.begin() + ptrdiff_t((size_t(y) * size_t(dw) + size_t(x)) * 4));
        }
    }
    std::vector<uint32_t> out(size_t(dw) * size_t(dh));
    for (int y = 0; y < dh; ++y) {
        const Tap& tap = rows[size_t(y)];
        for (int x = 0; x < dw; ++x) {
            float sum[4] = {};
            for (size_t k = 0; k < tap.weights.size(); ++k) {
                const float* p = &across[((size_t(tap.first) + k) * size_t(dw) + size_t(x)) * 4];
                for (int c = 0; c < 4; ++c) sum[c] += p[c] * tap.weights[k];
            }
            uint32_t pixel = 0;
            for (int c = 0; c < 4; ++c) {
                pixel |= uint32_t(std::clamp(std::floor(sum[c] + 0.5f), 0.0f, 255.0f)) << (24 - 8 * c);
            }
            out[size_t(y) * size_t(dw) + size_t(x)] = pixel;
        }
    }
    return out;
}

bool FormatHasAlpha(Format format) {
    return format == fmt::kA8R8G8B8 || format == fmt::kA4R4G4B4 || format == fmt::kA1R5G5B5 ||
           format == fmt::kA8;
}

}  // namespace

Result GetImageInfoFromFileInMemory(const void* data, size_t size, ImageInfo* info) {
    if (!data || !info) return result::kInvalidCall;
    return ReadImageInfo(static_cast<const uint8_t*>(data), size, info) ? result::kOk
                                                                          : result::kInvalidData;
}

Result LoadSurfaceFromFileInMemory(Surface* destination, const void*, const Rect* destinationRect,
                                   const void* data, size_t size, const Rect* sourceRect,
                                   uint32_t filterType, uint32_t colorKey, ImageInfo* info) {
    if (!destination || !data) return result::kInvalidCall;
    SurfaceImpl* target = Impl(destination);
    Rect to;
    if (target->IsDepth() || target->IsLocked() ||
        !ResolveRect(destinationRect, target->Width(), target->Height(), &to)) {
        return result::kInvalidCall;
    }
    DecodedImage image;
    if (!DecodeImage(static_cast<const uint8_t*>(data), size, &image)) return result::kInvalidData;
    if (info) *info = image.info;
    Rect from;
    if (!ResolveRect(sourceRect, image.info.width, image.info.height, &from)) {
        return result::kInvalidCall;
    }
    const int sw = from.right - from.left, sh = from.bottom - from.top;
    std::vector<uint32_t> picture(size_t(sw) * size_t(sh));
    for (int y = 0; y < sh; ++y) {
        for (int x = 0; x < sw; ++x) {
            uint32_t p = image.argb[size_t(from.top + y) * image.info.width + size_t(from.left + x)];
            if (colorKey != 0 && p == colorKey) p = 0;
            picture[size_t(y) * size_t(sw) + size_t(x)] = p;
        }
    }
    const int dw = to.right - to.left, dh = to.bottom - to.top;
    uint32_t filterType8 = filterType == imagefilter::kDefault ? imagefilter::kTriangle
                                                               : filterType & imagefilter::kFilterMask;
    if (filterType8 < imagefilter::kNone || filterType8 > imagefilter::kBox) return result::kInvalidCall;
    std::vector<uint32_t> scaled;
    if (filterType8 == imagefilter::kNone) {
        // No scaling: the picture's top-left part, transparent black where it does not reach.
        scaled.assign(size_t(dw) * size_t(dh), 0);
        for (int y = 0; y < std::min(dh, sh); ++y) {
            std::copy_n(picture.begin() + ptrdiff_t(y) * sw, std::min(dw, sw),
                        scaled.begin() + ptrdiff_t(y) * dw);
        }
    } else {
        scaled = Resample(picture, sw, sh, dw, dh, filterType8);
    }
    const Format format = target->GetFormat();
    for (int y = 0; y < dh; ++y) {
        uint32_t* row = target->Argb() + size_t(to.top + y) * target->Width() + size_t(to.left);
        for (int x = 0; x < dw; ++x) row[x] = QuantizeArgb(format, scaled[size_t(y) * size_t(dw) + size_t(x)]);
    }
    return result::kOk;
}

Result SaveSurfaceToFile(const char* path, uint32_t fileFormat, Surface* surface, const void*,
                         const Rect* sourceRect) {
    if (!path || !surface) return result::kInvalidCall;
    SurfaceImpl* s = Impl(surface);
    Rect area;
    if (s->IsDepth() || (fileFormat != imagefile::kBmp && fileFormat != imagefile::kPng) ||
        !ResolveRect(sourceRect, s->Width(), s->Height(), &area)) {
        return result::kInvalidCall;
    }
    const uint32_t w = uint32_t(area.right - area.left), h = uint32_t(area.bottom - area.top);
    std::vector<uint32_t> picture(size_t(w) * h);
    for (uint32_t y = 0; y < h; ++y) {
        std::copy_n(s->ArgbPixels() + size_t(area.top + int32_t(y)) * s->Width() + size_t(area.left), w,
                    picture.begin() + ptrdiff_t(y * w));
    }
    return EncodeImage(path, fileFormat, picture.data(), w, h, FormatHasAlpha(s->GetFormat()))
               ? result::kOk
               : result::kFail;
}

Result SaveTextureToFile(const char* path, uint32_t fileFormat, Texture* texture,
                         const void* palette) {
    if (!texture) return result::kInvalidCall;
    Surface* level = nullptr;
    const Result got = texture->GetSurfaceLevel(0, &level);
    if (Failed(got)) return got;
    const Result saved = SaveSurfaceToFile(path, fileFormat, level, palette, nullptr);
    level->Release();
    return saved;
}

}  // namespace platform::gfx
