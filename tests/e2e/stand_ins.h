// Stand-ins for the stage scene (337) and the blast effect (272) in whole-game runs, what a
// stand-in stage heard, and the one-character game the runs start.
#pragma once

#include <cstdint>
#include <vector>

#include "game/world/factory.h"
#include "game/world/object.h"
#include "game/world/object_controller.h"
#include "game/world/type_table.h"

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

// A game of Natsuki alone (character 11; seats 12-14 hold no one) in the first formation. The
// aimed fire's pacing counter lives in the controller across games: every run starts it from 0.
inline void StartNatsukiAlone(ObjectController& world) {
    world.StartGame(11, 12, 13, 14, 1, 0, 0);
    world.shotCounter = 0;
}

// Registers the stand-ins, then puts back what was there.
class StandIns {
public:
    StandIns() : stage_(FindObjectConstructor(type_id::Script)), blast_(FindObjectConstructor(type_id::EF_Blast_01)) {
        RegisterObjectClass(type_id::Script, MakeObject<StandInStage>);
        RegisterObjectClass(type_id::EF_Blast_01, MakeObject<StandInBlast>);
        SceneCodes().clear();
    }
    ~StandIns() {
        RegisterObjectClass(type_id::Script, stage_);
        RegisterObjectClass(type_id::EF_Blast_01, blast_);
    }

private:
    ObjectConstructor stage_;
    ObjectConstructor blast_;
};

}  // namespace e2e
