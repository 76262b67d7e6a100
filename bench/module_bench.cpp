// The module as a host runs it: loaded through its entry point, effects
// created, resumed and processed through the double-precision process call.
//
// - single: one instance, default and most expensive settings, 32- and
//   512-frame blocks, 44.1 and 96 kHz; time per stereo frame.
// - instances: N instances (1, 16, 64) processing 512-frame blocks in turn;
//   time per stereo frame per instance, and the resident memory per
//   instance, measured in a fresh process of its own (this program started
//   again with --probe) from before the first instance to after every
//   instance has been resumed and has processed a second of sound.
// - construct: the first instance of a process (fresh process, the shared
//   tables built) and a later one (entry call and open, close excluded).
//
// A second module (TALLOW_BENCH_OLD_MODULE, for example an earlier build)
// is measured beside the built one with the same code, in the same run; at
// the end a table gives the medians side by side with their ratios.
//
// Linux only (dlopen, /proc).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "formats/vst2/aeffect.h"
#include "tools/host_kit/module_library.h"

namespace {

using Entry = HostKit::EntryFunction;

vst::VstIntPtr quietHost(vst::AEffect*, vst::int32 opcode, vst::int32, vst::VstIntPtr, void*, float) {
    return opcode == vst::audioMasterVersion ? 2400 : 0;
}

struct Module {
    std::string label;
    std::string path;
    Entry entry = nullptr;
};

/// The entry of the module at path; the module stays mapped for the whole run.
Entry loadEntry(const std::string& path) {
    static std::vector<std::unique_ptr<HostKit::ModuleLibrary>> loaded;
    std::string error;
    auto library = HostKit::openModule(path, error);
    const Entry entry = library ? library->entry() : nullptr;
    if (!entry) {
        std::fprintf(stderr, "cannot load %s: %s\n", path.c_str(), library ? "no entry point" : error.c_str());
        std::exit(2);
    }
    loaded.push_back(std::move(library));
    return entry;
}

// Parameter order: delay, rate, depth, spread, phase, wet, shape, invert, range.
constexpr float kDefaults[9] = {0.5f, 0.5f, 0.5f, 0.5f, 0.25f, 0.5f, 0.0f, 0.0f, 0.67f};

/// One effect, set to the default or the most expensive settings (shortest
/// clock step, full depth, fastest LFO), resumed.
class Instance {
public:
    Instance(Entry entry, float rate, int block, bool expensive) : effect(entry(quietHost)) {
        call(vst::effOpen, 0, 0);
        effect->dispatcher(effect, vst::effSetSampleRate, 0, 0, nullptr, rate);
        call(vst::effSetBlockSize, 0, block);
        for (int i = 0; i < 9; ++i) effect->setParameter(effect, i, kDefaults[i]);
        if (expensive) {
            effect->setParameter(effect, 0, 0.0f);
            effect->setParameter(effect, 1, 1.0f);
            effect->setParameter(effect, 2, 1.0f);
        }
        call(vst::effMainsChanged, 0, 1);
    }
    ~Instance() {
        call(vst::effMainsChanged, 0, 0);
        call(vst::effClose, 0, 0);
    }
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;

    void process(double** in, double** out, int frames) { effect->processDoubleReplacing(effect, in, out, frames); }

private:
    void call(vst::int32 opcode, vst::int32 index, vst::VstIntPtr value) {
        effect->dispatcher(effect, opcode, index, value, nullptr, 0.0f);
    }
    vst::AEffect* effect;
};

/// A second of noise to cycle through, and room for one block of output.
struct Signal {
    explicit Signal(int block) : left(kLength + block), right(kLength + block), outL(block), outR(block) {
        std::uint64_t state = 1;
        for (std::size_t i = 0; i < left.size(); ++i) {
            state = state * 6364136223846793005u + 1442695040888963407u;
            left[i] = static_cast<double>(state >> 11) / 9007199254740992.0 - 0.5;
            right[i] = -left[i] * 0.5;
        }
    }
    void next(Instance& instance, int block) {
        double* in[2] = {left.data() + at, right.data() + at};
        double* out[2] = {outL.data(), outR.data()};
        instance.process(in, out, block);
    }
    void advance(int block) { at = (at + static_cast<std::size_t>(block)) % kLength; }

