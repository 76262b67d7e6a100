// The entry point and the host record, seen exactly as a host sees them.
#include <gtest/gtest.h>

#include "test_host.h"

using namespace HostTest;

namespace {

class Entry : public ::testing::Test {
protected:
    void SetUp() override { host().reset(); }
};

TEST_F(Entry, AsksTheHostVersionFirstWithNoEffect) {
    Effect effect;
    ASSERT_FALSE(host().calls.empty());
    const HostCall& first = host().calls.front();
    EXPECT_EQ(first.opcode, vst::audioMasterVersion);
    EXPECT_EQ(first.effect, nullptr);
    EXPECT_EQ(first.index, 0);
    EXPECT_EQ(first.value, 0);
    EXPECT_EQ(first.opt, 0.0f);
}

TEST_F(Entry, HostAnsweringVersionZeroGetsNoRecord) {
    host().versionAnswer = 0;
    EXPECT_EQ(module().entry()(hostCallback), nullptr);
    // Nothing was constructed, so nothing else may have called back.
    EXPECT_EQ(host().calls.size(), 1u);
}

TEST_F(Entry, BuildingTheEffectCallsNothingButTheVersionQuery) {
    // The start-up state is loaded before the host has the record: a host that
    // looks the record up in its own tables must not be asked about it yet.
    vst::AEffect* e = module().entry()(hostCallback);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(host().calls.size(), 1u);
    EXPECT_EQ(host().count(vst::audioMasterAutomate), 0);
    e->dispatcher(e, vst::effClose, 0, 0, nullptr, 0.0f);
}

TEST_F(Entry, NullCallbackGetsNoRecord) { EXPECT_EQ(module().entry()(nullptr), nullptr); }

TEST_F(Entry, OlderEntryNamesReachTheSameFunction) {
    void* main = module().symbol("main");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main, module().symbol("VSTPluginMain"));
#if defined(_WIN32)
    void* upper = module().symbol("MAIN");
    ASSERT_NE(upper, nullptr);
    auto entry = reinterpret_cast<HostKit::EntryFunction>(upper);
    vst::AEffect* e = entry(hostCallback);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->magic, vst::kEffectMagic);
    EXPECT_EQ(e->dispatcher(e, vst::effClose, 0, 0, nullptr, 0.0f), 1);
#endif
}

TEST_F(Entry, RecordFieldsHoldTheAdvertisedValues) {
    Effect e;
    EXPECT_EQ(e->magic, vst::kEffectMagic);
    EXPECT_EQ(e->numPrograms, 16);
    EXPECT_EQ(e->numParams, 9);
    EXPECT_EQ(e->numInputs, 2);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->uniqueID, static_cast<vst::int32>(0x7EA3B6D8));
    EXPECT_EQ(e->version, 1);
    EXPECT_EQ(e->initialDelay, 0);
    EXPECT_EQ(e->realQualities, 0);
    EXPECT_EQ(e->offQualities, 0);
    EXPECT_EQ(e->ioRatio, 1.0f);
    EXPECT_EQ(e->user, nullptr);
    EXPECT_NE(e->object, nullptr);
    EXPECT_NE(e->process, nullptr);
    EXPECT_NE(e->processReplacing, nullptr);
    EXPECT_NE(e->processDoubleReplacing, nullptr);
    EXPECT_NE(e->setParameter, nullptr);
    EXPECT_NE(e->getParameter, nullptr);
}

TEST_F(Entry, FlagsAdvertiseTheEditorAndItsRectangle) {
    Effect e;
    EXPECT_EQ(e->flags, 0x1031);
    vst::ERect* rect = nullptr;
    ASSERT_EQ(e.dispatch(vst::effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 110);
    EXPECT_EQ(rect->right, 480);
}

TEST_F(Entry, ObjectIsSixteenByteAligned) {
    Effect e;
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(e->object) % 16, 0u);
}

TEST_F(Entry, CloseAnswersOneAndInstancesComeAndGo) {
    for (int round = 0; round < 20; ++round) {
        vst::AEffect* e = module().entry()(hostCallback);
        ASSERT_NE(e, nullptr);
        e->dispatcher(e, vst::effOpen, 0, 0, nullptr, 0.0f);
        EXPECT_EQ(e->dispatcher(e, vst::effClose, 0, 0, nullptr, 0.0f), 1);
    }
}

TEST_F(Entry, ResumeReportsTheLatency) {
    Effect e;
    e.start();
    EXPECT_EQ(e->initialDelay, 16);
    e.dispatch(vst::effMainsChanged, 0, 0);
    e.dispatch(vst::effMainsChanged, 0, 1);
    EXPECT_EQ(e->initialDelay, 16);
}

}  // namespace
