#include "tools/datagen/looks.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace datagen {
namespace {

enum Shade { kNone, kDark, kMid, kLight };

// A texel of a frame: its place inside the frame and its centre in the frame's [-1, 1] square.
struct Texel {
    int px;
    int py;
    double u;
    double v;
};

// The frame's animation phase, 0 up to (not including) 1.
double Phase(const LookFrame& area) {
    return static_cast<double>(area.frame) / area.frames;
}

constexpr double kTwoPi = 6.283185307179586;

template <typename ShadeOf>
void Paint(Image& sheet, const LookFrame& area, ShadeOf shadeOf) {
    for (int py = 0; py < area.height; ++py) {
        for (int px = 0; px < area.width; ++px) {
            const Texel texel{px, py, (px + 0.5) / area.width * 2.0 - 1.0, (py + 0.5) / area.height * 2.0 - 1.0};
            const Shade shade = shadeOf(texel);
            const Rgb colour = shade == kDark    ? area.palette.dark
                               : shade == kMid   ? area.palette.mid
                               : shade == kLight ? area.palette.light
                                                 : kTransparent;
            sheet.Set(area.x + px, area.y + py, colour);
        }
    }
}

void DrawShip(Image& sheet, const LookFrame& area) {
    const double flame = 0.2 + 0.15 * std::sin(kTwoPi * Phase(area));
    Paint(sheet, area, [&](const Texel& t) {
        const double spread = 0.2 + 0.5 * (t.v + 0.9) / 1.5;
        if (t.u * t.u / 0.02 + (t.v + 0.15) * (t.v + 0.15) / 0.06 <= 1.0) return kLight;  // cockpit
        if (t.v >= -0.9 && t.v <= 0.6 && std::abs(t.u) <= spread) {
            return std::abs(t.u) > spread - 0.2 ? kDark : kMid;
        }
        if (t.v >= 0.1 && t.v <= 0.55 && std::abs(t.u) <= 0.95) return kDark;        // wings
        if (t.v > 0.6 && t.v <= 0.6 + flame && std::abs(t.u) < 0.18) return kLight;  // exhaust
        return kNone;
    });
}

void DrawOrb(Image& sheet, const LookFrame& area) {
    const double size = 0.88 + 0.12 * std::sin(kTwoPi * Phase(area));
    Paint(sheet, area, [&](const Texel& t) {
        const double r = std::hypot(t.u, t.v) / size;
        if (r > 1.0) return kNone;
        if (std::hypot(t.u / size + 0.35, t.v / size + 0.35) < 0.3) return kLight;
        return r > 0.75 ? kDark : kMid;
    });
}

void DrawDiamond(Image& sheet, const LookFrame& area) {
    // The frames turn the diamond about its vertical axis.
    const double squeeze = std::max(0.25, std::abs(std::cos(kTwoPi * Phase(area) / 2.0)));
    Paint(sheet, area, [&](const Texel& t) {
        const double d = std::abs(t.u / squeeze) + std::abs(t.v);
        if (d > 1.0) return kNone;
        if (d < 0.35) return kLight;
        return d > 0.75 ? kDark : kMid;
    });
}

void DrawRing(Image& sheet, const LookFrame& area) {
    const double size = 0.9 + 0.1 * std::sin(kTwoPi * Phase(area));
    Paint(sheet, area, [&](const Texel& t) {
        const double r = std::hypot(t.u, t.v) / size;
        if (r > 1.0 || r < 0.6) return kNone;
        if (r < 0.7) return kLight;
        return r > 0.9 ? kDark : kMid;
    });
}

void DrawBar(Image& sheet, const LookFrame& area) {
    const bool wide = area.width >= area.height;
    const int shift = area.frame * 2;
    Paint(sheet, area, [&](const Texel& t) {
        const double across = std::abs(wide ? t.v : t.u);
        const int along = (wide ? t.px : t.py) + shift;
        if (across < 0.35) return (along / 4) % 2 == 0 ? kLight : kMid;
        return across < 0.7 ? kMid : kDark;
    });
}

void DrawBlock(Image& sheet, const LookFrame& area) {
    Paint(sheet, area, [&](const Texel& t) {
        if (t.px == 0 || t.py == 0) return kLight;
        if (t.px == area.width - 1 || t.py == area.height - 1) return kDark;
        // Rivets in the corners mark the block as solid.
        const bool rivet = (t.px == 2 || t.px == area.width - 3) && (t.py == 2 || t.py == area.height - 3);
        return rivet ? kDark : kMid;
    });
}

// Ground: dark, with a faint surface that differs from frame to frame, so backgrounds stay
// quiet behind the sprites.
void DrawTile(Image& sheet, const LookFrame& area) {
    const int pattern = area.frame % 4;
    Paint(sheet, area, [&](const Texel& t) {
        if (TextureHash(t.px, t.py, area.frame) % 24 == 0) return kMid;
        switch (pattern) {
            case 1:  // bricks
                return (t.py % 8 == 7 || (t.px + (t.py / 8) * 4) % 8 == 7) ? kMid : kDark;
            case 2:  // diagonal furrows
                return (t.px + t.py) % 8 == 0 ? kMid : kDark;
            case 3:  // studs
                return (t.px % 8 == 3 && t.py % 8 == 3) ? kLight : kDark;
            default:
                return kDark;
        }
    });
}

void DrawFrame(Image& sheet, const LookFrame& area) {
    Paint(sheet, area, [&](const Texel& t) {
        const int edge = std::min(std::min(t.px, t.py), std::min(area.width - 1 - t.px, area.height - 1 - t.py));
        if (edge == 0) return kLight;
        if (edge == 1) return kMid;
        if (edge == 2) return kDark;
        return kNone;
    });
}

// A solid arrow pointing right; its middle is plain light, so small patches of it can be
// stretched as flat colour.
void DrawArrow(Image& sheet, const LookFrame& area) {
    Paint(sheet, area,
          [&](const Texel& t) { return std::abs(t.v) <= 1.0 - (t.u + 1.0) / 2.0 + 0.25 ? kLight : kNone; });
}

// A person seen from the front; the four poses of a cycle move the arms and legs.
void DrawFigure(Image& sheet, const LookFrame& area) {
    const int pose = area.frame % 4;
    const double armLift = std::array<double, 4>{-0.6, 0.0, 0.4, -0.2}[pose];
    const double legSpread = std::array<double, 4>{0.15, 0.3, 0.15, 0.45}[pose];
    Paint(sheet, area, [&](const Texel& t) {
        if (std::hypot(t.u * 2.0, (t.v + 0.7) * 2.4) < 0.45) return kLight;  // head
        if (std::abs(t.u) < 0.22 && t.v > -0.45 && t.v < 0.3) return kMid;   // body
        const double arm = -0.35 + armLift * (std::abs(t.u) - 0.2);
        if (std::abs(t.u) >= 0.2 && std::abs(t.u) < 0.7 && std::abs(t.v - arm) < 0.07) return kMid;
        const double leg = 0.08 + legSpread * (t.v - 0.3) / 0.65;
        if (t.v >= 0.3 && t.v < 0.95 && std::abs(std::abs(t.u) - leg) < 0.08) return kDark;
        return kNone;
    });
}

// A dark plate with a light border and its text in the middle, in 8 x 8 glyphs.
void DrawLabel(Image& sheet, const LookFrame& area, const GlyphSource& glyphs) {
    Paint(sheet, area, [&](const Texel& t) {
        const bool border = t.px == 0 || t.py == 0 || t.px == area.width - 1 || t.py == area.height - 1;
        return border ? kLight : kDark;
    });
    const int textWidth = static_cast<int>(area.text.size()) * 8;
    const int left = area.x + (area.width - textWidth) / 2;
    const int top = area.y + (area.height - 8) / 2;
    for (size_t i = 0; i < area.text.size(); ++i) {
        const char c = area.text[i];
        if (c <= 0x20 || c > 0x7E) continue;
        const GlyphRows rows = glyphs.Glyph(static_cast<char32_t>(c) + 0xFEE0);
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                const int sx = left + static_cast<int>(i) * 8 + x;
                const int sy = top + y;
                const bool inside =
                    sx > area.x && sy > area.y && sx < area.x + area.width - 1 && sy < area.y + area.height - 1;
                if (inside && (rows[y] & (0x80 >> x))) sheet.Set(sx, sy, area.palette.light);
            }
        }
    }
}

