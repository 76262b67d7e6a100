// A program of its own, because it replaces the global allocation functions:
// every operator new and every malloc is counted while the probe is armed,
// and the aligned allocations behind the processor's buffers can be made to
// fail on demand. Aligned blocks arrive filled with NaN, so a frame that is
// read before it was written shows up in the output.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "effect/reed.h"
#include "effect/reed_parameters.h"
#include "processor_harness.h"

extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void* __libc_memalign(std::size_t, std::size_t);
void __libc_free(void*);
}

namespace {
std::atomic<bool> armed{false};
std::atomic<long> allocations{0};
std::atomic<bool> failAligned{false};
std::atomic<long> liveAligned{0};  // aligned blocks handed out and not yet given back

void note() {
    if (armed.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
}

void* plain(std::size_t n) {
    note();
    return __libc_malloc(n ? n : 1);
}

void* aligned(std::size_t n, std::align_val_t a) {
    note();
    if (failAligned.load(std::memory_order_relaxed)) return nullptr;
    void* p = __libc_memalign(static_cast<std::size_t>(a), n ? n : 1);
    if (p) liveAligned.fetch_add(1, std::memory_order_relaxed);
    if (p) std::memset(p, 0xFF, n);
    return p;
}

void freeAligned(void* p) {
    if (p) liveAligned.fetch_sub(1, std::memory_order_relaxed);
    __libc_free(p);
}
}  // namespace

extern "C" void* malloc(std::size_t n) { return plain(n); }
extern "C" void* calloc(std::size_t k, std::size_t n) {
    note();
    return __libc_calloc(k, n);
}
extern "C" void* realloc(void* p, std::size_t n) {
    note();
    return __libc_realloc(p, n);
}
extern "C" void free(void* p) { __libc_free(p); }

void* operator new(std::size_t n) {
    if (void* p = plain(n)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return operator new(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return plain(n); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return plain(n); }
void* operator new(std::size_t n, std::align_val_t a) {
    if (void* p = aligned(n, a)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t n, std::align_val_t a) { return operator new(n, a); }
void* operator new(std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept { return aligned(n, a); }
void* operator new[](std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept { return aligned(n, a); }
void operator delete(void* p) noexcept { __libc_free(p); }
void operator delete[](void* p) noexcept { __libc_free(p); }
void operator delete(void* p, std::size_t) noexcept { __libc_free(p); }
void operator delete[](void* p, std::size_t) noexcept { __libc_free(p); }
void operator delete(void* p, std::align_val_t) noexcept { freeAligned(p); }
void operator delete[](void* p, std::align_val_t) noexcept { freeAligned(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { freeAligned(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { freeAligned(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { freeAligned(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { freeAligned(p); }

namespace {

struct Probe {
    Probe() {
        allocations = 0;
        armed = true;
    }
    ~Probe() { armed = false; }
    long count() const { return allocations.load(); }
};

TEST(AllocationProbe, CountsWhatItShould) {
    Probe probe;
    std::vector<int> v(10);
    EXPECT_GE(probe.count(), 1);
}

TEST(AudioPath, ProcessingAllocatesNothingWhateverTheSettingsDo) {
    auto reed = std::make_unique<Reed>(nullptr);
    reed->setSampleRate(48000.0f);
    reed->setBlockSize(512);
    reed->resume();
    std::vector<float> l(512), r(512), ol(512), orr(512);
    std::vector<double> dl(512), dr(512), dol(512), dor(512);
    float* in[2] = {l.data(), r.data()};
    float* out[2] = {ol.data(), orr.data()};
    double* dIn[2] = {dl.data(), dr.data()};
    double* dOut[2] = {dol.data(), dor.data()};
    const ReedTest::Stereo source = ReedTest::noise(512, 1.0);
    for (std::size_t i = 0; i < 512; ++i) l[i] = r[i] = dl[i] = dr[i] = static_cast<float>(source.left[i]);

    Probe probe;
    for (int k = 0; k < 200; ++k) {
        if (k % 10 == 0) {  // every parameter moves, the range included
            for (std::uint32_t p = 0; p < ReedParams::kCount; ++p)
                reed->setParameter(static_cast<PlugCore::int32>(p), static_cast<float>((k * 7 + p * 13) % 100) / 99.0f);
        }
        if (k % 2) reed->processReplacing(in, out, 512 - k);
        else
            reed->processDoubleReplacing(dIn, dOut, 1 + k);
    }
    reed->process(in, out, 300);
    EXPECT_EQ(probe.count(), 0);
}

TEST(AudioPath, EveryRangeReadsOnlyLineStagesItHasCleared) {
    // Only the stages a range uses are cleared; longer ranges clear more.
    ReedTest::Harness h;
    ASSERT_TRUE(h.prepare(44100.0f, 256));
    h.settings.wet = 1.0f;
    const ReedTest::Stereo in = ReedTest::noise(44100, 1.0);
    h.automation = [](std::size_t frame, ReedDsp::Settings& s) {
        if (frame % 5120 != 0) return false;
        const float ranges[] = {0.0f, 0.3f, 0.6f, 1.0f, 0.0f, 1.0f, 0.6f, 0.3f, 0.0f};
        s.range = ranges[frame / 5120];
        return true;
    };
    const ReedTest::Stereo out = h.run(in, 256);
    for (std::size_t i = 0; i < out.size(); ++i) ASSERT_TRUE(std::isfinite(out.left[i] + out.right[i])) << i;
    h.prepare(96000.0f, 256);  // a new line, at the last range
    const ReedTest::Stereo again = h.run(in, 256);
    for (std::size_t i = 0; i < again.size(); ++i) ASSERT_TRUE(std::isfinite(again.left[i] + again.right[i])) << i;
}

TEST(Preparation, AFailedAllocationLeavesSilenceUntilALaterPreparationSucceeds) {
    ReedTest::Harness h;
    const ReedTest::Stereo in = ReedTest::noise(4096, 1.0);
    h.settings.wet = 0.0f;
    failAligned = true;
    const bool prepared = h.processor->prepare(44100.0f, 256);
    failAligned = false;
    EXPECT_FALSE(prepared);
    h.processor->reset();
    ReedTest::Stereo out = h.run(in, 256);
    for (double x : out.left) ASSERT_EQ(x, 0.0);

    ASSERT_TRUE(h.prepare(44100.0f, 256));
    out = h.run(in, 256);
    EXPECT_EQ(out.left[1000], in.left[984]);
}

// An effect whose construction runs out of memory part-way gives its own
// aligned block back, as the effect is made with the nothrow form.
TEST(Construction, AnEffectThatFailsToBuildGivesItsMemoryBack) {
    struct Failing : PlugCore::Plug {
        Failing() : Plug(nullptr, 1, 1, "Failing", 1, 1) { throw std::bad_alloc(); }
        void prepareProcessing() override {}
        void resetProcessing() override {}
        bool renderBlock(bool, const PlugCore::Transport*, double**, double**, std::uint32_t) override { return true; }
        void formatParameter(std::uint32_t, char*, float) override {}
    };
    const long before = liveAligned.load();
    EXPECT_THROW((void)new (std::nothrow) Failing, std::bad_alloc);
    EXPECT_EQ(liveAligned.load(), before);
}

TEST(Preparation, TheEffectRetriesAFailedPreparationOnTheNextResume) {
    auto reed = std::make_unique<Reed>(nullptr);
    reed->setSampleRate(44100.0f);
    reed->setBlockSize(128);
    reed->setParameter(ReedParams::kWet, 0.0f);
    failAligned = true;
    reed->resume();
    failAligned = false;
    std::vector<float> l(128, 0.5f), r(128, 0.5f), ol(128, 9.0f), orr(128, 9.0f);
    float* in[2] = {l.data(), r.data()};
    float* out[2] = {ol.data(), orr.data()};
    reed->processReplacing(in, out, 128);
    for (float x : ol) ASSERT_EQ(x, 0.0f);
    reed->suspend();
    reed->resume();
    for (int k = 0; k < 10; ++k) reed->processReplacing(in, out, 128);
    EXPECT_EQ(ol[100], 0.5f);
}

// A new rate after a failed preparation is prepared for once, not once for
// the retry and again for the rate.
TEST(Preparation, ARetryAndANewRatePrepareOnce) {
    const auto allocationsOfAResume = [](bool failFirst) {
        auto reed = std::make_unique<Reed>(nullptr);
        reed->setSampleRate(44100.0f);
        reed->setBlockSize(128);
        failAligned = failFirst;
        reed->resume();
        failAligned = false;
        reed->suspend();
        reed->setSampleRate(48000.0f);
        Probe probe;
        reed->resume();
        return probe.count();
    };
    const long once = allocationsOfAResume(false);
    EXPECT_GT(once, 0);
    EXPECT_EQ(allocationsOfAResume(true), once);
}

}  // namespace
