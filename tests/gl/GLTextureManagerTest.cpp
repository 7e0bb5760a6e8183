// Textures from memory and from pictures, owned by key in the manager.
#include "GLDeleteRecorder.h"
#include "GLTestContext.h"
#include "RecordingImageLoader.h"
#include "RecordingTexture.h"
#include "TempDir.h"
#include "gl/GLTexture2D.h"
#include "gl/GLTextureManager.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <type_traits>
#include <vector>

using namespace Ostrel;

namespace {

GLint TexParameter(ITexture2D* texture, GLenum name) {
    texture->Bind();
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

GLint LevelParameter(ITexture2D* texture, GLenum name) {
    texture->Bind();
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, name, &value);
    return value;
}

// The texels of an RGBA texture, read through a framebuffer.
std::vector<uint8_t> ReadTexture(GLuint id, int w, int h) {
    GLuint fbo = 0;
    glGenFramebuffers(1, &fbo);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, id, 0);
    std::vector<uint8_t> out(static_cast<size_t>(w) * h * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, out.data());
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &fbo);
    return out;
}

GLuint IdOf(ITexture2D* texture) {
    return static_cast<GLTexture2D*>(texture)->id;
}

// A loader whose pictures carry grey and alpha only (2 bytes a pixel), as
// some decoders return them.
class GreyAlphaLoader : public IImageLoader {
public:
    ImageData* LoadImage(std::string, int) override {
        auto* pixels = static_cast<uint8_t*>(std::malloc(4));
        pixels[0] = 10;
        pixels[1] = 20;
        pixels[2] = 200;
        pixels[3] = 255;
        return new ImageData(pixels, 2, 1, 2);
    }
    ImageData* LoadImage(std::string path) override { return LoadImage(path, 0); }
};

class TextureManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gl.Ok());
        loader.AddPicture("pictures/red.png", 4, 2, 0xff0000ffu);
        loader.AddPicture("pictures/green.png", 3, 5, 0x00ff00ffu);
        manager.Initialize();
    }
    void TearDown() override { manager.Shutdown(); }

    OstrelTest::GLTestContext gl{32, 32};
    OstrelTest::RecordingImageLoader loader;
    GLTextureManager manager{&loader};
};

TEST_F(TextureManagerTest, LoadStoresUnderTheKeyOrThePathAndFreesTheImage) {
    EXPECT_EQ(manager.state, LifecycleInitialised);
    ITexture2D* byKey = manager.LoadTexture("pictures/red.png", "red");
    TextureParameters params;
    params.loadMode = 3;
    ITexture2D* byPath = manager.LoadTexture("pictures/green.png", params);
    ITexture2D* plain = manager.LoadTexture("pictures/red.png");
    EXPECT_EQ(manager.GetTexture("red"), byKey);
    EXPECT_EQ(manager.GetTexture("pictures/green.png"), byPath);
    EXPECT_EQ(manager.GetTexture("pictures/red.png"), plain);
    EXPECT_NE(byKey, plain);
    EXPECT_EQ(byPath->width, 3u);
    EXPECT_EQ(byPath->height, 5u);
    EXPECT_EQ(loader.modes, (std::vector<int>{0, 3, 0}));
    EXPECT_EQ(loader.LiveImages(), 0);
    EXPECT_EQ(*static_cast<GLuint*>(byKey->handle), IdOf(byKey));
    const auto texels = ReadTexture(IdOf(byPath), 3, 5);
    EXPECT_EQ(texels[0], 0);
    EXPECT_EQ(texels[1], 255);
    EXPECT_EQ(texels[3], 255);
}

TEST_F(TextureManagerTest, LoadingAKeyAgainDecodesFirstThenUnloadsAndDeletesTheOldTexture) {
    size_t requestsAtDeletion = 0;
    bool deleted = false;
    auto* old = new OstrelTest::RecordingTexture(nullptr, 1, 1, TextureParameters(), 4);
    old->onDelete = [&](OstrelTest::RecordingTexture* t) {
        deleted = true;
        requestsAtDeletion = loader.requests.size();
        EXPECT_EQ(t->unloadCount, 1);
    };
    manager.textures["card"] = old;
    ITexture2D* fresh = manager.LoadTexture("pictures/red.png", "card");
    EXPECT_TRUE(deleted);
    EXPECT_EQ(requestsAtDeletion, 1u);
    EXPECT_EQ(manager.GetTexture("card"), fresh);
    EXPECT_EQ(fresh->width, 4u);

    // With real textures: the old GL name is freed (or reused by the new one).
    const GLuint firstId = IdOf(fresh);
    ITexture2D* second = manager.LoadTexture("pictures/green.png", "card");
    EXPECT_EQ(manager.textures.size(), 1u);
    EXPECT_EQ(second->width, 3u);
    EXPECT_TRUE(!glIsTexture(firstId) || IdOf(second) == firstId);
}

