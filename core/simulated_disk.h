// A test hook shared by both platforms' file writers: when a test limits the
// disk space, writes beyond it fail as they would on a full disk. Any thread;
// the limit is one atomic word.
#pragma once

#include <cstddef>

namespace PlugCore::platform {

/// How many of count bytes the disk still takes (all of them unless a test
/// limited the space with simulateDiskSpace).
std::size_t takeDiskSpace(std::size_t count);

}  // namespace PlugCore::platform
