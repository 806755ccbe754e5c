#include "game/world/message.h"

int32_t Message::Int(int index) const {
    if (!InRange(index)) return 0;
    const Argument& a = args_[index];
    if (a.type == Type::kInt) return a.i;
    if (a.type == Type::kFloat) return static_cast<int32_t>(a.f);
    return 0;
}

float Message::Float(int index) const {
    if (!InRange(index)) return 0.0f;
    const Argument& a = args_[index];
    if (a.type == Type::kFloat) return a.f;
    if (a.type == Type::kInt) return static_cast<float>(a.i);
    return 0.0f;
}

Object* Message::ObjectAt(int index) const {
    return InRange(index) && args_[index].type == Type::kObject ? args_[index].object : nullptr;
}

ObjectController* Message::ControllerAt(int index) const {
    return InRange(index) && args_[index].type == Type::kController ? args_[index].controller : nullptr;
}

void Message::Add(int32_t value) {
    if (used_ == kMaxArguments) return;
    args_[used_].type = Type::kInt;
    args_[used_++].i = value;
}

void Message::Add(float value) {
    if (used_ == kMaxArguments) return;
    args_[used_].type = Type::kFloat;
    args_[used_++].f = value;
}

void Message::Add(Object* value) {
    if (used_ == kMaxArguments) return;
    args_[used_].type = Type::kObject;
    args_[used_++].object = value;
}

void Message::Add(ObjectController* value) {
    if (used_ == kMaxArguments) return;
    args_[used_].type = Type::kController;
    args_[used_++].controller = value;
}
