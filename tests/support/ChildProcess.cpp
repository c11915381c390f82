#include "ChildProcess.h"

#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <stdexcept>

namespace tabulon::testing {

namespace {

uint64_t AddressSpaceInUse() {
    std::ifstream statm("/proc/self/statm");
    uint64_t pages = 0;
    statm >> pages;
    return pages * static_cast<uint64_t>(::sysconf(_SC_PAGESIZE));
}

[[noreturn]] void RunAndReport(const std::function<std::string()>& action,
                               const ChildOptions& options, int out) {
    constexpr uid_t kNobody = 65534;
    if (options.unprivileged && ::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
        ::_exit(3);
    }
    if (options.extraAddressSpace && !UnderAddressSanitizer()) {
        const rlim_t ceiling = AddressSpaceInUse() + options.extraAddressSpace;
        const rlimit limit{ceiling, ceiling};
        if (::setrlimit(RLIMIT_AS, &limit) != 0) ::_exit(3);
    }
    ::alarm(options.seconds);
    std::string result;
    try {
        result = action();
    } catch (const std::exception& e) {
        result = std::string("exception: ") + e.what();
    }
    for (size_t done = 0; done < result.size();) {
        const ssize_t n = ::write(out, result.data() + done, result.size() - done);
        if (n <= 0) ::_exit(4);
        done += static_cast<size_t>(n);
    }
    ::_exit(0);
}

}  // namespace

bool UnderAddressSanitizer() {
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#else
    return false;
#endif
#else
    return false;
#endif
}

ChildOutcome RunInChild(const std::function<std::string()>& action, const ChildOptions& options) {
    int fds[2];
    if (::pipe(fds) != 0) throw std::runtime_error("pipe");
    const pid_t child = ::fork();
    if (child < 0) throw std::runtime_error("fork");
    if (child == 0) {
        ::close(fds[0]);
        RunAndReport(action, options, fds[1]);
    }
    ::close(fds[1]);
    ChildOutcome outcome;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        outcome.text.append(buffer, static_cast<size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    outcome.completed = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    outcome.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return outcome;
}

}  // namespace tabulon::testing
