#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "services/platform/platform.h"
#include "services/user_files.h"

namespace Services {

namespace {

bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        std::size_t allowed = platform::takeDiskSpace(bytes.size() - done);
        if (allowed == 0) {
            errno = ENOSPC;
            return false;
        }
        ssize_t n = ::write(fd, bytes.data() + done, allowed);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home) return home;
    passwd entry{};
    passwd* found = nullptr;
    char buffer[4096];
    if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found && found->pw_dir)
        return found->pw_dir;
    return {};
}

bool isFolder(const std::string& path) {
    struct stat s {};
    return ::stat(path.c_str(), &s) == 0 && S_ISDIR(s.st_mode);
}

}  // namespace

// A relative $XDG_CONFIG_HOME is invalid and ignored, as an empty one is.
std::string userSettingsFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') return config;
    std::string home = homeFolder();
    return home.empty() ? std::string() : home + "/.config";
}

std::string joinPath(const std::string& folder, const std::string& leaf) {
    if (!folder.empty() && folder.back() == '/') return folder + leaf;
    return folder + "/" + leaf;
}

// ~/.config may not exist yet on a fresh account, so missing parents are made too.
bool makeFolder(const std::string& path) {
    if (path.empty()) return false;
    if (isFolder(path)) return true;
    std::size_t slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0) makeFolder(path.substr(0, slash));
    return ::mkdir(path.c_str(), 0755) == 0 || isFolder(path);
}

bool readWholeFile(const std::string& path, std::size_t limit, std::string& bytes) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat s {};
    bool ok = ::fstat(fd, &s) == 0 && S_ISREG(s.st_mode) && static_cast<std::uint64_t>(s.st_size) < limit;
    std::string data;
    if (ok) {
        data.resize(static_cast<std::size_t>(s.st_size));
        std::size_t done = 0;
        while (ok && done < data.size()) {
            ssize_t n = ::read(fd, data.data() + done, data.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) ok = false;  // shrank or failed under us
            else
                done += static_cast<std::size_t>(n);
        }
    }
    ::close(fd);
    if (ok) bytes.swap(data);
    return ok;
}

bool replaceFile(const std::string& path, const std::string& bytes) {
    std::string temp = path + ".XXXXXX";
    int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (ok && ::rename(temp.c_str(), path.c_str()) == 0) {
        // The rename itself reaches the disk with the folder.
        std::size_t slash = path.find_last_of('/');
        int folder = ::open(slash == std::string::npos ? "." : path.substr(0, slash + 1).c_str(),
                            O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0) {
            ::fsync(folder);
            ::close(folder);
        }
        return true;
    }
    ::unlink(temp.c_str());
    return false;
}

}  // namespace Services
