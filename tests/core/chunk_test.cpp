#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "state_fixture.h"

using StateTest::ChunkBuilder;
using StateTest::PromptRecorder;
using StateTest::stepOf;
using StateTest::TestPlug;

namespace {

// A controller key as the table holds it: 0xB000 + controller, sign-extended from 16 bits.
std::int32_t key(int controller) { return static_cast<std::int16_t>(0xB000 + controller); }

// Gives every program and the live values distinct steps, names and a few mappings.
void scramble(TestPlug& plug, std::uint32_t seed) {
    auto next = [&seed] { return (seed = seed * 1664525u + 1013904223u) >> 8; };
    for (int p = 0; p < 16; ++p) {
        plug.setProgram(p);
        for (std::uint32_t i = 0; i < 9; ++i) plug.setParameter(i, PlugCore::stepValue(next() % 64001));
        char name[32];
        std::snprintf(name, sizeof name, "Program %u", next() % 1000);
        plug.setProgramName(name);
    }
    plug.setProgram(static_cast<PlugCore::int32>(next() % 16));
    for (std::uint32_t i = 0; i < 9; ++i) plug.setParameter(i, PlugCore::stepValue(next() % 64001));
    plug.parameters().assignController(2, key(7));
    plug.parameters().assignController(8, key(74));
}

std::string errorText(const char* reason) { return std::string("Error loading chunk: ") + reason; }

const char* const kLaterVersion =
    "Program or bank was saved with a later version.\nPlease update the plugin and try again.";

}  // namespace

// ---- writer ------------------------------------------------------------------------------------

TEST(ChunkWriter, SizesFollowTheRecordLayout) {
    TestPlug plug;
    EXPECT_EQ(plug.programChunk().size(), 76u);
    EXPECT_EQ(plug.bankChunk().size(), 1070u);
    plug.parameters().assignController(1, key(1));
    plug.parameters().assignController(4, key(64));
    EXPECT_EQ(plug.programChunk().size(), 76u + 8u);
    EXPECT_EQ(plug.bankChunk().size(), 1070u + 8u);
}

TEST(ChunkWriter, ProgramChunkBytes) {
    TestPlug plug;
    plug.setParameter(3, PlugCore::stepValue(63999));
    plug.parameters().assignController(5, -2);
    std::string c = plug.programChunk();
    ASSERT_EQ(c.size(), 80u);
    EXPECT_EQ(c.substr(0, 8), std::string("\x75\x3D\x8C\x28\x05\x00\x00\x00", 8));
    EXPECT_EQ(c[8], 4);
    EXPECT_EQ(std::string(c.data() + 9), "Test Effect");
    EXPECT_EQ(c.substr(9 + 11), std::string(20, '\0') + c.substr(40));  // zero-padded to 31 bytes
    // Parameter 3 at step 63999 (0xF9FF), then the mapping with key -2 (0xFFFE).
    EXPECT_EQ(c.substr(40 + 3 * 4, 4), std::string("\x00\x03\xFF\xF9", 4));
    EXPECT_EQ(c.substr(76, 4), std::string("\x01\x05\xFE\xFF", 4));
}

TEST(ChunkWriter, LongEffectNameFillsTheFieldUnterminated) {
    TestPlug plug("An effect name of forty characters, long");
    std::string c = plug.programChunk();
    EXPECT_EQ(c.substr(9, 31), std::string("An effect name of forty charact"));
    EXPECT_EQ(c[40], 0);  // the first parameter record follows at once
}

// Every step of the grid survives writing and reading unchanged, the upper ones
// included, where single-precision arithmetic would otherwise move them up.
TEST(ChunkWriter, EveryStepRoundTripsExactly) {
    TestPlug plug;
    for (std::int32_t step = 0; step <= 64000; ++step) {
        ChunkBuilder b;
        b.header().parameter(0, static_cast<std::uint16_t>(step));
        plug.load(b.bytes);
        ASSERT_EQ(stepOf(plug.getParameter(0)), step);
        std::string c = plug.programChunk();
        ASSERT_EQ(static_cast<unsigned char>(c[42]) | static_cast<unsigned char>(c[43]) << 8, step);
    }
}

TEST(ChunkWriter, RepeatedSaveAndLoadGivesIdenticalBytes) {
    TestPlug a;
    scramble(a, 12345);
    for (std::uint32_t i = 0; i < 9; ++i) a.setParameter(i, PlugCore::stepValue(63589 + 40 * i));
    std::string first = a.bankChunk();
    for (int round = 0; round < 5; ++round) {
        TestPlug b;
        b.load(first);
        ASSERT_EQ(b.bankChunk(), first) << "round " << round;
    }
}

