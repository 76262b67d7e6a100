// The browser is started by xdg-open in a grandchild: the middle child exits
// at once and is reaped here, so the host is neither blocked nor left with a
// zombie, and the grandchild belongs to init. Between fork and exec only
// async-signal-safe calls are made, as the host may run other threads.
#include "gui/platform/native_window.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace Wispkit::platform {

namespace {

// The first executable xdg-open along PATH, found before forking.
std::string findOpener() {
    const char* path = std::getenv("PATH");
    std::string dirs = path != nullptr && *path != 0 ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        std::string candidate = dirs.substr(start, end - start);
        if (candidate.empty()) candidate = ".";
        candidate += "/xdg-open";
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
        start = end + 1;
    }
    return {};
}

int highestDescriptor() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur > 65536)
        return 65536;
    return static_cast<int>(limit.rlim_cur);
}

}  // namespace

void openAddress(const char* address) {
    if (address == nullptr || *address == 0) return;
    const std::string opener = findOpener();
    if (opener.empty()) return;
    const int lastDescriptor = highestDescriptor();
    char* const argv[] = {const_cast<char*>("xdg-open"), const_cast<char*>(address), nullptr};

    const pid_t child = fork();
    if (child < 0) return;
    if (child == 0) {
        setsid();
        if (fork() == 0) {
            // The browser must not hold on to the host's files, sockets or devices.
            for (int fd = 3; fd < lastDescriptor; ++fd) close(fd);
            execv(opener.c_str(), argv);
        }
        _exit(0);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace Wispkit::platform
