#include "runtime/test_composition.h"

#include "runtime/show_runtime.h"
#include "runtime/test_layers.h"

namespace zelFramework {

void composeTestShow() {
    registerLayer(new Layer_TestGradient(), "testgradient");
    registerLayer(new Layer_TestSquare(), "testsquare");
    registerLayer(new Layer_TestFlash(), "testflash");
    scheduleLayer("testgradient", 0, 0, TEST_SHOW_END_MS);
    scheduleLayer("testsquare", 1, 0, TEST_SHOW_END_MS);
    scheduleLayer("testflash", 2, 4000, 4500);
}

}  // namespace zelFramework
