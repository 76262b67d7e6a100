// CLAP host interface, the basics every record uses: the interface version,
// ids, name sizes and fixed-point times. Written from the published
// interface's facts (release 1.2.10); the records must match it byte for byte
// on x86-64, on Linux (LP64) and on Windows (LLP64) alike, so they use only
// fixed-width integers, pointers, bool and double.
#pragma once

#include <cstdint>

namespace clap {

using std::int16_t;
using std::int32_t;
using std::int64_t;
using std::uint16_t;
using std::uint32_t;
using std::uint64_t;
using std::uint8_t;

// The calling convention the interface names for Windows is the only one x64
// has, so function pointers need no annotation; 32-bit builds would.
static_assert(sizeof(void*) == 8, "the CLAP records are declared and checked for 64-bit targets only");

struct clap_version {
    uint32_t major;
    uint32_t minor;
    uint32_t revision;
};
using clap_version_t = clap_version;

inline constexpr uint32_t CLAP_VERSION_MAJOR = 1;
inline constexpr uint32_t CLAP_VERSION_MINOR = 2;
inline constexpr uint32_t CLAP_VERSION_REVISION = 10;
inline constexpr clap_version_t CLAP_VERSION = {CLAP_VERSION_MAJOR, CLAP_VERSION_MINOR, CLAP_VERSION_REVISION};

/// Every 1.x release can talk to every other: only the major number decides.
constexpr bool clap_version_is_compatible(clap_version_t v) { return v.major >= 1; }

using clap_id = uint32_t;
inline constexpr clap_id CLAP_INVALID_ID = UINT32_MAX;

/// Fixed sizes of the name and path fields, terminating zero included.
inline constexpr uint32_t CLAP_NAME_SIZE = 256;
inline constexpr uint32_t CLAP_PATH_SIZE = 1024;

/// Beats and seconds as fixed point with 31 fractional bits.
using clap_beattime = int64_t;
using clap_sectime = int64_t;
inline constexpr int64_t CLAP_BEATTIME_FACTOR = int64_t(1) << 31;
inline constexpr int64_t CLAP_SECTIME_FACTOR = int64_t(1) << 31;

static_assert(sizeof(clap_version) == 12 && alignof(clap_version) == 4);

}  // namespace clap
