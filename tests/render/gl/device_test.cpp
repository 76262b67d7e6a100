// The device's life: driver checks, context hand-back, the default texture,
// the live-texture count and its leak warning, check failures.
#include "gl_harness.h"

#include "render/exception.h"
#include "render/gl_texture.h"
#include "render/shader.h"
#include "render/test_hooks.h"

#include <cstring>

using namespace Paintwell;
using namespace PaintwellTest;

namespace {

int countReports(ReportKind kind, const char* fragment) {
    int count = 0;
    for (const Report& report : reports())
        if (report.kind == kind && report.text.find(fragment) != std::string::npos) ++count;
    return count;
}

}  // namespace

using DeviceTest = GLTest;

TEST_F(DeviceTest, ClearsToDarkGreyAndShowsTheDefaultPatternWhereNoTextureIsNamed) {
    Frame frame = render([](Context* context) {
        Shader shader(context, BlendNone, CombineModulate);
        context->drawQuad(makeQuad(10, 20, 4, 4, 0, 0, 0xFFFFFFFF));
    });
    ASSERT_EQ(frame.width, kWidth);
    ASSERT_EQ(frame.height, kHeight);
    EXPECT_TRUE(rgbNear(frame.at(0, 0), 0xFF1A1A1A, 1));
    const std::uint32_t expected[4][4] = {
        {0xFFFF0000, 0xFFFF0000, 0xFF00FF00, 0xFF00FF00},
        {0xFFFF0000, 0xFFFF0000, 0xFF00FF00, 0xFF00FF00},
        {0xFFFFFF00, 0xFFFFFF00, 0xFF0000FF, 0xFF0000FF},
        {0xFFFFFF00, 0xFFFFFF00, 0xFF0000FF, 0xFF0000FF},
    };
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_TRUE(rgbNear(frame.at(10 + x, 20 + y), expected[y][x], 1)) << "at " << x << "," << y;
    EXPECT_TRUE(rgbNear(frame.at(14, 20), 0xFF1A1A1A, 1));
    EXPECT_TRUE(rgbNear(frame.at(10, 24), 0xFF1A1A1A, 1));
}

TEST_F(DeviceTest, GivesBackTheContextThatWasCurrentBeforeRender) {
    ForeignContext host;
    host.makeCurrent();
    ASSERT_TRUE(host.isCurrent());
    bool hostCurrentWhileDrawing = true;
    render([&](Context*) { hostCurrentWhileDrawing = host.isCurrent(); });
    EXPECT_FALSE(hostCurrentWhileDrawing);
    EXPECT_TRUE(host.isCurrent());

    releaseCurrentContext();
    render([](Context*) {});
    EXPECT_TRUE(noContextCurrent());
}

TEST_F(DeviceTest, NestedOperationsDoNotSwitchOrRestoreEarly) {
    ForeignContext host;
    host.makeCurrent();
    StaticTexture* made = nullptr;
    bool stillOurs = false;
    Frame frame = render([&](Context* context) {
        made = context->getDevice()->createStaticTexture(8, 8);
        std::vector<std::uint32_t> green(64, 0xFF00FF00);
        made->upload(green.data(), 8, 0, 0, 8, 8);
        stillOurs = !host.isCurrent();
        Shader shader(context, BlendNone, CombineModulate, made);
        context->drawQuad(makeQuad(0, 0, 8, 8, 0, 0, 0xFFFFFFFF));
    });
    EXPECT_TRUE(stillOurs);
    EXPECT_TRUE(rgbNear(frame.at(4, 4), 0xFF00FF00, 1));
    EXPECT_TRUE(host.isCurrent());
    made->release();
    EXPECT_TRUE(host.isCurrent());
}

TEST_F(DeviceTest, SceneExceptionPropagatesAndRestoresTheContext) {
    ForeignContext host;
    host.makeCurrent();
    EXPECT_THROW(render([](Context*) { throw Exception(); }), Exception);
    EXPECT_TRUE(host.isCurrent());
    // The device is still usable afterwards.
    Frame frame = render([](Context*) {});
    EXPECT_TRUE(rgbNear(frame.at(5, 5), 0xFF1A1A1A, 1));
}

