#include "game/world/factory.h"

#include "framework/app/zeth.h"
#include "game/world/kinds.h"
#include "game/world/object_controller.h"
#include "game/world/type_table.h"

namespace {

// Function-local tables, so that registrations made during static initialisation of other files
// always find them built.
ObjectConstructor* ObjectConstructors() {
    static ObjectConstructor table[kTypeCount] = {};
    return table;
}

CharacterConstructor* CharacterConstructors() {
    static CharacterConstructor table[kCharacterCodeCount] = {};
    return table;
}

}  // namespace

bool RegisterObjectClass(int32_t typeId, ObjectConstructor make) {
    const TypeEntry* row = FindType(typeId);
    if (row == nullptr || row->className == nullptr) return false;
    ObjectConstructors()[typeId] = make;
    return true;
}

bool RegisterCharacterClass(int32_t code, CharacterConstructor make) {
    if (code < kFirstCharacterCode || code > kLastCharacterCode) return false;
    if (kCharacterTable[code - kFirstCharacterCode].className == nullptr) return false;
    CharacterConstructors()[code - kFirstCharacterCode] = make;
    return true;
}

ObjectConstructor FindObjectConstructor(int32_t typeId) {
    const TypeEntry* row = FindType(typeId);
    if (row == nullptr || row->className == nullptr) return nullptr;
    return ObjectConstructors()[typeId];
}

CharacterConstructor FindCharacterConstructor(int32_t code) {
    return CharacterConstructors()[CharacterRow(code).id - kFirstCharacterCode];
}

ClassRegistration::ClassRegistration(std::initializer_list<ObjectClass> classes) {
    for (const ObjectClass& c : classes) RegisterObjectClass(c.typeId, c.make);
}

ClassRegistration::ClassRegistration(std::initializer_list<CharacterClass> classes) {
    for (const CharacterClass& c : classes) RegisterCharacterClass(c.code, c.make);
}

Object* ObjectController::CreateObject(int32_t typeId, float x, float y, float a, float b, float c, float d,
                                       Object* owner) {
    ObjectConstructor make = FindObjectConstructor(typeId);
    if (make == nullptr) {
        Zeth::MessageBox(0, "test", "%s", "リストにないオブジェクト作るよう言われたよ＠オブジェクト管理クラス");
        return nullptr;
    }
    Object* object = make(x, y, a, b, c, d);
    object->self = object;
    object->owner = owner;
    int32_t kind = kTypeTable[typeId].kind;
    AddObject(object, kind);
    if (kind == kind::kScene) currentScene = object;
    if (kind::IsEnemyKind(kind)) {
        // Enemy life grows with the party: the product is computed in single precision, as
        // the record's fields are, and truncated toward zero.
        float scale = static_cast<float>(playerCount) * 0.7f + 0.3f;
        object->SetHp(static_cast<float>(static_cast<int32_t>(object->GetHp() * scale)));
    }
    return object;
}

Object* ObjectController::CreatePC(int32_t code) {
    CharacterConstructor make = FindCharacterConstructor(code);
    if (make == nullptr) return nullptr;
    Object* character = make(128.0f, 200.0f);
    character->self = character;
    if (CharacterRow(code).id == kPartyControllerCode) {
        if (pcController != nullptr) {
            pcController->Vanish();
            retiredControllers_.push_back(pcController);
        }
        pcController = character;
        return character;
    }
    AddObject(character, kind::kCharacter);
    character->owner = pcController;
    return character;
}