TEST(ChunkWriter, NegativeValuesAreWrittenByMagnitude) {
    TestPlug plug;
    plug.parameters()[6].value.store(-PlugCore::stepValue(1234));  // a sign bit left in a stored value
    std::string c = plug.programChunk();
    EXPECT_EQ(c.substr(40 + 6 * 4, 4), std::string("\x00\x06\xD2\x04", 4));
}

// ---- reader: round trips -----------------------------------------------------------------------

TEST(ChunkReader, BankRoundTripRestoresEverything) {
    TestPlug a;
    scramble(a, 777);
    std::string bank = a.bankChunk();

    TestPlug b;
    b.parameters().assignController(0, key(7));  // taken over by parameter 2
    b.load(bank);
    EXPECT_EQ(b.getProgram(), a.getProgram());
    for (int p = 0; p < 16; ++p) {
        EXPECT_STREQ(b.program(p).name, a.program(p).name);
        for (int i = 0; i < 9; ++i) EXPECT_EQ(b.program(p).values[i], a.program(p).values[i]) << p << "/" << i;
    }
    for (int i = 0; i < 9; ++i) EXPECT_EQ(b.getParameter(i), a.getParameter(i));
    for (std::uint32_t i = 0; i < 9; ++i)
        EXPECT_EQ(b.parameters()[i].controllerKey.load(), a.parameters()[i].controllerKey.load()) << i;
    EXPECT_EQ(b.bankChunk(), bank);
}

TEST(ChunkReader, ProgramChunkChangesOnlyLiveValuesAndMappings) {
    TestPlug a;
    scramble(a, 99);
    std::string preset = a.programChunk();

    TestPlug b;
    char keep[] = "Keep me";
    b.setProgramName(keep);
    b.setParameter(1, 0.5f);
    b.setProgram(5);
    b.setProgram(0);  // program 5 now holds the defined values, program 0 the edit
    b.setProgram(5);
    const float stored = b.program(0).values[1];
    b.load(preset);
    EXPECT_EQ(b.getProgram(), 5);
    EXPECT_STREQ(b.program(0).name, "Keep me");
    for (int i = 0; i < 9; ++i) EXPECT_EQ(b.getParameter(i), a.getParameter(i));
    EXPECT_EQ(b.parameters()[8].controllerKey.load(), key(74));
    EXPECT_EQ(b.program(0).values[1], stored);  // programs keep their stored values
    EXPECT_EQ(b.program(0).values[1], PlugCore::quantise(0.5f));
}

TEST(ChunkReader, EveryRestoredValueReachesTheHost) {
    TestPlug a;
    std::string bank = a.bankChunk();
    TestPlug b;
    b.load(bank);
    EXPECT_EQ(b.automated(), 16 * 9 + 9);
}

TEST(ChunkReader, MappingRecordsAddToExistingMappings) {
    TestPlug plug;
    plug.parameters().assignController(0, key(16));
    plug.load(ChunkBuilder().header().mapping(3, static_cast<std::int16_t>(key(17))).bytes);
    EXPECT_EQ(plug.parameters()[0].controllerKey.load(), key(16));
    EXPECT_EQ(plug.parameters()[3].controllerKey.load(), key(17));
    plug.load(ChunkBuilder().header().mapping(4, static_cast<std::int16_t>(key(16))).bytes);  // the key moves
    EXPECT_EQ(plug.parameters()[0].controllerKey.load(), -1);
    EXPECT_EQ(plug.parameters()[4].controllerKey.load(), key(16));
}

TEST(ChunkReader, ProgramRecordCapturesTheValuesBeforeIt) {
    TestPlug plug;
    ChunkBuilder b;
    b.header().parameter(0, 640).parameter(1, 64000).program(7, "Seven").current(7).parameter(0, 32000);
    plug.load(b.bytes);
    EXPECT_STREQ(plug.program(7).name, "Seven");
    EXPECT_EQ(stepOf(plug.program(7).values[0]), 640);
    EXPECT_EQ(plug.program(7).values[1], 1.0f);
    EXPECT_EQ(plug.getProgram(), 7);
    EXPECT_EQ(stepOf(plug.getParameter(0)), 32000);
}

TEST(ChunkReader, ProgramNameIsCutTo23Characters) {
    TestPlug plug;
    ChunkBuilder b;
    b.header();
    b.raw({2, 1});
    b.bytes.append("ABCDEFGHIJKLMNOPQRSTUVWX");  // 24 bytes, no terminator
    plug.load(b.bytes);
    EXPECT_STREQ(plug.program(1).name, "ABCDEFGHIJKLMNOPQRSTUVW");
}

