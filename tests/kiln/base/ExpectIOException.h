#pragma once

#include "kiln/base/Exception.h"

#include <gtest/gtest.h>

#include <cstring>

// Runs action and checks that it raises an IOException with the code and
// module path given, carrying a line.
#define EXPECT_IO_EXCEPTION(action, expectedCode, expectedModule)                              \
    do {                                                                                       \
        try {                                                                                  \
            action;                                                                            \
            ADD_FAILURE() << #action " raised nothing";                                        \
        } catch (const KILN::IOException& e) {                                                 \
            EXPECT_EQ(e.code(), (expectedCode)) << #action;                                    \
            EXPECT_STREQ(e.sourceFile(), (expectedModule)) << #action;                         \
            EXPECT_GT(e.line(), 0) << #action;                                                 \
        }                                                                                      \
    } while (0)
