// The unwinder of the statically linked C++ runtime finds a frame's exception
// data through _dl_find_object, which the C library has had only since glibc
// 2.35. This definition, local to each module, answers it from
// dl_iterate_phdr, as the unwinder itself did before, so a module built here
// still loads where the C library is older. The linker binds the runtime's
// reference to it because the module's own objects come before the C
// library, and the export list keeps it out of the module's exports.
//
// Threads: any. dl_iterate_phdr holds the loader's lock while it walks the
// loaded objects, so unlike the C library's lookup this one is not safe in a
// signal handler; no module code throws from one.
#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

namespace {

struct Search {
    std::uintptr_t address;
    std::uintptr_t pageMask;
    dl_find_object* result;
};

// An object's mapping runs from its first loaded page to the end of its last
// segment, as the loader records it; an address in it belongs to the object.
int visitObject(dl_phdr_info* info, std::size_t, void* data) {
    auto& search = *static_cast<Search*>(data);
    std::uintptr_t start = UINTPTR_MAX, end = 0, ehFrame = 0;
    for (ElfW(Half) i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& segment = info->dlpi_phdr[i];
        const std::uintptr_t begin = info->dlpi_addr + segment.p_vaddr;
        if (segment.p_type == PT_LOAD) {
            start = std::min(start, begin & search.pageMask);
            end = std::max(end, begin + segment.p_memsz);
        } else if (segment.p_type == PT_GNU_EH_FRAME) {
            ehFrame = begin;
        }
    }
    if (search.address < start || search.address >= end) return 0;
    // The unwinder reads the frame data's address alone; the link map stays null.
    *search.result = {};
    search.result->dlfo_map_start = reinterpret_cast<void*>(start);
    search.result->dlfo_map_end = reinterpret_cast<void*>(end);
    search.result->dlfo_eh_frame = reinterpret_cast<void*>(ehFrame);
    return 1;
}

}  // namespace

extern "C" int _dl_find_object(void* address, dl_find_object* result) noexcept {
    const auto pageSize = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    Search search{reinterpret_cast<std::uintptr_t>(address), ~(pageSize - 1), result};
    return dl_iterate_phdr(visitObject, &search) != 0 ? 0 : -1;
}
