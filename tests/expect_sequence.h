// EXPECT_SEQUENCE(device, mark, program, table): the journal against a table of steps; a failure
// names the first divergence and the line of the check.
#pragma once

#include <gtest/gtest.h>

#include "sequence.h"

#define EXPECT_SEQUENCE(device, mark, program, ...)                                                      \
    do {                                                                                                  \
        const std::string mismatch_ = pocket::sequenceMismatch((device), (mark), (program), __VA_ARGS__); \
        if (!mismatch_.empty()) ADD_FAILURE() << "sequence differs at " << mismatch_;                     \
    } while (0)
