#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>
#include <xmmintrin.h>

#include "effect/exp_tables.h"
#include "effect/fp_guard.h"
#include "effect/interpolation_table.h"
#include "effect/processor.h"

namespace {

using ReedDsp::InterpolationTable;

// The prototype straight from its definition: the window with three cosine
// calls and the pass band summed bin by bin.
double prototype(int i) {
    const double pi = 3.141592653589793;
    double w = 0.355768 - 0.487396 * std::cos(2 * pi * i / 65535) + 0.144232 * std::cos(4 * pi * i / 65535) -
               0.012604 * std::cos(6 * pi * i / 65535);
    if (i == 0 || i == 65535) w = 0.0;
    double d = 1.0;
    for (int k = 1; k <= 31; ++k) d += 2.0 * std::cos(2 * pi * k * (i - 32768) / 262144.0);
    return w * d / 262144.0;
}

class InterpolationTableTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { table = std::make_unique<InterpolationTable>(); }
    static void TearDownTestSuite() { table.reset(); }
    static std::unique_ptr<InterpolationTable> table;
};
std::unique_ptr<InterpolationTable> InterpolationTableTest::table;

TEST_F(InterpolationTableTest, CentreAndEndsAreAsDefined) {
    EXPECT_NEAR(table->coefficient(0, 8), 63.0 / 262144.0, 63.0 / 262144.0 * 2e-9);
    EXPECT_NEAR(table->coefficient(0, 8), 2.4032593e-4, 1e-11);
    EXPECT_EQ(table->coefficient(0, 0), 0.0);
    EXPECT_EQ(table->coefficient(4095, 15), 0.0);
}

TEST_F(InterpolationTableTest, EveryRowSumsToOneTimes4096) {
    double worst = 0.0;
    for (std::uint32_t p = 0; p < InterpolationTable::kRows; ++p) {
        double sum = 0.0;
        for (std::uint32_t j = 0; j < InterpolationTable::kTaps; ++j) sum += table->row(p)[j];
        worst = std::max(worst, std::fabs(sum - 1.0));
    }
    EXPECT_LT(worst, 1e-5);
}

TEST_F(InterpolationTableTest, MatchesTheDefinitionAcrossRowsAndTaps) {
    // Scattered rows, both halves, the rows around the centre included.
    for (std::uint32_t p : {0u, 1u, 2u, 17u, 1000u, 2047u, 2048u, 2049u, 3333u, 4094u, 4095u}) {
        for (std::uint32_t j = 0; j < 16; ++j) {
            const int i = static_cast<int>(4096 * j + p);
            EXPECT_NEAR(table->coefficient(p, j), prototype(i), 1e-15) << "row " << p << " tap " << j;
        }
    }
}

TEST(SharedInterpolationTable, ProcessorsMadeOnSeveralThreadsAtOnceShareOneTableWithTheDefinedValues) {
    // Each test case runs in a process of its own under ctest, so the threads
    // race for the first build. They run in the audio routine's rounding and
    // flushing mode, which must not reach the table's values.
    constexpr int kThreads = 8;
    std::vector<std::unique_ptr<ReedDsp::Processor>> made(kThreads);
    std::atomic<int> waiting{kThreads};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            _mm_setcsr(ReedDsp::FpGuard::kAudioMode);
            waiting.fetch_sub(1);
            while (waiting.load() > 0) std::this_thread::yield();
            made[t] = std::make_unique<ReedDsp::Processor>();
        });
    }
    for (std::thread& thread : threads) thread.join();
    const auto fresh = std::make_unique<InterpolationTable>();
    for (int t = 0; t < kThreads; ++t) EXPECT_EQ(&made[t]->table(), &InterpolationTable::shared());
    EXPECT_EQ(std::memcmp(&InterpolationTable::shared(), fresh.get(), sizeof(InterpolationTable)), 0);
}

TEST(ExpTables, ProductIsTwoToTheQuantisedExponent) {
    for (std::uint32_t e : {0u, 1u, 255u, 256u, 4095u, 4096u, 12345u, 65535u})
        EXPECT_NEAR(ReedDsp::expQuantised(e), std::pow(2.0, e / 4096.0), std::pow(2.0, e / 4096.0) * 4e-16) << e;
    EXPECT_EQ(ReedDsp::expQuantised(4096), 2.0);
    EXPECT_EQ(ReedDsp::expQuantised(0), 1.0);
}

// The clock reads products and reciprocals from the derived table; they must
// be exactly what the audio routine's own rounding mode gives from the two
// small tables, or tick timing would drift from the design's.
TEST(ExpTables, DerivedPairsAreTheAudioModeProductsExactly) {
    int mismatches = 0;
    {
        const ReedDsp::FpGuard audioMode;
        for (std::uint32_t e = 0; e < 65536; ++e) {
            const volatile double product = ReedDsp::ExpTableCoarse[e >> 8] * ReedDsp::ExpTableFine[e & 255];
            const volatile double reciprocal = 1.0 / product;
            if (ReedDsp::ExpTablePowers[2 * e] != product || ReedDsp::ExpTablePowers[2 * e + 1] != reciprocal)
                ++mismatches;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

}  // namespace