TEST_F(TextureManagerTest, AbsentKeysAddNullEntriesThatLoadingFills) {
    EXPECT_EQ(manager.GetTexture("logo"), nullptr);
    ASSERT_EQ(manager.textures.count("logo"), 1u);
    EXPECT_EQ(manager.textures["logo"], nullptr);
    std::string key = "untouched";
    EXPECT_FALSE(manager.FindKey(nullptr, &key));
    EXPECT_EQ(key, "untouched");
    ITexture2D* logo = manager.LoadTexture("pictures/red.png", "logo");
    EXPECT_EQ(manager.GetTexture("logo"), logo);
}

TEST_F(TextureManagerTest, FindKeyReturnsTheFirstKeyInOrder) {
    ITexture2D* red = manager.LoadTexture("pictures/red.png", "m_red");
    manager.textures["a_alias"] = nullptr;
    manager.textures["z_alias"] = red;  // the same texture under a later key
    std::string key;
    EXPECT_TRUE(manager.FindKey(red, &key));
    EXPECT_EQ(key, "m_red");
    manager.textures.erase("z_alias");

    ITexture2D* own = manager.CreateTexture(nullptr, 2, 2);
    key = "untouched";
    EXPECT_FALSE(manager.FindKey(own, &key));
    EXPECT_EQ(key, "untouched");
    delete own;
}

TEST_F(TextureManagerTest, UnloadTextureOfAnAbsentKeyThrowsAndChangesNothing) {
    manager.LoadTexture("pictures/red.png", "red");
    EXPECT_THROW(manager.UnloadTexture("blue"), std::out_of_range);
    EXPECT_EQ(manager.textures.size(), 1u);

    const GLuint id = IdOf(manager.GetTexture("red"));
    manager.UnloadTexture("red");
    EXPECT_EQ(manager.textures.count("red"), 0u);
    EXPECT_FALSE(glIsTexture(id));

    manager.GetTexture("ghost");
    manager.UnloadTexture("ghost");  // a null entry is just erased
    EXPECT_TRUE(manager.textures.empty());
}

TEST_F(TextureManagerTest, CreatedTexturesSurviveUnloadAll) {
    const uint8_t pixel[4] = {1, 2, 3, 4};
    ITexture2D* own = manager.CreateTexture(pixel, 1, 1);
    const GLuint ownId = IdOf(own);
    const GLuint storedId = IdOf(manager.LoadTexture("pictures/red.png", "red"));
    manager.GetTexture("nothing");
    manager.UnloadAll();
    EXPECT_TRUE(manager.textures.empty());
    EXPECT_EQ(manager.state, LifecycleInitialised);
    EXPECT_FALSE(glIsTexture(storedId));
    EXPECT_TRUE(glIsTexture(ownId));
    EXPECT_EQ(ReadTexture(ownId, 1, 1), (std::vector<uint8_t>{1, 2, 3, 4}));
    delete own;

    manager.LoadTexture("pictures/red.png", "again");
    manager.Shutdown();
    EXPECT_EQ(manager.state, LifecycleReleased);
    EXPECT_TRUE(manager.textures.empty());
}

