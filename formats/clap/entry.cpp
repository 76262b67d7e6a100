// The CLAP module's front door: clap_entry, its one factory and the one
// plug-in it makes.
#include <atomic>
#include <cstring>
#include <new>

#include "formats/clap/api/clap.h"
#include "formats/clap/plug_instance.h"

#if defined(_WIN32)
#define TALLOW_CLAP_EXPORT __declspec(dllexport)
#else
#define TALLOW_CLAP_EXPORT __attribute__((visibility("default")))
#endif

namespace {

constexpr char kPluginId[] = "com.corvelight.tallow-reed";

constexpr const char* kFeatures[] = {clap::CLAP_PLUGIN_FEATURE_AUDIO_EFFECT, clap::CLAP_PLUGIN_FEATURE_CHORUS,
                                     clap::CLAP_PLUGIN_FEATURE_FLANGER, clap::CLAP_PLUGIN_FEATURE_STEREO, nullptr};

constexpr clap::clap_plugin_descriptor_t kDescriptor{clap::CLAP_VERSION,
                                                     kPluginId,
                                                     "Tallow Reed",
                                                     "Corvelight",
                                                     TALLOW_WEBSITE_URL,
                                                     "",
                                                     "",
                                                     TALLOW_VERSION,
                                                     "Stereo chorus, flanger and vibrato from two clocked delay lines",
                                                     kFeatures};

std::uint32_t pluginCount(const clap::clap_plugin_factory_t*) { return 1; }

const clap::clap_plugin_descriptor_t* descriptorAt(const clap::clap_plugin_factory_t*, std::uint32_t index) {
    return index == 0 ? &kDescriptor : nullptr;
}

// The id must match whole; nothing here calls the host, which waits for init.
const clap::clap_plugin_t* createPlugin(const clap::clap_plugin_factory_t*, const clap::clap_host_t* host,
                                        const char* id) {
    if (!host || !id || std::strcmp(id, kPluginId) != 0 || !clap::clap_version_is_compatible(host->clap_version))
        return nullptr;
    auto* instance = new (std::nothrow) Clap::PlugInstance(host, &kDescriptor);
    return instance ? instance->record() : nullptr;
}

constexpr clap::clap_plugin_factory_t kFactory{pluginCount, descriptorAt, createPlugin};

// Hosts may pair init and deinit more than once; the module keeps nothing
// that needs them, so they only count.
std::atomic<int> initCount{0};

bool entryInit(const char*) {
    initCount.fetch_add(1, std::memory_order_relaxed);
    return true;
}

void entryDeinit() {
    if (initCount.load(std::memory_order_relaxed) > 0) initCount.fetch_sub(1, std::memory_order_relaxed);
}

const void* entryFactory(const char* id) {
    return id && std::strcmp(id, clap::CLAP_PLUGIN_FACTORY_ID) == 0 ? &kFactory : nullptr;
}

}  // namespace

extern "C" TALLOW_CLAP_EXPORT const clap::clap_plugin_entry_t clap_entry{clap::CLAP_VERSION, entryInit, entryDeinit,
                                                                         entryFactory};
