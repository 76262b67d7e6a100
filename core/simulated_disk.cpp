#include "core/simulated_disk.h"

#include <atomic>
#include <cstdint>

#include "core/platform/platform.h"

namespace PlugCore::platform {

namespace {
std::atomic<std::size_t> diskSpace{SIZE_MAX};
}

std::size_t takeDiskSpace(std::size_t count) {
    std::size_t space = diskSpace.load();
    if (space == SIZE_MAX) return count;
    std::size_t taken = count < space ? count : space;
    diskSpace.store(space - taken);
    return taken;
}

void simulateDiskSpace(std::size_t bytes) { diskSpace.store(bytes); }

}  // namespace PlugCore::platform
