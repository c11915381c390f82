#include "text/InParallel.h"

#include <algorithm>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace tabulon {

namespace {

constexpr size_t kMostParts = 8;

}  // namespace

size_t PartsFor(size_t work, size_t leastPerPart) {
    // Asked once: the library reads a system file for it each time, and a
    // save asks once for every hundredth of its records.
    static const size_t cores = std::max(1U, std::thread::hardware_concurrency());
    return std::clamp<size_t>(work / leastPerPart, 1, std::min(cores, kMostParts));
}

void RunParts(size_t parts, const std::function<void(size_t part)>& work) {
    std::vector<std::exception_ptr> failures(parts);
    const auto run = [&](size_t part) {
        try {
            work(part);
        } catch (...) {
            failures[part] = std::current_exception();
        }
    };
    {
        std::vector<std::jthread> threads;
        threads.reserve(parts);
        for (size_t part = 1; part < parts; ++part) {
            try {
                threads.emplace_back(run, part);
            } catch (const std::system_error&) {
                run(part);  // no thread to be had: this one does the part
            }
        }
        if (parts > 0) run(0);
    }
    for (const std::exception_ptr& failure : failures) {
        if (failure) std::rethrow_exception(failure);
    }
}

}  // namespace tabulon
