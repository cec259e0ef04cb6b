// The desktop tests' program: Google Test, or the other program's window
// when started with --other-window.
#include <gtest/gtest.h>

#include "OtherWindow.h"

int main(int argc, char** argv) {
    int code = 0;
    if (RunOtherWindowIfAsked(argc, argv, code))
        return code;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
