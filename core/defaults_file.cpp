#include <string>

#include "core/plug.h"
#include "services/user_files.h"

namespace PlugCore {

namespace {

constexpr std::size_t kDefaultsLimit = 0x100000;  // a file of 1 MiB or more is not ours

}  // namespace

std::string Plug::defaultsFilePath(bool makeFolder) const {
    std::string settings = Services::userSettingsFolder();
    if (settings.empty()) return {};
    std::string folder = Services::joinPath(settings, kVendor);
    if (makeFolder) Services::makeFolder(folder);  // a failure shows up when the file is written
    return Services::joinPath(folder, std::string(name) + ".defaults");
}

void Plug::loadDefaultsFile() {
    std::string path = defaultsFilePath(false);
    std::string bytes;
    if (path.empty() || !Services::readWholeFile(path, kDefaultsLimit, bytes)) return;
    // The reset targets follow whatever the file set, even when the reader stopped early.
    setChunk(bytes.data(), static_cast<int32>(bytes.size()), false);
    params.takeDefaults();
}

// The old file is replaced only once the new one is complete on disk, so a failed
// save leaves the previous defaults intact, and the reset targets unchanged.
bool Plug::saveDefaultsFile() {
    std::string bytes;
    writeChunk(false, bytes);
    std::string path = defaultsFilePath(true);
    if (path.empty() || !Services::replaceFile(path, bytes)) return false;
    params.takeDefaults();
    return true;
}

}  // namespace PlugCore
