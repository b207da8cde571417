// Checks that a call fails with a stego::Failure of a given number whose
// message holds a given fragment.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "engine/Failure.h"

namespace testsupport {

inline void expectFailure(const std::string& what, const std::function<void()>& call, int number,
                          const std::string& fragment = {}) {
    try {
        call();
        ADD_FAILURE() << what << ": no failure";
    } catch (const stego::Failure& failure) {
        const std::string message = failure.what();
        EXPECT_EQ(failure.number(), number) << what << ": " << message;
        EXPECT_FALSE(message.empty()) << what;
        EXPECT_NE(message.find(fragment), std::string::npos) << what << ": " << message;
    }
}

}  // namespace testsupport