using LookDrawer = void (*)(Image&, const LookFrame&);

struct LookEntry {
    const char* name;
    LookDrawer draw;  // null for the label, which needs the glyphs
};

constexpr std::array<LookEntry, 11> kLooks{{
    {"ship", DrawShip},
    {"orb", DrawOrb},
    {"diamond", DrawDiamond},
    {"ring", DrawRing},
    {"bar", DrawBar},
    {"block", DrawBlock},
    {"tile", DrawTile},
    {"frame", DrawFrame},
    {"figure", DrawFigure},
    {"arrow", DrawArrow},
    {"label", nullptr},
}};

const LookEntry* FindLook(std::string_view name) {
    for (const LookEntry& look : kLooks) {
        if (name == look.name) return &look;
    }
    return nullptr;
}

}  // namespace

uint32_t TextureHash(uint32_t a, uint32_t b, uint32_t c) {
    uint32_t h = a * 0x9E3779B1u ^ b * 0x85EBCA77u ^ c * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    return h;
}

std::optional<Palette> LookPalette(const SharedPalette& shared, std::string_view hue) {
    constexpr std::string_view kDarkSuffix = "-dark";
    const bool dark = hue.size() > kDarkSuffix.size() && hue.substr(hue.size() - kDarkSuffix.size()) == kDarkSuffix;
    const Ramp* ramp = shared.FindRamp(dark ? hue.substr(0, hue.size() - kDarkSuffix.size()) : hue);
    if (ramp == nullptr) return std::nullopt;
    const size_t first = dark ? 0 : ramp->shades.size() - 3;
    return Palette{ramp->shades[first], ramp->shades[first + 1], ramp->shades[first + 2]};
}

bool IsKnownLook(std::string_view name) {
    return FindLook(name) != nullptr;
}

void DrawLook(Image& sheet, std::string_view look, const LookFrame& area, const GlyphSource& glyphs) {
    const LookEntry* entry = FindLook(look);
    if (entry->draw != nullptr) {
        entry->draw(sheet, area);
    } else {
        DrawLabel(sheet, area, glyphs);
    }
}

void DrawPlaceholder(Image& sheet) {
    constexpr Rgb kLightSquare{40, 40, 48};
    constexpr Rgb kDarkSquare{26, 26, 32};
    constexpr Rgb kDiagonal{60, 44, 60};
    for (int y = 0; y < sheet.Height(); ++y) {
        for (int x = 0; x < sheet.Width(); ++x) {
            const bool diagonal = (x + y) % 16 == 0;
            const bool light = ((x / 8) + (y / 8)) % 2 == 0;
            sheet.Set(x, y, diagonal ? kDiagonal : light ? kLightSquare : kDarkSquare);
        }
    }
}

}  // namespace datagen
