#include <atomic>
#include <cstdint>

#include "services/platform/platform.h"
#include "services/user_files.h"

namespace Services {

namespace {
std::atomic<std::size_t> diskSpace{SIZE_MAX};
}

std::size_t platform::takeDiskSpace(std::size_t count) {
    std::size_t space = diskSpace.load();
    if (space == SIZE_MAX) return count;
    std::size_t taken = count < space ? count : space;
    diskSpace.store(space - taken);
    return taken;
}

void simulateDiskSpace(std::size_t bytes) { diskSpace.store(bytes); }

}  // namespace Services
