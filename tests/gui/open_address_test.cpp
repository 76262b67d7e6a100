// Opening a web address on Linux: xdg-open runs detached, the caller does not
// wait for it and is left with no child to reap.
#ifndef _WIN32
#include "gui/platform/native_window.h"

#include "core/scoped_env.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>

namespace {

namespace fs = std::filesystem;

TEST(OpenAddress, RunsXdgOpenDetachedWithoutWaitingOrLeavingAChild) {
    const fs::path folder = fs::temp_directory_path() / ("open_address_" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path go = folder / "go", out = folder / "out";
    {
        // A stand-in opener that writes the address only once the test says so.
        std::ofstream script(folder / "xdg-open");
        script << "#!/bin/sh\nn=0\nwhile [ ! -e '" << go.string()
               << "' ] && [ $n -lt 400 ]; do sleep 0.05; n=$((n+1)); done\n"
               << "echo \"$1\" > '" << out.string() << ".tmp' && mv '" << out.string() << ".tmp' '" << out.string()
               << "'\n";
    }
    fs::permissions(folder / "xdg-open", fs::perms::owner_all);
    TallowTest::ScopedEnv path("PATH", (folder.string() + ":/usr/bin:/bin").c_str());

    Wispkit::platform::openAddress("https://example.invalid/tallow-reed");
    EXPECT_FALSE(fs::exists(out));                 // returned while the opener still waits
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);  // nothing left to reap
    EXPECT_EQ(errno, ECHILD);

    std::ofstream(go).put('1');
    for (int i = 0; i < 400 && !fs::exists(out); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(25));
    std::ifstream result(out);
    std::stringstream text;
    text << result.rdbuf();
    EXPECT_EQ(text.str(), "https://example.invalid/tallow-reed\n");
    fs::remove_all(folder);

    Wispkit::platform::openAddress("");  // no address: nothing runs
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
}

}  // namespace
#endif
