#include <gtest/gtest.h>

#include "app/CLmnApp.h"

// One application object for the whole test run, as in the program.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    CLmnApp app(argc, argv);
    return RUN_ALL_TESTS();
}
