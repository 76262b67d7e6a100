// InterpolationTable: the band-limited kernel that both reads the input at a
// tick's fractional position and writes the tick's step into the output.
// A windowed prototype sampled 4096 times per audio frame is cut into 4096
// rows of 16 taps; row p holds the prototype at 4096 j + p for tap j, so one
// interpolation reads one 128-byte row.
//
// The rows are stored multiplied by 4096, the factor every use applies
// (each row then sums to 1): scaling by a power of two is exact, so the
// products are those of the unscaled table times 4096.
//
// Zeros pad the table on both sides, so that a kernel may load a few taps
// before the first row or after the last one and mask them out.
//
// Threads: shared() builds the process's one table on first use (a host may
// construct effects on several threads at once; the first caller builds it,
// the others wait) and is read-only afterwards, so any thread may read it.
// The shared table lives in static storage (512 KiB, no heap memory) and has
// nothing to destroy, so nothing of it runs when the module is unloaded.
#pragma once

#include <cstdint>

namespace ReedDsp {

class InterpolationTable {
public:
    static constexpr std::uint32_t kRows = 4096;
    static constexpr std::uint32_t kTaps = 16;

    /// Builds a table of its own (tests compare one with the definition).
    InterpolationTable();

    /// The one table of the process, built on first use; the same values as
    /// a table of one's own.
    static const InterpolationTable& shared();

    /// Row p (0 ... 4095), 16 taps, each multiplied by 4096; 64-byte aligned.
    /// The kPad doubles before row 0 and after row 4095 may be read (zeros).
    const double* row(std::uint32_t p) const { return rows[p]; }
    static constexpr std::uint32_t kPad = 8;
    /// The unscaled prototype value at row p, tap j.
    double coefficient(std::uint32_t p, std::uint32_t j) const { return rows[p][j] / 4096.0; }

private:
    alignas(64) double lead[kPad] = {};
    double rows[kRows][kTaps];
    double trail[kPad] = {};
};

}  // namespace ReedDsp
