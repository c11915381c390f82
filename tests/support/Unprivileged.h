#pragma once
// File permissions do not bind root, and tests often run as root. This runs a
// piece of a test in a child process that has given up root (it becomes
// "nobody"), and hands back the text the piece returned.

#include <functional>
#include <string>

namespace tabulon::testing {

std::string RunUnprivileged(const std::function<std::string()>& action);

}  // namespace tabulon::testing
