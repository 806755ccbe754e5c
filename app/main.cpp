// The program's entry point: hands the game's callbacks and the arguments to the framework.
#include "framework/app/zeth.h"
#include "game/world/callbacks.h"

int main(int argc, char** argv) {
    Zeth::GameCallbacks game;
    game.init = GameInit;
    game.main = GameMain;
    game.keyHook = GameKeyHook;
    static int instance;
    return Zeth::Main(game, &instance, argc, argv);
}
