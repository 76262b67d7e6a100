// Scans the folders in CLAP_PATH as a host's plug-in scanner does: every
// .clap file below them, at any depth, is loaded through its entry, and each
// plug-in its factory lists is created and initialised once. Prints one line
// per plug-in: path, id, name, vendor and version, tab-separated.
// Exits 1 when a .clap file or one of its plug-ins fails.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>

#include "tests/host/clap/clap_host.h"

namespace fs = std::filesystem;

namespace {

bool scanModule(const fs::path& path) {
    std::string error;
    auto module = ClapHost::Module::load(path.string(), error);
    if (!module) {
        std::cerr << path.string() << ": " << error << "\n";
        return false;
    }
    bool good = true;
    for (const clap::clap_plugin_descriptor* d : module->descriptors()) {
        ClapHost::Host host;
        ClapHost::Plugin plugin(*module, host, d->id);
        if (!plugin.get() || !plugin.init()) {
            std::cerr << path.string() << ": " << d->id << " cannot be created\n";
            good = false;
            continue;
        }
        std::cout << path.string() << '\t' << d->id << '\t' << d->name << '\t' << d->vendor << '\t' << d->version
                  << '\n';
    }
    return good;
}

}  // namespace

int main() {
    const char* searchPath = std::getenv("CLAP_PATH");
    if (!searchPath || !*searchPath) {
        std::cerr << "usage: CLAP_PATH=folder[:folder...] clap_scan\n";
        return 2;
    }
    bool good = true;
    std::istringstream folders(searchPath);
    for (std::string folder; std::getline(folders, folder, ':');) {
        std::error_code ec;
        for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
            if (it->is_regular_file() && it->path().extension() == ".clap") good = scanModule(it->path()) && good;
    }
    return good ? 0 : 1;
}
