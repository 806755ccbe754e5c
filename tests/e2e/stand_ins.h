// Stand-ins for the stage scene (337) and the blast effect (272) in whole-game runs, and what a
// stand-in stage heard.
#pragma once

#include <cstdint>
#include <vector>

#include "game/world/factory.h"
#include "game/world/object.h"

namespace e2e {

inline std::vector<int32_t>& SceneCodes() {
    static std::vector<int32_t> codes;
    return codes;
}

class StandInStage : public Object {
public:
    StandInStage(float, float, float, float, float, float) {}
    void OnMessage(const Message& message) override { SceneCodes().push_back(message.Code()); }
};

// What a recording stand-in stage was told and given.
struct SceneRecord {
    std::vector<int32_t> codes;
    int32_t score = 0;
};

inline SceneRecord& RecordedScene() {
    static SceneRecord record;
    return record;
}

// Stands in for the stage script: keeps the codes and the score it is given.
class RecordingScene : public Object {
public:
    RecordingScene(float, float, float, float, float, float) { Init(); }
    void OnMessage(const Message& message) override { RecordedScene().codes.push_back(message.Code()); }
    void AddScore(int32_t value) override { RecordedScene().score += value; }
};

class StandInBlast : public Object {
public:
    StandInBlast(float px, float py, float, float, float, float) {
        x = px;
        y = py;
    }
    void Run(ObjectController*) override {
        if (++age > 20) Vanish();
    }
};

// Registers the stand-ins, then puts back what was there.
class StandIns {
public:
    StandIns() : stage_(FindObjectConstructor(337)), blast_(FindObjectConstructor(272)) {
        RegisterObjectClass(337, MakeObject<StandInStage>);
        RegisterObjectClass(272, MakeObject<StandInBlast>);
        SceneCodes().clear();
    }
    ~StandIns() {
        RegisterObjectClass(337, stage_);
        RegisterObjectClass(272, blast_);
    }

private:
    ObjectConstructor stage_;
    ObjectConstructor blast_;
};

}  // namespace e2e
