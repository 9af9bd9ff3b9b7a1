// Helpers for tests of failures: the message of the k_Failure an operation raises, and a
// check that a message names every part it should.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Failure.h"
#include "WideText.h"

// Runs operation, which must raise a k_Failure, and returns its message (a test failure and
// an empty message when it raises none).
template <typename Operation>
std::wstring FailureOf(Operation operation) {
    try {
        operation();
    } catch (const k_Failure& failure) {
        return failure.Message();
    }
    ADD_FAILURE() << "no failure was raised";
    return {};
}

// Whether text holds every one of parts.
inline ::testing::AssertionResult Contains(const std::wstring& text, const std::vector<std::wstring>& parts) {
    for (const std::wstring& part : parts) {
        if (text.find(part) == std::wstring::npos) {
            return ::testing::AssertionFailure() << "\"" << ToUtf8(text) << "\" lacks \"" << ToUtf8(part) << "\"";
        }
    }
    return ::testing::AssertionSuccess();
}
