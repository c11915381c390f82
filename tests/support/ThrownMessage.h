#pragma once
// One check for "this throws the program's message": the message a call
// throws as tabulon::Error, or a marker that it threw nothing.

#include <functional>
#include <string>

#include "text/Error.h"

namespace tabulon::testing {

inline std::string ThrownMessage(const std::function<void()>& call) {
    try {
        call();
    } catch (const Error& e) {
        return e.what();
    }
    return "<no error>";
}

}  // namespace tabulon::testing

#define EXPECT_THROW_MESSAGE(statement, message) \
    EXPECT_EQ(::tabulon::testing::ThrownMessage([&] { statement; }), std::string(message))