// ---- reader: odd records -------------------------------------------------------------------------

TEST(ChunkReader, OutOfRangeRecordsAreSkippedSilently) {
    PromptRecorder prompts;
    TestPlug plug;
    std::string before = plug.bankChunk();
    ChunkBuilder b;
    b.header()
        .parameter(9, 100)
        .mapping(9, static_cast<std::int16_t>(key(1)))
        .program(16, "Nope")
        .current(16)
        .parameter(255, 1);
    plug.load(b.bytes);
    EXPECT_EQ(plug.bankChunk(), before);
    EXPECT_TRUE(prompts.prompts.empty());
    EXPECT_EQ(plug.automated(), 0);
}

TEST(ChunkReader, OversizedStepIsClampedToOne) {
    TestPlug plug;
    plug.load(ChunkBuilder().header().parameter(2, 65535).parameter(3, 64001).bytes);
    EXPECT_EQ(plug.getParameter(2), 1.0f);
    EXPECT_EQ(plug.getParameter(3), 1.0f);
}

TEST(ChunkReader, OlderMinorVersionsAreRead) {
    TestPlug plug;
    plug.load(ChunkBuilder().header(-3).parameter(0, 100).bytes);
    EXPECT_EQ(stepOf(plug.getParameter(0)), 100);
}

// ---- reader: rejected chunks ----------------------------------------------------------------------

struct Rejected {
    std::string chunk;
    const char* reason;
};

class ChunkRejection : public ::testing::TestWithParam<Rejected> {};

// Header errors change nothing at all; the reason reaches the user exactly once.
TEST_P(ChunkRejection, HeaderErrorsChangeNothing) {
    PromptRecorder prompts;
    TestPlug plug;
    scramble(plug, 5);
    std::string before = plug.bankChunk();
    plug.load(GetParam().chunk);
    EXPECT_EQ(plug.bankChunk(), before);
    EXPECT_EQ(plug.automated(), 0);
    ASSERT_EQ(prompts.prompts.size(), 1u);
    EXPECT_EQ(prompts.prompts[0].kind, Services::kPromptError);
    EXPECT_EQ(prompts.prompts[0].title, "Test Effect error");
    EXPECT_EQ(prompts.prompts[0].text, errorText(GetParam().reason));
}

INSTANTIATE_TEST_SUITE_P(
    Headers, ChunkRejection,
    ::testing::Values(Rejected{"", "No header"}, Rejected{std::string("\x75\x3D\x8C\x28\x05\x00\x00", 7), "No header"},
                      Rejected{std::string("\x75\x3D\x8C\x29\x05\x00\x00\x00", 8), "Invalid header"},
                      Rejected{ChunkBuilder().header(6).parameter(0, 1).bytes, kLaterVersion},
                      Rejected{ChunkBuilder().header(5, 1).parameter(0, 1).bytes, kLaterVersion},
                      Rejected{ChunkBuilder().header(5, 0x8000).bytes, kLaterVersion}));

TEST(ChunkReader, NegativeSizeIsNoHeader) {
    PromptRecorder prompts;
    TestPlug plug;
    std::string bytes = ChunkBuilder().header().parameter(0, 5).bytes;
    EXPECT_FALSE(plug.setChunk(bytes.data(), -5, false));
    ASSERT_EQ(prompts.prompts.size(), 1u);
    EXPECT_EQ(prompts.prompts[0].text, errorText("No header"));
    EXPECT_NE(stepOf(plug.getParameter(0)), 5);
}

// A damaged record stops the load where it stands: what came before stays applied.
TEST(ChunkReader, CorruptedRecordKeepsWhatWasReadBefore) {
    const std::string good =
        ChunkBuilder().header().parameter(0, 111).program(2, "Two").mapping(1, static_cast<std::int16_t>(key(5))).bytes;
    const std::string tails[] = {
        ChunkBuilder().program(3, "Three").bytes.substr(0, 13),  // cut inside a program record
        ChunkBuilder().parameter(1, 5).bytes.substr(0, 3),
        ChunkBuilder().name("Test Effect").bytes.substr(0, 31),
        std::string("\x03", 1),
        std::string("\x05\x00\x00\x00", 4),  // an unknown type
        std::string("\xFF", 1),
    };
    for (const std::string& tail : tails) {
        PromptRecorder prompts;
        TestPlug plug;
        plug.load(good + tail + ChunkBuilder().parameter(0, 999).bytes);
        ASSERT_EQ(prompts.prompts.size(), 1u);
        EXPECT_EQ(prompts.prompts[0].text, errorText("Chunk appears corrupted."));
        EXPECT_EQ(stepOf(plug.getParameter(0)), 111);  // the record after the damage is never read
        EXPECT_STREQ(plug.program(2).name, "Two");
        EXPECT_EQ(stepOf(plug.program(2).values[0]), 111);
        EXPECT_EQ(plug.parameters()[1].controllerKey.load(), key(5));
        EXPECT_STREQ(plug.program(3).name, "Init 4");
    }
}

