#include "game/world/score_data.h"

void ScoreData::Clear() { *this = ScoreData(); }

bool ScoreData::Load(ObjectController*) { return false; }