TEST_F(DeviceTest, CountsLiveTexturesAndWarnsAboutLeaksOnRelease) {
    int base = device()->liveTextureCount();  // the default texture
    StaticTexture* first = device()->createStaticTexture(4, 4);
    StaticTexture* second = device()->createStaticTexture(16, 2);
    EXPECT_EQ(device()->liveTextureCount(), base + 2);
    first->release();
    EXPECT_EQ(device()->liveTextureCount(), base + 1);
    clearReports();
    // The second texture outlives its device on purpose.
    releaseDevice();
    EXPECT_EQ(countReports(ReportKind::DebugText, "Corvelight GL stats.textures non-zero; possible leak.\r\n"), 1);
    // Its GL name died with the context; only the object's memory is left.
    delete static_cast<Texture*>(second);
}

TEST_F(DeviceTest, ReleasingEveryTextureLeavesNoWarning) {
    device()->createStaticTexture(4, 4)->release();
    clearReports();
    releaseDevice();
    EXPECT_TRUE(reports().empty());
}

TEST_F(DeviceTest, UnknownModesAreCheckFailuresAtTheFirstDraw) {
    for (auto [blend, combine] : {std::pair{7, int(CombineColor)}, std::pair{int(BlendNone), 9}}) {
        clearReports();
        ForeignContext host;
        host.makeCurrent();
        bool constructed = false;
        EXPECT_THROW(render([&, blend = blend, combine = combine](Context* context) {
                         Shader shader(context, blend, combine);
                         constructed = true;
                         context->drawQuad(makeQuad(0, 0, 4, 4, 0, 0, 0xFFFFFFFF));
                     }),
                     Exception);
        EXPECT_TRUE(constructed);
        ASSERT_EQ(reports().size(), 1u);
        const std::string& text = reports()[0].text;
        EXPECT_EQ(text.rfind("Corvelight GL: check failed at line ", 0), 0u) << text;
        EXPECT_NE(text.find(" (please report this bug).\r\n"), std::string::npos) << text;
        EXPECT_TRUE(host.isCurrent());
    }
}

TEST(DeviceDriverTest, DriverWithoutMultitexturingShowsTheMessageOncePerProcess) {
    collectReports();
    clearReports();
    TestWindow& window = GLTest::sharedWindow();
    Paintwell::testing::setExtensionOverride("GL_ARB_texture_env_combine GL_ARB_texture_rectangle");
    EXPECT_THROW(GLDevice{window.native()}, Exception);
    EXPECT_THROW(GLDevice{window.native()}, Exception);
    Paintwell::testing::setExtensionOverride("GL_ARB_multitexture GL_ARB_texture_env_add");
    EXPECT_THROW(GLDevice{window.native()}, Exception);
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_EQ(reports()[0].kind, ReportKind::DriverMessage);
    EXPECT_EQ(reports()[0].caption, "Corvelight GL error");
    EXPECT_EQ(reports()[0].text.rfind("Multitexturing with texture-env-combine not support by OpenGL.\n", 0), 0u);
    // Either combine extension is enough.
    Paintwell::testing::setExtensionOverride("GL_ARB_multitexture GL_EXT_texture_env_combine");
    Device* device = createGLDevice(window.native());
    device->release();
    Paintwell::testing::setExtensionOverride(nullptr);
    setReportObserver(nullptr);
}

TEST(DeviceDriverTest, FailedCreationLeavesTheCallersContextCurrent) {
    collectReports();
    TestWindow& window = GLTest::sharedWindow();
    ForeignContext host;
    host.makeCurrent();
    Paintwell::testing::setExtensionOverride("GL_EXT_texture_env_combine");
    EXPECT_THROW(GLDevice{window.native()}, Exception);
    EXPECT_TRUE(host.isCurrent());
    Paintwell::testing::setExtensionOverride(nullptr);
    setReportObserver(nullptr);
}
