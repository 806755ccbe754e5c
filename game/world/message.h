// The event call between game objects: a count and a code as the sender gives them, then up to
// eight arguments, each an int, a float, an object or the world controller. Msg builds one from
// the sender's arguments in order, so a call site reads Msg(5, stage_message::kEnemyKilled, ctx, x, y)
// (the codes are named in message_codes.h).
#pragma once

#include <cstdint>
#include <type_traits>

class Object;
class ObjectController;

class Message {
public:
    static constexpr int kMaxArguments = 8;  // the party set-up: four characters with their ids

    enum class Type : uint8_t { kNone, kInt, kFloat, kObject, kController };

    Message(int32_t count, int32_t code) : count_(count), code_(code) {}

    int32_t Count() const { return count_; }  // the count as the sender gave it
    int32_t Code() const { return code_; }
    int ArgumentCount() const { return used_; }  // the arguments actually carried
    Type TypeOf(int index) const { return InRange(index) ? args_[index].type : Type::kNone; }

    // Readers by position (0 = the first argument after the code). A float read as an int is
    // truncated and an int read as a float converted; anything else missing reads as 0 or null.
    int32_t Int(int index) const;
    float Float(int index) const;
    Object* ObjectAt(int index) const;
    ObjectController* ControllerAt(int index) const;

    void Add(int32_t value);
    void Add(float value);
    void Add(Object* value);
    void Add(ObjectController* value);

private:
    struct Argument {
        Type type = Type::kNone;
        union {
            int32_t i;
            float f;
            Object* object;
            ObjectController* controller;
        };
        Argument() : i(0) {}
    };

    bool InRange(int index) const { return index >= 0 && index < used_; }

    int32_t count_;
    int32_t code_;
    int used_ = 0;
    Argument args_[kMaxArguments];
};

namespace message_detail {

// Narrows one sender argument to a carried type: integers to int, floating point to float,
// pointers to anything derived from Object to Object*.
template <typename T>
void AddOne(Message& message, T value) {
    if constexpr (std::is_same_v<T, ObjectController*>) {
        message.Add(value);
    } else if constexpr (std::is_pointer_v<T> || std::is_null_pointer_v<T>) {
        message.Add(static_cast<Object*>(value));
    } else if constexpr (std::is_floating_point_v<T>) {
        message.Add(static_cast<float>(value));
    } else {
        static_assert(std::is_integral_v<T> || std::is_enum_v<T>, "message arguments are ints, floats or objects");
        message.Add(static_cast<int32_t>(value));
    }
}

}  // namespace message_detail

// Builds a message from the sender's count, code and arguments, in order.
template <typename... Args>
Message Msg(int32_t count, int32_t code, Args... args) {
    static_assert(sizeof...(Args) <= Message::kMaxArguments, "too many message arguments");
    Message message(count, code);
    (message_detail::AddOne(message, args), ...);
    return message;
}
