// Compares two pictures pixel by pixel and names the first difference.
#pragma once
#include <string>

#include "gtest/gtest.h"
#include "tests/media/picture/test_pictures.h"

namespace pictest {

// Without withAlpha only the colours count.
inline ::testing::AssertionResult SamePixels(const Image& expected, const Image& actual, bool withAlpha) {
    if (expected.width != actual.width || expected.height != actual.height)
        return ::testing::AssertionFailure() << "size " << actual.width << "x" << actual.height << ", expected "
                                             << expected.width << "x" << expected.height;
    int wrong = 0;
    std::string first;
    for (int y = 0; y < expected.height; ++y)
        for (int x = 0; x < expected.width; ++x) {
            Rgba e = expected.at(x, y), a = actual.at(x, y);
            if (!withAlpha) e.a = a.a = 255;
            if (e == a) continue;
            if (wrong++ == 0)
                first = "(" + std::to_string(x) + "," + std::to_string(y) + ") is " + Describe(a) + ", expected " +
                        Describe(e);
        }
    if (wrong == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << wrong << " pixels differ, first " << first;
}

}  // namespace pictest