    static constexpr std::size_t kLength = 96000;
    std::vector<double> left, right, outL, outR;
    std::size_t at = 0;
};

long residentKiB() {
    long pages = 0, resident = 0;
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    if (!f) return 0;
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// ---- the fresh-process probe --------------------------------------------

/// Runs in a process of its own: loads the module (its load-time tables are
/// not counted, nor is the signal), times the first and (for
/// a count above one) the second construction, builds count instances in all, runs each for a
/// second and prints "<KiB per instance> <first s> <second s>".
int probe(const std::string& path, int count, float rate, int block) {
    const Entry entry = loadEntry(path);
    Signal signal(block);
    const long before = residentKiB();
    auto start = std::chrono::steady_clock::now();
    std::vector<std::unique_ptr<Instance>> all;
    all.push_back(std::make_unique<Instance>(entry, rate, block, false));
    const double first = secondsSince(start);
    double second = 0.0;
    if (count > 1) {
        start = std::chrono::steady_clock::now();
        all.push_back(std::make_unique<Instance>(entry, rate, block, false));
        second = secondsSince(start);
    }
    while (static_cast<int>(all.size()) < count) all.push_back(std::make_unique<Instance>(entry, rate, block, false));
    for (int b = 0; b < static_cast<int>(rate) / block + 1; ++b) {
        for (auto& instance : all) signal.next(*instance, block);
        signal.advance(block);
    }
    const long after = residentKiB();
    std::printf("%.3f %.9f %.9f\n", static_cast<double>(after - before) / count, first, second);
    return 0;
}

struct ProbeResult {
    double kibPerInstance = 0, first = 0, second = 0;
};

std::string selfPath;

ProbeResult runProbe(const std::string& module, int count, float rate, int block) {
    const std::string command = "'" + selfPath + "' --probe '" + module + "' " + std::to_string(count) + " " +
                                std::to_string(rate) + " " + std::to_string(block);
    ProbeResult r;
    if (std::FILE* p = popen(command.c_str(), "r")) {
        if (std::fscanf(p, "%lf %lf %lf", &r.kibPerInstance, &r.first, &r.second) != 3) r = ProbeResult{};
        pclose(p);
    }
    return r;
}

// ---- benchmarks ---------------------------------------------------------

void perFrame(benchmark::State& state, double framesPerIteration) {
    state.counters["per_frame"] = benchmark::Counter(
        framesPerIteration, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void single(benchmark::State& state, Module module, float rate, bool expensive, int block) {
    Instance instance(module.entry, rate, block, expensive);
    Signal signal(block);
    for (int b = 0; b < static_cast<int>(rate) / block; ++b) signal.next(instance, block), signal.advance(block);
    for (auto _ : state) {
        signal.next(instance, block);
        signal.advance(block);
        benchmark::ClobberMemory();
    }
    perFrame(state, block);
}

void instances(benchmark::State& state, Module module, float rate, int count) {
    constexpr int kBlock = 512;
    const ProbeResult memory = runProbe(module.path, count, rate, kBlock);
    std::vector<std::unique_ptr<Instance>> all;
    for (int i = 0; i < count; ++i) all.push_back(std::make_unique<Instance>(module.entry, rate, kBlock, false));
    Signal signal(kBlock);
    for (int b = 0; b < static_cast<int>(rate) / kBlock; ++b) {
        for (auto& instance : all) signal.next(*instance, kBlock);
        signal.advance(kBlock);
    }
    for (auto _ : state) {
        for (auto& instance : all) signal.next(*instance, kBlock);
        signal.advance(kBlock);
        benchmark::ClobberMemory();
    }
    perFrame(state, static_cast<double>(kBlock) * count);
    state.counters["KiB_per_instance"] = memory.kibPerInstance;
}

void constructFirst(benchmark::State& state, Module module) {
    for (auto _ : state) state.SetIterationTime(runProbe(module.path, 1, 44100.0f, 512).first);
}

void constructLater(benchmark::State& state, Module module) {
    Instance keep(module.entry, 44100.0f, 512, false);  // the process's shared state exists
    for (auto _ : state) {
        auto instance = std::make_unique<Instance>(module.entry, 44100.0f, 512, false);
        state.PauseTiming();
        instance.reset();
        state.ResumeTiming();
    }
}

void registerAll(const std::vector<Module>& modules) {
    // Each case for every module in turn, so that the modules' figures of a
    // case are taken side by side.
    for (float rate : {44100.0f, 96000.0f})
        for (bool expensive : {false, true})
            for (int block : {32, 512})
                for (const Module& m : modules) {
                    const std::string name = "single/" + m.label + "/" + std::to_string(static_cast<int>(rate)) +
                                             (expensive ? "/expensive" : "/default") +
                                             "/block:" + std::to_string(block);
                    benchmark::RegisterBenchmark(name.c_str(), single, m, rate, expensive, block);
                }
    for (float rate : {44100.0f, 96000.0f})
        for (int count : {1, 16, 64})
            for (const Module& m : modules) {
                const std::string name = "instances/" + m.label + "/" + std::to_string(static_cast<int>(rate)) +
                                         "/count:" + std::to_string(count);
                benchmark::RegisterBenchmark(name.c_str(), instances, m, rate, count);
            }
    for (const Module& m : modules) {
        benchmark::RegisterBenchmark(("construct/" + m.label + "/first").c_str(), constructFirst, m)
            ->UseManualTime()
            ->Iterations(3)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("construct/" + m.label + "/later").c_str(), constructLater, m)
            ->Unit(benchmark::kMicrosecond);
    }
}

// ---- the closing table --------------------------------------------------

/// Keeps the medians of every case and prints them side by side at the end.
class MedianTable : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.aggregate_name != "median") continue;
            const auto counter = run.counters.find("per_frame");
            const double value =
                counter != run.counters.end() ? counter->second.value * 1e9 : run.GetAdjustedRealTime();
            medians[run.run_name.function_name] = value;
            const auto memory = run.counters.find("KiB_per_instance");
            if (memory != run.counters.end()) kib[run.run_name.function_name] = memory->second.value;
        }
    }

    void print(const std::vector<Module>& modules) const {
        std::printf("\nMedians (ns per stereo frame per instance; construction in us)\n");
        std::map<std::string, std::vector<double>> rows;
        for (const auto& [name, value] : medians) {
            for (std::size_t m = 0; m < modules.size(); ++m) {
                const std::string tag = "/" + modules[m].label + "/";
                const std::size_t at = name.find(tag);
                if (at == std::string::npos) continue;
                const std::string key = name.substr(0, at) + "/" + name.substr(at + tag.size());
                auto& row = rows[key];
                row.resize(modules.size(), 0.0);
                row[m] = value;
            }
        }
        std::printf("%-40s", "case");
        for (const Module& m : modules) std::printf(" %12s", m.label.c_str());
        if (modules.size() == 2) std::printf(" %12s", "ratio");
        std::printf("\n");
        for (const auto& [key, row] : rows) {
            std::printf("%-40s", key.c_str());
            for (double v : row) std::printf(" %12.2f", v);
            if (row.size() == 2 && row[1] > 0) std::printf(" %12.3f", row[0] / row[1]);
            std::printf("\n");
        }
        for (const Module& m : modules) {
            for (const char* rate : {"44100", "96000"}) {
                const auto one = medians.find("instances/" + m.label + "/" + rate + "/count:1");
                const auto many = medians.find("instances/" + m.label + "/" + rate + "/count:64");
                if (one == medians.end() || many == medians.end() || one->second <= 0) continue;
                std::printf("%s at %s Hz: 64 instances / 1 instance = %.3f\n", m.label.c_str(), rate,
                            many->second / one->second);
            }
            for (const char* count : {"1", "16", "64"}) {
                const auto k = kib.find("instances/" + m.label + "/44100/count:" + std::string(count));
                if (k != kib.end())
                    std::printf("%s: %s instance(s) at 44100 Hz, resident KiB per instance %.1f\n", m.label.c_str(),
                                count, k->second);
            }
        }
    }

private:
    std::map<std::string, double> medians;
    std::map<std::string, double> kib;
};

}  // namespace

int main(int argc, char** argv) {
    selfPath = argv[0];
    if (argc == 6 && std::strcmp(argv[1], "--probe") == 0)
        return probe(argv[2], std::atoi(argv[3]), static_cast<float>(std::atof(argv[4])), std::atoi(argv[5]));

    std::vector<Module> modules;
    if (const char* old = std::getenv("TALLOW_BENCH_OLD_MODULE")) modules.push_back({"old", old});
    const char* built = std::getenv("TALLOW_BENCH_MODULE");
    modules.push_back({"new", built ? built : TALLOW_BENCH_MODULE_PATH});
    for (Module& m : modules) m.entry = loadEntry(m.path);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    registerAll(modules);
    MedianTable table;
    benchmark::RunSpecifiedBenchmarks(&table);
    table.print(modules);
    benchmark::Shutdown();
    return 0;
}
