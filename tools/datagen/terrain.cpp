#include "tools/datagen/terrain.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string>

#include "tools/datagen/looks.h"

namespace datagen {
namespace {

constexpr int kTile = 16;
constexpr double kTwoPi = 6.283185307179586;

// Shades of the shared palette by entry name ("moss2"); a missing entry stops the build.
class Shades {
public:
    explicit Shades(const SharedPalette& palette) : palette_(palette) {}
    Rgb operator()(std::string_view entry) const {
        const Rgb* colour = palette_.FindEntry(entry);
        if (colour == nullptr) throw std::runtime_error("terrain: the palette has no \"" + std::string(entry) + "\"");
        return *colour;
    }

private:
    const SharedPalette& palette_;
};

uint32_t Noise(int px, int py, int seed) {
    return TextureHash(static_cast<uint32_t>(px), static_cast<uint32_t>(py), static_cast<uint32_t>(seed));
}

// A wave that repeats every tile, so patterns meet their neighbours' without a seam.
double Wave(double t, double phase) {
    return std::sin(kTwoPi * t / kTile + phase);
}

// Distance from the texel centre to (cx, cy), measured on the tile's repeating plane.
double WrappedDistance(int px, int py, double cx, double cy, double* dx, double* dy) {
    const auto wrap = [](double d) { return d - kTile * std::floor(d / kTile + 0.5); };
    *dx = wrap(px + 0.5 - cx);
    *dy = wrap(py + 0.5 - cy);
    return std::hypot(*dx, *dy);
}

bool Within(int px, int py, double cx, double cy, double radius) {
    return std::hypot(px + 0.5 - cx, py + 0.5 - cy) < radius;
}

// --- Surfaces: the inside of each family, by texel; variants 1-3 add one quiet feature. ---

Rgb Meadow(const Shades& s, int px, int py, int variant) {
    if (variant == 1 && Within(px, py, 8, 8, 3.4)) return px + py < 14 ? s("moss4") : s("moss3");  // a bush
    if (variant == 1 && Within(px, py, 9, 9, 4.2)) return s("moss1");                              // its shadow
    if (variant == 2 && ((py == 5 && (px == 4 || px == 5)) || (py == 10 && px == 11))) return s("soil4");  // stones
    if (variant == 2 && ((py == 6 && (px == 4 || px == 5)) || (py == 11 && px == 11))) return s("soil1");
    if (variant == 3 && Noise(px, py, 5) % 11 == 0 && (px + py) % 3 == 0) return s("soil3");  // dry flowers
    // Blades of grass two texels tall, dark roots and a little bare earth, scattered.
    const auto blade = [&](int y) { return Noise(px, (y + kTile) % kTile, 11) % 13 == 0; };
    if (blade(py) || blade(py - 1)) return py % 2 == 0 ? s("moss3") : s("moss4");
    const uint32_t h = Noise(px, py, 17);
    if (h % 17 == 0) return s("moss1");
    if (h % 31 == 1) return s("soil2");
    return s("moss2");
}

// Crop rows on ploughed soil, the furrows running across the stage.
Rgb Field(const Shades& s, int px, int py, int variant) {
    if (variant == 1 && px >= 6 && px <= 9 && py >= 6 && py <= 8) return py == 6 ? s("soil4") : s("soil3");  // a bale
    if (variant == 2 && py % 4 == 0 && px >= 3 && px <= 7) return s("sea2");  // water in a furrow
    const uint32_t h = Noise(px, py, 23 + variant);
    switch (py % 4) {
        case 0: return h % 7 == 0 ? s("soil3") : s("soil1");
        case 1: return h % 5 == 0 ? s("soil3") : s("moss3");
        case 2: return h % 6 == 0 ? s("moss3") : s("moss2");
        default: return s("soil2");
    }
}

// Open water: a dark swell with short glints along the ripples.
Rgb Water(const Shades& s, int px, int py, int variant) {
    if (variant == 2 && Within(px, py, 8, 9, 2.3)) return px + py < 16 ? s("night4") : s("night2");  // a rock
    if (variant == 2 && Within(px, py, 8, 9, 3.3)) return s("sea4");                                // its foam
    if (variant == 3 && (Within(px, py, 5, 6, 1.6) || Within(px, py, 11, 11, 1.3))) return s("moss2");  // lilies
    if (py % 4 == 1 && (px + 5 * (py / 4) + 3 * variant) % 16 < 3) return variant == 1 && px > 8 ? s("sea4") : s("sea3");
    const double swell = Wave(px + 3 * py, 0.7) + 0.6 * Wave(2 * px - py, 2.1);
    if (swell < -1.0) return s("sea1");
    return Noise(px, py, 31) % 29 == 0 ? s("sea3") : s("sea2");
}

// Tree crowns in a staggered lattice, each lit from the upper left with its shade at the lower right.
Rgb Forest(const Shades& s, int px, int py, int variant) {
    constexpr std::array<std::array<double, 2>, 4> kCrowns{{{4, 4}, {12, 4}, {8, 12}, {0, 12}}};
    double best = 99.0, bx = 0.0, by = 0.0;
    int crown = 0;
    for (int i = 0; i < static_cast<int>(kCrowns.size()); ++i) {
        double dx = 0.0, dy = 0.0;
        const double d = WrappedDistance(px, py, kCrowns[i][0], kCrowns[i][1], &dx, &dy);
        if (d < best) best = d, bx = dx, by = dy, crown = i;
    }
    const bool autumn = variant == 1 && crown == 2;  // one crown of another tree
    if (variant == 2 && crown == 0) return best < 3.5 ? s("moss2") : s("moss1");  // a clearing
    if (best > 4.6) return Noise(px, py, 41) % 5 == 0 ? s("soil1") : s("moss1");
    const double light = bx + by;
    if (light < -3.2) return autumn ? s("soil4") : s("moss4");
    if (light < -0.8) return autumn ? s("soil3") : s("moss3");
    if (light > 2.8 || (variant == 3 && crown == 1)) return s("moss1");
    return autumn ? s("soil2") : s("moss2");
}

// Roofs of houses in blocks of four between lanes: ridges lit, slopes facing away in shade;
// slate roofs, with a clay one, a yard or lit windows in the variants.
Rgb Town(const Shades& s, int px, int py, int variant) {
    const int x = px % 8, y = py % 8;
    const int block = px / 8 + 2 * (py / 8);
    if (x == 7 || y == 7) return s("night1");  // lanes
    if (variant == 1 && block == 3) return (x + y) % 5 == 0 ? s("moss3") : s("moss2");  // a yard
    if (variant == 3 && block == 1 && y == 5 && (x == 1 || x == 4)) return s("yellow1");  // lit windows
    const bool clay = variant == 2 && block == 0;
    const int across = block == 1 || block == 2 ? x : y;  // ridges run across on some houses, along on others
    if (across == 3) return clay ? s("soil4") : s("night4");
    if (across < 3) return clay ? s("soil3") : s("night3");
    return clay ? s("soil2") : s("night2");
}

// Asphalt with a fine grain; its kerbs are the region's edges.
Rgb Road(const Shades& s, int px, int py, int variant) {
    if (variant == 1 && Within(px, py, 8, 8, 2.6)) return Within(px, py, 8, 8, 1.6) ? s("night3") : s("night1");
    if (variant == 2 && std::abs(px - py) <= 0 && px > 3 && px < 12) return s("night1");  // a crack
    if (variant == 3 && px >= 6 && px <= 9 && py >= 7 && py <= 8) return s("night4");      // a painted mark
    const uint32_t h = Noise(px, py, 53);
    return h % 13 == 0 ? s("night1") : h % 17 == 0 ? s("night3") : s("night2");
}

// Bare rock of the badlands: plates split by dark cracks, lit on their upper left, with pebbles.
Rgb Rock(const Shades& s, int px, int py, int variant) {
    if (variant == 1 && Within(px, py, 8, 8, 3.2)) return px + py < 15 ? s("soil4") : s("soil2");  // a boulder
    if (variant == 1 && Within(px, py, 9, 9, 4.0)) return s("soil1");
    if (variant == 2 && Within(px, py, 8, 8, 4.0) && !Within(px, py, 8, 8, 2.5)) return py < 8 ? s("soil1") : s("soil3");
    if (variant == 3 && Noise(px, py, 61) % 7 == 0 && py % 3 == 1) return s("moss2");  // scrub
    constexpr std::array<std::array<double, 2>, 5> kPlates{{{3, 4}, {11, 2}, {7, 10}, {14, 12}, {1, 13}}};
    double first = 99.0, second = 99.0, fx = 0.0, fy = 0.0;
    for (const auto& plate : kPlates) {
        double dx = 0.0, dy = 0.0;
        const double d = WrappedDistance(px, py, plate[0], plate[1], &dx, &dy);
        if (d < first) second = first, first = d, fx = dx, fy = dy;
        else if (d < second) second = d;
    }
    if (second - first < 0.9) return s("soil1");  // cracks between plates
    if (Noise(px, py, 67) % 31 == 0) return s("soil4");
    return fx + fy < -2.5 ? s("soil3") : s("soil2");
}

// Armour plates of a fortress: eight-texel plates with seams and lit upper-left edges.
Rgb Deck(const Shades& s, int px, int py, int variant) {
    if (variant == 1 && px >= 3 && px <= 12 && py >= 4 && py <= 11) return py % 2 == 0 ? s("night1") : s("steel1");  // a vent
    if (variant == 2 && Within(px, py, 8, 8, 5.5)) {  // a round hatch
        if (!Within(px, py, 8, 8, 4.5)) return px + py < 16 ? s("steel2") : s("steel1");
        return px == 7 || py == 7 ? s("night1") : s("night2");
    }
    if (variant == 3 && px >= 4 && px <= 11 && py >= 4 && py <= 11) {  // an inset panel
        if (px == 4 || py == 4) return s("night1");
        if (px == 11 || py == 11) return s("night4");
        return (px == 6 || px == 9) && (py == 6 || py == 9) ? s("steel1") : s("night2");
    }
    const int x = px % 8, y = py % 8;
    if (x == 7 || y == 7) return s("steel1");
    if (x == 0 || y == 0) return s("night4");
    if ((x == 1 || x == 5) && (y == 1 || y == 5) && (px / 8 + py / 8) % 2 == 0) return s("night2");  // bolts
    return s("night3");
}

// The fortress's sunken machinery: pipes and ribs in a dark recess.
Rgb Trench(const Shades& s, int px, int py, int variant) {
    if (variant == 1 && Within(px, py, 8, 10, 2.0)) return Within(px, py, 8, 10, 1.0) ? s("red2") : s("red1");  // a core light
    if (variant == 2 && px >= 10 && px <= 12) return px == 10 ? s("night4") : px == 11 ? s("night3") : s("steel1");  // a conduit
    if (variant == 3 && py >= 9 && py <= 14 && px >= 3 && px <= 12) return px % 2 == 0 ? s("night2") : s("night1");  // a grille
    if (py == 4) return s("night4");
    if (py == 5) return s("night3");
    if (py == 6) return s("steel1");
    if (py == 12) return s("night3");
    if (py == 13) return s("steel1");
    return px % 8 == 0 ? s("night2") : s("night1");
}

// --- Rims: the texels near a region's edge, by depth (0 the first texel inside, -1 the first
// outside) and whether the edge faces the light (the upper left). ---

// Ground that ends in open space: a lit lip on the upper left, a cliff face below and right.
Rgb MeadowRim(const Shades& s, int depth, bool lit, Rgb base) {
    if (depth == 0) return lit ? s("moss4") : s("moss1");
    if (!lit && depth == -1) return s("soil2");
    if (!lit && depth >= -3 && depth < -1) return s("soil1");
    return base;
}

Rgb RockRim(const Shades& s, int depth, bool lit, Rgb base) {
    if (depth == 0) return lit ? s("soil4") : s("soil1");
    if (!lit && depth >= -3 && depth < 0) return depth == -1 ? s("soil1") : s("night1");
    return base;
}

// A hedge around the field, its shadow on the meadow below and right.
Rgb FieldRim(const Shades& s, int depth, bool lit, Rgb base) {
    if (depth == 0) return lit ? s("moss3") : s("moss1");
    if (depth == -1) return s("moss1");
    return base;
}

// Sand on the bank; on the water the bank's shade near the upper left, shallows at the lower right.
Rgb WaterRim(const Shades& s, int depth, bool lit, Rgb base) {
    if (depth == 0) return lit ? s("sea1") : s("sea3");
    if (depth == 1 && lit) return s("sea1");
    if (depth == -1) return s("soil3");
    if (depth == -2) return lit ? s("soil2") : s("soil3");
    return base;
}

// The crowns' lit fringe and dark outline; their shadow falls on the meadow below and right.
Rgb ForestRim(const Shades& s, int depth, bool lit, Rgb base) {
    if (depth == 0) return lit ? s("moss4") : s("moss1");
    if (depth == -1 || depth == -2) return s("moss1");
    return base;
}

// Kerbs: lit on the upper left, in shade on the lower right, with a shadow on the verge.
Rgb KerbRim(const Shades& s, int depth, bool lit, Rgb base) {
    if (depth == 0) return lit ? s("night4") : s("night1");
    if (depth == -1 && !lit) return s("moss1");
    return base;
}

// Armour ending in space: a lit lip, and the hull's side below and right.
Rgb DeckRim(const Shades& s, int depth, bool lit, Rgb base) {
    if (depth == 0) return lit ? s("steel2") : s("steel1");
    if (!lit && depth == -1) return s("steel1");
    if (!lit && depth >= -3 && depth < -1) return s("night1");
    return base;
}

// A recess: its upper-left walls in shade, the far walls lit, a lip of armour around it.
Rgb TrenchRim(const Shades& s, int depth, bool lit, Rgb base) {
    if (depth == 0) return lit ? s("night1") : s("night4");
    if (depth == -1) return lit ? s("steel1") : s("steel2");
    return base;
}

using Surface = Rgb (*)(const Shades&, int px, int py, int variant);
using Rim = Rgb (*)(const Shades&, int depth, bool lit, Rgb base);

struct Family {
    const char* name;
    Surface surface;
    Surface surround;  // what lies outside the region; null for open space
    Rim rim;
    int depth;         // texels from the tile's side to the edge
    int wobble;        // how far the edge wanders either way (0: straight)
    double radius;     // corners rounded with this radius, or cut at 45 degrees when 0
};

constexpr std::array<Family, 9> kFamilies{{
    {"meadow", Meadow, nullptr, MeadowRim, 5, 2, 4.5},
    {"field", Field, Meadow, FieldRim, 3, 0, 2.0},
    {"water", Water, Meadow, WaterRim, 4, 2, 5.0},
    {"forest", Forest, Meadow, ForestRim, 4, 2, 4.0},
    {"town", Town, Meadow, KerbRim, 3, 0, 0.0},
    {"road", Road, Meadow, KerbRim, 3, 0, 3.0},
    {"rock", Rock, nullptr, RockRim, 5, 2, 3.5},
    {"deck", Deck, nullptr, DeckRim, 4, 0, 0.0},
    {"trench", Trench, Deck, TrenchRim, 3, 0, 0.0},
}};

const Family* FindFamily(std::string_view name) {
    for (const Family& family : kFamilies) {
        if (name == family.name) return &family;
    }
    return nullptr;
}

// Where a region's edge lies, in texels from the tile's side: the same wandering line on every
// tile of that side, so edges run on from tile to tile. Sides: 0 top, 1 bottom, 2 left, 3 right.
double EdgeLine(const Family& family, int side, int along) {
    const double wander = 0.6 * Wave(along, side * 1.7) + 0.4 * Wave(2 * along, side * 2.9 + 1.0);
    return family.depth + std::round(family.wobble * wander);
}

// How far the texel lies inside the region bounded by that side's edge (negative: outside).
double SideDepth(const Family& family, int side, int px, int py) {
    const int along = side < 2 ? px : py;
    const int from = side == 0 ? py : side == 1 ? kTile - 1 - py : side == 2 ? px : kTile - 1 - px;
    return from - EdgeLine(family, side, along);
}

// Depth in the region inside two edges at once, its corner rounded or cut.
double CornerDepth(const Family& family, double a, double b) {
    if (family.radius > 0.0) {
        const double r = family.radius;
        if (a >= r || b >= r) return std::min(a, b);
        return r - std::hypot(r - a, r - b);
    }
    constexpr double kCut = 3.0;
    return std::min(std::min(a, b), (a + b - kCut) / std::sqrt(2.0));
}

bool Lit(int side) { return side == 0 || side == 2; }

struct Place {
    int depth;  // 0 the first texel inside the edge, -1 the first outside
    bool lit;   // the nearest edge faces the upper left
};

// The texel's place in a family frame (frame order in terrain.h).
Place Locate(const Family& family, int frame, int px, int py) {
    constexpr std::array<std::array<int, 2>, 4> kCornerSides{{{0, 2}, {0, 3}, {1, 2}, {1, 3}}};
    if (frame >= 1 && frame <= 4) {
        const int side = frame - 1;
        return {static_cast<int>(std::floor(SideDepth(family, side, px, py))), Lit(side)};
    }
    if (frame >= 5 && frame <= 12) {
        const auto [first, second] = kCornerSides[(frame - 5) % 4];
        const double a = SideDepth(family, first, px, py);
        const double b = SideDepth(family, second, px, py);
        if (frame <= 8) return {static_cast<int>(std::floor(CornerDepth(family, a, b))), Lit(a <= b ? first : second)};
        // An inner corner: the region is everything but a notch bounded by the two edges.
        const double notch = CornerDepth(family, -1.0 - a, -1.0 - b);
        return {static_cast<int>(std::floor(-1.0 - notch)), Lit(a >= b ? first : second)};
    }
    return {kTile, true};
}

void DrawFamilyFrame(Image& sheet, int left, int top, int frame, const Family& family, const Shades& s) {
    const int variant = frame >= 13 ? frame - 12 : 0;
    for (int py = 0; py < kTile; ++py) {
        for (int px = 0; px < kTile; ++px) {
            const Place place = Locate(family, frame, px, py);
            const Rgb base = place.depth >= 0        ? family.surface(s, px, py, variant)
                             : family.surround != nullptr ? family.surround(s, px, py, 0)
                                                          : kTransparent;
            sheet.Set(left + px, top + py, family.rim(s, place.depth, place.lit, base));
        }
    }
}

// --- Single tiles that belong to no family. ---

// Open space: black but for one texel barely above it (a tile must show something), so that
// the same tile over and over does not draw a lattice of dots over the star field.
Rgb Space(const Shades& s, int px, int py, int) {
    return px == 11 && py == 5 ? s("night1") : kTransparent;
}

// The ghost modes' grid, tinted by the stage: the traces of a circuit board on black.
Rgb Grid(const Shades& s, int px, int py, int) {
    if (px == 0 || py == 0) return s("night4");
    if (Within(px, py, 8, 8, 2.0)) return Within(px, py, 8, 8, 1.0) ? kTransparent : s("steel2");
    if ((py == 8 && px > 9) || (px == 8 && py < 7)) return s("night3");
    if (px - py == 8 && px > 10) return s("night3");
    return kTransparent;
}

// The ground under a ground enemy: a bevelled eight-sided plate set into the terrain, marked by
// what stands on it: a ring for the stars and carriers, a square socket for the panels and small
// blocks, bars for the pads, a cross for the targets, bolts for the fortresses' sockets.
Rgb Plate(const Shades& s, int px, int py, int value) {
    const int edge = std::min(std::min(px, py), std::min(kTile - 1 - px, kTile - 1 - py));
    const int corner = std::min(std::min(px + py, kTile - 1 - px + py), std::min(px + kTile - 1 - py, 2 * (kTile - 1) - px - py));
    if (edge < 1 || corner < 5) return s("night1");
    if (edge == 1 || corner == 5) return px + py < kTile - 1 ? s("night4") : s("steel1");
    const double r = std::hypot(px - 7.5, py - 7.5);
    if (value <= 13 && r > 3.0 && r < 4.2) return s("night4");
    const bool onSquare = (px == 4 || px == 11 || py == 4 || py == 11) && px >= 4 && px <= 11 && py >= 4 && py <= 11;
    if (value >= 16 && value <= 23 && onSquare) return s("night4");
    if (value >= 25 && value <= 28 && (py == 5 || py == 10) && px > 3 && px < 12) return s("night4");
    if (value >= 45 && value <= 63 && (px == 7 || py == 7) && r < 4.6) return s("night4");
    if (value >= 96 && (px == 4 || px == 11) && (py == 4 || py == 11)) return s("steel2");
    return r < 2.0 ? s("night3") : s("night2");
}

// The walls that stop shots: 112-117, 118-123 and 124-129 are the front, middle and back rows of
// one bunker six blocks wide; 130 and 131 are single blocks. Concrete courses, the top face lit,
// the front in shade with firing slits.
Rgb Wall(const Shades& s, int px, int py, int value) {
    const int index = value - 112;
    const int column = index % 6, row = index / 6;
    const bool single = row == 3;
    const bool leftEnd = single || column == 0, rightEnd = single || column == 5;
    const bool back = single || row == 2, front = single || row == 0;
    if ((leftEnd && px == 0) || (rightEnd && px == kTile - 1) || (back && py == 0) || (front && py == kTile - 1)) {
        return s("steel1");
    }
    if (back && py <= 4) return py == 1 ? s("steel2") : s("night4");
    if (front && py >= 11) return py == 13 && px % 6 >= 2 && px % 6 <= 4 ? s("night1") : s("night2");
    if (py % 8 == 7 || (px + (py / 8) * 8 + column * 3) % 16 == 15) return s("steel1");
    return s("night3");
}

using Single = Rgb (*)(const Shades&, int px, int py, int value);

struct SingleKind {
    const char* name;
    Single draw;
};

constexpr std::array<SingleKind, 4> kSingles{{
    {"space", Space},
    {"grid", Grid},
    {"plate", Plate},
    {"wall", Wall},
}};

const SingleKind* FindSingle(std::string_view name) {
    for (const SingleKind& kind : kSingles) {
        if (name == kind.name) return &kind;
    }
    return nullptr;
}

}  // namespace

bool IsTerrainKind(std::string_view name) {
    return FindFamily(name) != nullptr || FindSingle(name) != nullptr;
}

void DrawTerrain(Image& sheet, const Cell& cell, const SharedPalette& palette) {
    const Shades shades(palette);
    const Family* family = FindFamily(cell.palette);
    const SingleKind* single = FindSingle(cell.palette);
    for (int frame = 0; frame < cell.Frames(); ++frame) {
        const int left = cell.x + (frame % cell.across) * cell.width;
        const int top = cell.y + (frame / cell.across) * cell.height;
        if (family != nullptr) {
            DrawFamilyFrame(sheet, left, top, frame, *family, shades);
            continue;
        }
        // Single tiles know their cell value from where they lie on the 16 x 16 tile sheet.
        const int value = (top / kTile) * 16 + left / kTile;
        for (int py = 0; py < cell.height; ++py) {
            for (int px = 0; px < cell.width; ++px) sheet.Set(left + px, top + py, single->draw(shades, px, py, value));
        }
    }
}

}  // namespace datagen
