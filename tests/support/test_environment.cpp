// Linked into every test program: tests run headless on SDL's dummy drivers and find the build
// folder (the program, its data) through TANZLOR_BUILD_DIR.
#include <cstdlib>

namespace {

struct TestEnvironment {
    TestEnvironment() {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        setenv("TANZLOR_BUILD_DIR", TANZLOR_BUILD_DIR, 0);
    }
};

const TestEnvironment g_environment;

}  // namespace
