#pragma once
// Runs a piece of a test in a child process, so that what it does to its
// process (a memory ceiling, a hang, giving up root, a signal) cannot harm the
// test runner, and hands back the text the piece returned.

#include <cstdint>
#include <functional>
#include <string>

namespace tabulon::testing {

struct ChildOptions {
    bool unprivileged = false;       // give up root first (become "nobody")
    uint64_t extraAddressSpace = 0;  // address space the child may add; 0: no ceiling
    unsigned seconds = 60;           // ended by SIGALRM after this
};

struct ChildOutcome {
    bool completed = false;  // the piece ran to its end, returning or throwing
    std::string text;        // what it returned, or "exception: " and the message
    int signal = 0;          // the signal that ended the child, if one did
};

ChildOutcome RunInChild(const std::function<std::string()>& action,
                        const ChildOptions& options = {});

// Whether this build runs under AddressSanitizer, whose shadow memory makes
// an address-space ceiling meaningless.
bool UnderAddressSanitizer();

}  // namespace tabulon::testing
