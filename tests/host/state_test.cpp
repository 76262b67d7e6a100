// State as a host saves and restores it: chunks through effGetChunk and
// effSetChunk, the factory programs a new instance starts with, and the
// module's messages when a chunk is foreign or damaged.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "test_host.h"

using namespace HostTest;

namespace {

using Bytes = std::string;

Bytes chunkOf(const Effect& e, bool program) {
    void* data = nullptr;
    const vst::VstIntPtr size = e.dispatch(vst::effGetChunk, program ? 1 : 0, 0, &data);
    if (size <= 0 || !data) return {};
    return Bytes(static_cast<const char*>(data), static_cast<std::size_t>(size));
}

void setChunk(const Effect& e, Bytes bytes, bool program) {
    EXPECT_EQ(e.dispatch(vst::effSetChunk, program ? 1 : 0, static_cast<vst::VstIntPtr>(bytes.size()), bytes.data()),
              0);
}

std::vector<float> values(const Effect& e) {
    std::vector<float> v;
    for (vst::int32 i = 0; i < 9; ++i) v.push_back(e->getParameter(e.get(), i));
    return v;
}

std::vector<std::string> programNames(const Effect& e) {
    std::vector<std::string> names;
    for (vst::int32 p = 0; p < 16; ++p) {
        char name[64] = {};
        e.dispatch(vst::effGetProgramNameIndexed, p, 0, name);
        names.push_back(name);
    }
    return names;
}

// Edits a host could make: values, a program name, a program switch.
void edit(const Effect& e, unsigned seed) {
    for (vst::int32 i = 0; i < 9; ++i) {
        seed = seed * 1664525u + 1013904223u;
        e->setParameter(e.get(), i, static_cast<float>(seed >> 8) / 16777216.0f);
    }
    char name[] = "Edited by the host";
    e.dispatch(vst::effSetProgramName, 0, 0, name);
    e.dispatch(vst::effSetProgram, 0, static_cast<vst::VstIntPtr>(seed % 16));
    e->setParameter(e.get(), 2, 0.125f);
}

bool shown(const std::string& text) {
    for (const std::string& p : host().prompts)
        if (p.find(text) != std::string::npos) return true;
    return false;
}

class State : public ::testing::Test {
protected:
    void SetUp() override { host().reset(); }
};

TEST_F(State, ANewInstanceStartsInFactoryProgramZero) {
    Effect e;
    EXPECT_EQ(e.dispatch(vst::effGetProgram), 0);
    EXPECT_EQ(e.text(vst::effGetProgramName), "Short, but not subtle");
    EXPECT_NEAR(e->getParameter(e.get(), 0), 48160.0 / 64000.0, 1e-7);
    EXPECT_EQ(e->getParameter(e.get(), 7), 1.0f);
    EXPECT_TRUE(host().prompts.empty());
}

TEST_F(State, ChunksHaveTheirExactSizesAndTheBankIsTheFactoryResource) {
    Effect e;
    EXPECT_EQ(chunkOf(e, true).size(), 76u);
    const Bytes bank = chunkOf(e, false);
    ASSERT_EQ(bank.size(), 1070u);
    std::ifstream file(TALLOW_FACTORY_BANK_PATH, std::ios::binary);
    ASSERT_TRUE(file.good()) << TALLOW_FACTORY_BANK_PATH;
    const Bytes resource((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_GE(resource.size(), 160u);
    EXPECT_EQ(bank, resource.substr(160));
}

TEST_F(State, SettingAChunkBackGivesTheSameBytesAgain) {
    Effect e;
    for (unsigned round = 0; round < 5; ++round) {
        edit(e, round);
        for (bool program : {false, true}) {
            const Bytes first = chunkOf(e, program);
            ASSERT_FALSE(first.empty());
            setChunk(e, first, program);
            EXPECT_EQ(chunkOf(e, program), first) << "round " << round << (program ? " program" : " bank");
        }
    }
    EXPECT_TRUE(host().prompts.empty());
}

TEST_F(State, ABankCarriesEverythingToAnotherInstance) {
    Effect a, b;
    edit(a, 77);
    const Bytes bank = chunkOf(a, false);
    host().calls.clear();
    setChunk(b, bank, false);
    EXPECT_EQ(b.dispatch(vst::effGetProgram), a.dispatch(vst::effGetProgram));
    EXPECT_EQ(values(b), values(a));
    EXPECT_EQ(programNames(b), programNames(a));
    EXPECT_EQ(chunkOf(b, false), bank);
    // Every restored value is reported: 16 programs of 9 plus the 9 live ones.
    EXPECT_EQ(host().count(vst::audioMasterAutomate), 16 * 9 + 9);
}

TEST_F(State, AProgramChunkCarriesOnlyTheLiveValues) {
    Effect a, b;
    edit(a, 5);
    const std::vector<std::string> namesBefore = programNames(b);
    const vst::VstIntPtr programBefore = b.dispatch(vst::effGetProgram);
    setChunk(b, chunkOf(a, true), true);
    EXPECT_EQ(values(b), values(a));
    EXPECT_EQ(programNames(b), namesBefore);
    EXPECT_EQ(b.dispatch(vst::effGetProgram), programBefore);
}

TEST_F(State, AChunkOfAnotherEffectIsAppliedOnlyWhenTheUserAgrees) {
    Effect source;
    edit(source, 9);
    Bytes foreign = chunkOf(source, true);
    ASSERT_EQ(foreign[8], 4);  // the name record follows the header
    const std::string otherName = "Other Effect";
    std::fill(foreign.begin() + 9, foreign.begin() + 40, '\0');
    std::copy(otherName.begin(), otherName.end(), foreign.begin() + 9);

    Effect e;
    const std::vector<float> before = values(e);
    host().promptAnswer = 0;
    setChunk(e, foreign, true);
    EXPECT_TRUE(shown("Trying to load a preset for \"Other Effect\""));
    EXPECT_EQ(values(e), before);

    host().prompts.clear();
    host().promptAnswer = 1;
    setChunk(e, foreign, true);
    EXPECT_TRUE(shown("Other Effect"));
    EXPECT_EQ(values(e), values(source));
}

TEST_F(State, DamagedChunksAreReportedAndHeaderErrorsChangeNothing) {
    Effect e;
    edit(e, 3);
    const Bytes good = chunkOf(e, false);
    struct Case {
        Bytes bytes;
        const char* reason;
    };
    Bytes badMagic = good;
    badMagic[0] ^= 0x55;
    Bytes later = good;
    later[4] = 6;  // minor version 6
    const Case cases[] = {{good.substr(0, 7), "No header"}, {badMagic, "Invalid header"}, {later, "later version"}};
    for (const Case& c : cases) {
        Effect fresh;
        const Bytes before = chunkOf(fresh, false);
        host().prompts.clear();
        setChunk(fresh, c.bytes, false);
        EXPECT_TRUE(shown("Tallow Reed error: Error loading chunk: ")) << c.reason;
        EXPECT_TRUE(shown(c.reason)) << c.reason;
        EXPECT_EQ(chunkOf(fresh, false), before) << c.reason;
    }
    host().prompts.clear();
    Effect cut;
    setChunk(cut, good.substr(0, 8 + 32 + 9 * 4 + 10), false);  // ends inside the first program record
    EXPECT_TRUE(shown("Chunk appears corrupted."));
    EXPECT_EQ(cut.dispatch(vst::effSetChunk, 0, 0, nullptr), 0);
}

}  // namespace
