#include <QApplication>
#include <gtest/gtest.h>

#include <cstring>

// A widget application object is made only when tests actually run, so that listing the tests
// (CTest's discovery) needs no display.
int main(int argc, char** argv)
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
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
