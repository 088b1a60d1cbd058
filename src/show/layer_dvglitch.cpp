#include "show/layer_dvglitch.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <cmath>

#include "platform/platform.h"

namespace zelFramework {

void buildDvPattern(DvCells& cells) {
    showSrand(1);
    cells.fill(0);
    for (int i = 0; i < DV_CELLS;) {
        cells[size_t(i)] = uint8_t(showRand() % 255);
        i += showRand() % 40 + 1;
    }
    for (int i = 0; i < DV_CELLS; ++i) {
        if (cells[size_t(i)] == 0) continue;
        float p = float(showRand() % 1000) / 1000.0f;
        p = float(std::pow(double(p), 8.0));
        const int n = int(float(showRand() % 90) * p);
        if (n > 0) {
            // A run that would reach past the grid is dropped rather than cut short.
            if (i + n < DV_CELLS)
                for (int k = 1; k <= n; ++k) cells[size_t(i + k)] = cells[size_t(i)];
            i += n;
        }
    }
}

DvCellColour dvCellColour(uint8_t v) {
    showSrand(v);
    const float g = float(showRand() % 255) / 255.0f;
    if (showRand() % 16 > 8) return {1.0f, 0.2f, 1.0f};
    return {g, g, g};
}

void Layer_DVGlitch::render() {
    buildDvPattern(cells);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0.0, DV_COLUMNS, 0.0, DV_ROWS);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glBegin(GL_QUADS);
    for (int x = 0; x < DV_COLUMNS; ++x) {
        for (int y = 0; y < DV_ROWS; ++y) {
            const uint8_t v = cells[size_t(x + DV_COLUMNS * y)];
            if (v == 0) continue;
            const DvCellColour c = dvCellColour(v);
            glColor3f(c.r, c.g, c.b);
            const float fx = float(x), fy = float(y);
            glVertex2f(fx, fy);
            glVertex2f(fx + 1.0f, fy);
            glVertex2f(fx + 1.0f, fy + 1.0f);
            glVertex2f(fx, fy + 1.0f);
        }
    }
    glEnd();
}

}  // namespace zelFramework
