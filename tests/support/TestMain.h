#pragma once

#include <gtest/gtest.h>

#include <cstring>

// Runs the tests with an application object of the given kind, made only when tests actually
// run, so that listing the tests (CTest's discovery) needs no display.
template <typename Application>
int runTestsWith(int argc, char** argv)
{
    bool listing = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--gtest_list_tests") == 0) {
            listing = true;
        }
    }
    ::testing::InitGoogleTest(&argc, argv);
    if (listing) {
        return RUN_ALL_TESTS();
    }
    Application app(argc, argv);
    return RUN_ALL_TESTS();
}
