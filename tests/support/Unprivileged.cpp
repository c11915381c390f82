#include "Unprivileged.h"

#include <stdexcept>

#include "ChildProcess.h"

namespace tabulon::testing {

std::string RunUnprivileged(const std::function<std::string()>& action) {
    const ChildOutcome outcome = RunInChild(action, {.unprivileged = true});
    if (!outcome.completed) {
        throw std::runtime_error("unprivileged child failed");
    }
    return outcome.text;
}

}  // namespace tabulon::testing
