// The registry behind the two factories. Each family's source file registers its classes'
// constructors by type id (or character code) with a static ClassRegistration, so a new family
// adds classes without touching the factory. An id listed in the type table whose class is not
// registered behaves as an unassigned id. Programs link the target "game", which takes every
// game library whole, so that no family's registration is dropped by the linker.
#pragma once

#include <cstdint>
#include <initializer_list>

class Object;

using ObjectConstructor = Object* (*)(float x, float y, float a, float b, float c, float d);
using CharacterConstructor = Object* (*)(float x, float y);

template <typename T>
Object* MakeObject(float x, float y, float a, float b, float c, float d) {
    return new T(x, y, a, b, c, d);
}

template <typename T>
Object* MakeCharacter(float x, float y) {
    return new T(x, y);
}

// Registers (or with null, withdraws) a constructor; false for an id the table has no class for.
bool RegisterObjectClass(int32_t typeId, ObjectConstructor make);
bool RegisterCharacterClass(int32_t code, CharacterConstructor make);

// The registered constructor of a type id, or null.
ObjectConstructor FindObjectConstructor(int32_t typeId);
// The registered constructor of the class a character code makes, or null.
CharacterConstructor FindCharacterConstructor(int32_t code);

struct ObjectClass {
    int32_t typeId;
    ObjectConstructor make;
};

struct CharacterClass {
    int32_t code;
    CharacterConstructor make;
};

// The registration row of a class that names its own type id in a member kTypeId.
template <typename T>
constexpr ObjectClass ClassOf() {
    return {T::kTypeId, MakeObject<T>};
}

// A family's registration, made as a static object in its source file.
struct ClassRegistration {
    ClassRegistration(std::initializer_list<ObjectClass> classes);
    ClassRegistration(std::initializer_list<CharacterClass> classes);
};
