// The framework's 4 x 4 float matrix: row vectors multiply from the left and the fourth row is
// the translation.
#pragma once

struct CMatrix {
    float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
};