TEST_F(TextureManagerTest, ParametersChooseFilterWrapAndFormat) {
    ITexture2D* nearest = manager.LoadTexture("pictures/red.png", "nearest", TextureParameters(0));
    EXPECT_EQ(TexParameter(nearest, GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    EXPECT_EQ(TexParameter(nearest, GL_TEXTURE_MAG_FILTER), GL_NEAREST);
    EXPECT_EQ(TexParameter(nearest, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(TexParameter(nearest, GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(LevelParameter(nearest, GL_TEXTURE_ALPHA_SIZE), 8);  // the picture's 4 channels

    ITexture2D* linear = manager.LoadTexture("pictures/red.png", "linear");
    EXPECT_EQ(TexParameter(linear, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(TexParameter(linear, GL_TEXTURE_MAG_FILTER), GL_LINEAR);

    TextureParameters repeat(7);  // any filter but 1 is nearest
    repeat.clampToEdge = 0;
    ITexture2D* tiled = manager.LoadTexture("pictures/red.png", "tiled", repeat);
    EXPECT_EQ(TexParameter(tiled, GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    EXPECT_EQ(TexParameter(tiled, GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(TexParameter(tiled, GL_TEXTURE_WRAP_T), GL_REPEAT);
}

TEST_F(TextureManagerTest, ChannelsPickRedRgbOrRgba) {
    const std::vector<uint8_t> bytes(4 * 4 * 4, 200);
    TextureParameters params;
    params.channels = 1;
    GLTexture2D red(bytes.data(), 4, 4, params);
    EXPECT_EQ(LevelParameter(&red, GL_TEXTURE_RED_SIZE), 8);
    EXPECT_EQ(LevelParameter(&red, GL_TEXTURE_GREEN_SIZE), 0);
    EXPECT_EQ(LevelParameter(&red, GL_TEXTURE_ALPHA_SIZE), 0);
    params.channels = 3;
    GLTexture2D rgb(bytes.data(), 4, 4, params);
    EXPECT_EQ(LevelParameter(&rgb, GL_TEXTURE_BLUE_SIZE), 8);
    EXPECT_EQ(LevelParameter(&rgb, GL_TEXTURE_ALPHA_SIZE), 0);
    params.channels = 2;
    GLTexture2D rgba(bytes.data(), 4, 4, params);
    EXPECT_EQ(LevelParameter(&rgba, GL_TEXTURE_ALPHA_SIZE), 8);
    EXPECT_EQ(LevelParameter(&rgba, GL_TEXTURE_WIDTH), 4);
    EXPECT_EQ(rgba.width, 4u);
    EXPECT_EQ(rgba.state, LifecycleCreated);
}

TEST_F(TextureManagerTest, NarrowPicturesAreWidenedRatherThanOverread) {
    GreyAlphaLoader greyLoader;
    GLTextureManager greyManager(&greyLoader);
    ITexture2D* texture = greyManager.LoadTexture("grey.png");
    EXPECT_EQ(texture->width, 2u);
    EXPECT_EQ(ReadTexture(IdOf(texture), 2, 1), (std::vector<uint8_t>{10, 10, 10, 20, 200, 200, 200, 255}));
    greyManager.Shutdown();
}

TEST_F(TextureManagerTest, UndecodablePictureStillReplacesTheKey) {
    ITexture2D* good = manager.LoadTexture("pictures/red.png", "card");
    EXPECT_EQ(good->width, 4u);
    ITexture2D* empty = manager.LoadTexture("pictures/missing.png", "card");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->width, 0u);
    EXPECT_EQ(empty->height, 0u);
    EXPECT_EQ(manager.GetTexture("card"), empty);
    EXPECT_EQ(loader.LiveImages(), 0);
}

// A copy would delete the same texture name a second time.
static_assert(!std::is_copy_constructible<GLTexture2D>::value && !std::is_copy_assignable<GLTexture2D>::value,
              "a texture object is the one owner of its GL name");

TEST_F(TextureManagerTest, UnloadThenDeleteFreesTheNameOnce) {
    OstrelTest::GLDeleteRecorder deletes;
    auto* texture = new GLTexture2D(nullptr, 2, 2);
    const GLuint id = texture->id;
    texture->Unload();
    EXPECT_EQ(texture->state, LifecycleReleased);
    EXPECT_FALSE(glIsTexture(id));
    EXPECT_EQ(texture->width, 2u);
    texture->Unload();
    delete texture;
    EXPECT_EQ(deletes.textures, (std::vector<GLuint>{id}));

    auto* kept = new GLTexture2D(nullptr, 2, 2);
    const GLuint keptId = kept->id;
    delete kept;  // never unloaded: the destructor frees it
    EXPECT_EQ(OstrelTest::GLDeleteRecorder::Count(deletes.textures, keptId), 1);
}

TEST_F(TextureManagerTest, ReplacingUnloadingAndShuttingDownDeleteEachTextureOnce) {
    OstrelTest::GLDeleteRecorder deletes;
    const GLuint first = IdOf(manager.LoadTexture("pictures/red.png", "a"));
    const GLuint second = IdOf(manager.LoadTexture("pictures/red.png", "a"));
    EXPECT_EQ(deletes.textures, (std::vector<GLuint>{first}));
    const GLuint b = IdOf(manager.LoadTexture("pictures/red.png", "b"));
    const GLuint c = IdOf(manager.LoadTexture("pictures/red.png", "c"));
    manager.UnloadTexture("b");
    manager.GetTexture("empty");
    manager.UnloadAll();
    manager.Shutdown();
    EXPECT_EQ(deletes.textures, (std::vector<GLuint>{first, b, second, c}));
}

}  // namespace
