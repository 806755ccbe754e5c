#include "census.h"

#include <cxxabi.h>

#include <cstdlib>
#include <cstring>
#include <utility>

#include "framework/graphics/sprite.h"
#include "game/world/drawing.h"
#include "game/world/factory.h"
#include "game/world/object_controller.h"

namespace pinned {

const char* const kSheetNames[] = {"bullet", "enemy", "groundenemy", "shot", "pc",    "bg",
                                   "demo",   "font",  "effect",      "layer", nullptr};

namespace {

Census* g_census = nullptr;
ObjectConstructor g_objectMakers[kTypeCount] = {};
CharacterConstructor g_characterMakers[kCharacterCodeCount] = {};

template <int Id>
Object* CountObject(float x, float y, float a, float b, float c, float d) {
    g_census->objects[Id] += 1;
    return g_objectMakers[Id](x, y, a, b, c, d);
}

template <int Row>
Object* CountCharacter(float x, float y) {
    g_census->characters[Row] += 1;
    return g_characterMakers[Row](x, y);
}

template <int... Ids>
constexpr std::array<ObjectConstructor, sizeof...(Ids)> ObjectCounters(std::integer_sequence<int, Ids...>) {
    return {&CountObject<Ids>...};
}

template <int... Rows>
constexpr std::array<CharacterConstructor, sizeof...(Rows)> CharacterCounters(std::integer_sequence<int, Rows...>) {
    return {&CountCharacter<Rows>...};
}

constexpr auto kObjectCounters = ObjectCounters(std::make_integer_sequence<int, kTypeCount>());
constexpr auto kCharacterCounters = CharacterCounters(std::make_integer_sequence<int, kCharacterCodeCount>());

// The sheet a batch draws from (the layer batches draw the layer targets).
int32_t SheetOf(const CSprite2D* batch) {
    const GameSpriteSet& s = gameSprites;
    const std::pair<const CSprite2D*, int32_t> sheets[] = {
        {s.bullet, 0}, {s.enemy, 1},  {s.enemyflash, 1}, {s.enemyghost, 1}, {s.enemyghostflash, 1},
        {s.groundenemy, 2}, {s.shot, 3}, {s.pc, 4},  {s.bg, 5},  {s.bg2, 5},
        {s.demo, 6},   {s.font, 7},   {s.effect1, 8},    {s.effect2, 8},    {s.effect3, 8},
        {s.effect4, 8}, {s.target1, 9}, {s.target2, 9},
    };
    for (const auto& [sprite, sheet] : sheets) {
        if (sprite == batch) return sheet;
    }
    return -1;
}

void NoteCell(const CSprite2D* batch, const float* src, uint32_t) {
    const Object* drawer = worldController.drawing;
    g_census->drawn.insert({drawer != nullptr ? &typeid(*drawer) : nullptr, SheetOf(batch), src[0], src[1], src[2], src[3]});
}

}  // namespace

size_t DrawnCellHash::operator()(const DrawnCell& c) const {
    size_t h = std::hash<const void*>()(c.drawer) ^ static_cast<size_t>(c.sheet) * 0x9E3779B97F4A7C15ull;
    for (float f : {c.x, c.y, c.w, c.h}) {
        uint32_t bits;
        std::memcpy(&bits, &f, 4);
        h = (h ^ bits) * 1099511628211ull;
    }
    return h;
}

std::string ClassName(const std::type_info& type) {
    int status = 0;
    char* name = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
    std::string out = status == 0 && name != nullptr ? name : type.name();
    std::free(name);
    // Classes of an unnamed namespace or a namespace: the name alone.
    const size_t colon = out.rfind("::");
    if (colon != std::string::npos && out.find('<') == std::string::npos) out = out.substr(colon + 2);
    return out;
}

Census::Census() {
    g_census = this;
    for (int id = 0; id < kTypeCount; ++id) {
        g_objectMakers[id] = FindObjectConstructor(id);
        if (g_objectMakers[id] != nullptr) RegisterObjectClass(id, kObjectCounters[id]);
    }
    for (int row = 0; row < kCharacterCodeCount; ++row) {
        const int32_t code = kFirstCharacterCode + row;
        g_characterMakers[row] = kCharacterTable[row].className != nullptr ? FindCharacterConstructor(code) : nullptr;
        if (g_characterMakers[row] != nullptr) RegisterCharacterClass(code, kCharacterCounters[row]);
    }
    ZethSprite::SetSourceObserver(NoteCell);
}

Census::~Census() {
    ZethSprite::SetSourceObserver(nullptr);
    for (int id = 0; id < kTypeCount; ++id) {
        if (g_objectMakers[id] != nullptr) RegisterObjectClass(id, g_objectMakers[id]);
    }
    for (int row = 0; row < kCharacterCodeCount; ++row) {
        if (g_characterMakers[row] != nullptr) RegisterCharacterClass(kFirstCharacterCode + row, g_characterMakers[row]);
    }
    g_census = nullptr;
}

}  // namespace pinned
