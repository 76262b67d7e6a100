#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

using FindObject = int (*)(void*, dl_find_object*);

int staticData = 1;
[[gnu::noinline]] int localFunction() { return staticData; }

struct Answer {
    int status;
    dl_find_object found;
};

Answer ask(FindObject find, void* address) {
    Answer answer{};
    answer.status = find(address, &answer.found);
    return answer;
}

void* probeModule() {
    static void* handle = dlopen(TALLOW_UNWIND_PROBE, RTLD_NOW | RTLD_LOCAL);
    return handle;
}

// The module's lookup answers as the C library's does wherever the unwinder
// may ask: in the program, in shared libraries, in a module linked as ours
// are, at the edges of a mapping, and outside every object.
TEST(FindObject, AgreesWithTheCLibrary) {
    const auto library = reinterpret_cast<FindObject>(dlsym(RTLD_DEFAULT, "_dl_find_object"));
    if (!library) GTEST_SKIP() << "this C library has no _dl_find_object to compare with";
    ASSERT_NE(probeModule(), nullptr) << dlerror();

    int onStack = 0;
    auto onHeap = std::make_unique<int>(0);
    std::vector<std::pair<std::string, void*>> places = {
        {"program code", reinterpret_cast<void*>(&localFunction)},
        {"program data", &staticData},
        {"C library", dlsym(RTLD_DEFAULT, "printf")},
        {"C++ runtime", dlsym(RTLD_DEFAULT, "__cxa_throw")},
        {"probe module", dlsym(probeModule(), "unwindProbe")},
        {"stack", &onStack},
        {"heap", onHeap.get()},
        {"null", nullptr},
    };
    const Answer program = ask(library, reinterpret_cast<void*>(&localFunction));
    ASSERT_EQ(program.status, 0);
    auto* start = static_cast<char*>(program.found.dlfo_map_start);
    auto* end = static_cast<char*>(program.found.dlfo_map_end);
    places.insert(places.end(), {{"first byte of the program", start},
                                 {"last byte of the program", end - 1},
                                 {"just past the program", end},
                                 {"just before the program", start - 1}});

    for (const auto& [name, address] : places) {
        SCOPED_TRACE(name);
        const Answer ours = ask(_dl_find_object, address);
        const Answer theirs = ask(library, address);
        ASSERT_EQ(ours.status, theirs.status);
        if (theirs.status != 0) continue;
        EXPECT_EQ(ours.found.dlfo_map_start, theirs.found.dlfo_map_start);
        EXPECT_EQ(ours.found.dlfo_map_end, theirs.found.dlfo_map_end);
        EXPECT_EQ(ours.found.dlfo_eh_frame, theirs.found.dlfo_eh_frame);
        EXPECT_NE(ours.found.dlfo_eh_frame, nullptr);
    }
}

// An exception thrown and caught inside the module unwinds every frame between.
TEST(FindObject, ModuleCatchesWhatItThrows) {
    ASSERT_NE(probeModule(), nullptr) << dlerror();
    const auto probe = reinterpret_cast<int (*)(int)>(dlsym(probeModule(), "unwindProbe"));
    ASSERT_NE(probe, nullptr);
    for (int depth : {0, 1, 12}) EXPECT_EQ(probe(depth), depth + 1) << "depth " << depth;
}

}  // namespace
