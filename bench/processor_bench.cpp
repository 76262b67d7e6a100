// Cost of the sound: time per stereo frame of a rendered block, at default
// settings and at the most expensive ones (shortest clock step, full depth),
// on the voices' best instruction set and on the baseline one, and the time
// to construct an effect, the interpolation table included.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>

#include <memory>
#include <random>
#include <vector>

#include "effect/processor.h"
#include "effect/reed.h"

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define TALLOW_CALLGRIND 1
#endif

namespace {

// Under callgrind (run with --collect-atstart=no) only the measured blocks
// are counted; the frames they hold are printed at exit, so the instruction
// count per frame needs no guess at how often the harness ran the loop.
std::atomic<long long> measuredFrames{0};

void startCounting() {
#ifdef TALLOW_CALLGRIND
    CALLGRIND_START_INSTRUMENTATION;
    CALLGRIND_TOGGLE_COLLECT;
#endif
}

void stopCounting(long long frames) {
#ifdef TALLOW_CALLGRIND
    CALLGRIND_TOGGLE_COLLECT;
    CALLGRIND_STOP_INSTRUMENTATION;
#endif
    measuredFrames += frames;
}

ReedDsp::Settings settingsFor(int which) {
    ReedDsp::Settings s;  // the defaults
    if (which == 1) {
        s.delay = 0.0f;
        s.depth = 1.0f;
        s.rate = 1.0f;
    }
    return s;
}

// Args: sample rate, settings (0 default, 1 most expensive), block size,
// and 1 for the baseline instruction set instead of the best.
void renderBlock(benchmark::State& state) {
    const auto rate = static_cast<float>(state.range(0));
    const auto block = static_cast<std::uint32_t>(state.range(2));
    auto processor = std::make_unique<ReedDsp::Processor>();
    processor->prepare(rate, static_cast<std::int32_t>(block));
    processor->reset();
    if (state.range(3) == 1) processor->useKernels(ReedDsp::VoiceKernels::baseline);
    const ReedDsp::Settings settings = settingsFor(static_cast<int>(state.range(1)));

    const std::size_t length = 1 << 16;
    std::vector<double> left(length + block), right(length + block), outL(block), outR(block);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    for (std::size_t i = 0; i < left.size(); ++i) left[i] = u(random), right[i] = u(random);
    double* out[2] = {outL.data(), outR.data()};

    std::size_t at = 0;
    bool changed = true;
    const auto next = [&] {
        const double* in[2] = {left.data() + at, right.data() + at};
        processor->render(changed, settings, in, out, block);
        changed = false;
        at = (at + block) % length;
    };
    for (std::size_t warm = 0; warm < static_cast<std::size_t>(rate) / block; ++warm) next();  // ramps settle
    startCounting();
    for (auto _ : state) {
        next();
        benchmark::DoNotOptimize(outL.data());
        benchmark::ClobberMemory();
    }
    stopCounting(static_cast<long long>(state.iterations()) * block);
    state.counters["per_frame"] = benchmark::Counter(
        static_cast<double>(block), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void renderArguments(benchmark::internal::Benchmark* b) {
    b->ArgNames({"rate", "expensive", "block", "baseline"});
    const int sets = ReedDsp::bestVoiceKernels() == ReedDsp::VoiceKernels::baseline ? 1 : 2;
    for (int rate : {44100, 96000})
        for (int which : {0, 1})
            for (int block : {32, 512})
                for (int set = 0; set < sets; ++set) b->Args({rate, which, block, set});
}

void constructEffect(benchmark::State& state) {
    for (auto _ : state) {
        auto effect = std::make_unique<Reed>(nullptr);
        benchmark::DoNotOptimize(effect.get());
    }
}

void constructProcessor(benchmark::State& state) {
    for (auto _ : state) {
        auto processor = std::make_unique<ReedDsp::Processor>();
        benchmark::DoNotOptimize(processor.get());
    }
}

}  // namespace

BENCHMARK(renderBlock)->Apply(renderArguments);
// A fixed two seconds (two cycles of the default LFO), for callgrind's count;
// the second on the baseline instruction set.
BENCHMARK(renderBlock)->Name("countedBlocks")->Args({44100, 0, 512, 0})->Iterations(172);
BENCHMARK(renderBlock)->Name("baselineCounted")->Args({44100, 0, 512, 1})->Iterations(172);
BENCHMARK(constructEffect)->Unit(benchmark::kMillisecond);
BENCHMARK(constructProcessor)->Unit(benchmark::kMillisecond);
int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
#ifdef TALLOW_CALLGRIND
    if (RUNNING_ON_VALGRIND) std::fprintf(stderr, "frames rendered while counting: %lld\n", measuredFrames.load());
#endif
    return 0;
}
