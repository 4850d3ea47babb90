// Compares large line lists by count, size and hash, so that a failure
// prints a few lines instead of megabytes of diff.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

testing::AssertionResult same_lines(const std::vector<std::string>& got,
                                    const std::vector<std::string>& want);