// ---- reader: another effect's chunk ------------------------------------------------------------

TEST(ChunkReader, ForeignNameAnsweredNoAppliesNothingAfterIt) {
    PromptRecorder prompts(0);
    TestPlug plug;
    plug.load(ChunkBuilder().header().parameter(0, 50).name("Other Effect").parameter(1, 60).bytes);
    ASSERT_EQ(prompts.prompts.size(), 1u);
    EXPECT_EQ(prompts.prompts[0].kind, Services::kPromptQuestion);
    EXPECT_EQ(prompts.prompts[0].title, "Test Effect");
    EXPECT_EQ(prompts.prompts[0].text, "Trying to load a preset for \"Other Effect\"\nDo you want to continue?");
    EXPECT_EQ(stepOf(plug.getParameter(0)), 50);
    EXPECT_FLOAT_EQ(plug.getParameter(1), 0.1f);
}

TEST(ChunkReader, ForeignNameAnsweredYesGoesOn) {
    PromptRecorder prompts(1);
    TestPlug plug;
    plug.load(ChunkBuilder().header().name("Other Effect").parameter(1, 60).bytes);
    EXPECT_EQ(prompts.prompts.size(), 1u);
    EXPECT_EQ(stepOf(plug.getParameter(1)), 60);
}

TEST(ChunkReader, ForeignNameIsShownCutTo30Characters) {
    PromptRecorder prompts(0);
    TestPlug plug;
    plug.load(ChunkBuilder().header().name("0123456789012345678901234567890123").bytes);
    ASSERT_EQ(prompts.prompts.size(), 1u);
    EXPECT_EQ(prompts.prompts[0].text,
              "Trying to load a preset for \"012345678901234567890123456789\"\nDo you want to continue?");
}

TEST(ChunkReader, OwnNameAsksNothing) {
    PromptRecorder prompts;
    TestPlug plug;
    plug.load(ChunkBuilder().header().name("Test Effect").parameter(1, 60).bytes);
    EXPECT_TRUE(prompts.prompts.empty());
    EXPECT_EQ(stepOf(plug.getParameter(1)), 60);
}

// ---- programs ------------------------------------------------------------------------------------

TEST(Programs, StartAsInitNamesWithCurrentValues) {
    TestPlug plug;
    char name[32];
    ASSERT_TRUE(plug.getProgramNameIndexed(0, 15, name));
    EXPECT_STREQ(name, "Init 16");
    EXPECT_FALSE(plug.getProgramNameIndexed(0, 16, name));
    EXPECT_FALSE(plug.getProgramNameIndexed(0, -1, name));
}

TEST(Programs, SwitchingKeepsEditsOfTheProgramLeft) {
    TestPlug plug;
    plug.setParameter(4, 0.75f);
    plug.setProgram(3);
    plug.setParameter(4, 0.25f);
    plug.setProgram(0);
    EXPECT_EQ(plug.getParameter(4), PlugCore::quantise(0.75f));
    plug.setProgram(3);
    EXPECT_EQ(plug.getParameter(4), PlugCore::quantise(0.25f));
    EXPECT_EQ(plug.getProgram(), 3);
}

TEST(Programs, GlobalParametersIgnoreProgramChanges) {
    TestPlug plug;
    plug.setProgram(1);
    plug.setParameter(2, 0.5f);
    plug.setProgram(0);
    plug.parameters()[2].flags = PlugCore::ParameterTable::kGlobal;
    plug.setParameter(2, 0.9f);
    plug.setProgram(1);
    EXPECT_EQ(plug.getParameter(2), PlugCore::quantise(0.9f));
}

TEST(Programs, NamesAreCutTo23Characters) {
    TestPlug plug;
    char longName[] = "abcdefghijklmnopqrstuvwxyz0123";  // 30 characters
    plug.setProgramName(longName);
    char name[32];
    plug.getProgramName(name);
    EXPECT_STREQ(name, "abcdefghijklmnopqrstuvw");
    char shortName[] = "Hi";
    plug.setProgramName(shortName);
    EXPECT_EQ(std::memcmp(plug.program(0).name, "Hi\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 24), 0);
}
