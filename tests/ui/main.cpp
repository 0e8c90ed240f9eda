// SPDX-License-Identifier: GPL-3.0-or-later
// Widget tests need one QApplication for the whole run.
#include "ui/look.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstring>

int main(int argc, char* argv[]) {
    // Listing the tests needs no display.
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--gtest_list_tests") == 0) {
            ::testing::InitGoogleTest(&argc, argv);
            return RUN_ALL_TESTS();
        }
    QApplication application(argc, argv);
    tavlo::ui::applyLook(application);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
