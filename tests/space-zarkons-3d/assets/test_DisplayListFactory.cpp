// The display-list factory: each model loaded and compiled once, failures
// thrown, and a list name of 0 not mistaken for "not loaded yet".
#include "DisplayListFactory.h"
#include "ac3d_files.h"

#include <GL/glx.h>
#include <gtest/gtest.h>

#include <exception>
#include <filesystem>

using ac3dtest::Scratch;
using zk::GlTest;

namespace
{

// One triangle whose first corner tells the models apart.
std::string model(float x)
{
    return "AC3Db\nOBJECT poly\nnumvert 3\n" + std::to_string(x) +
           " 0 0\n1 1 0\n0 1 0\nnumsurf 1\n"
           "SURF 0x20\nrefs 3\n0 0 0\n1 0 0\n2 0 0\nkids 0\n";
}

float firstCorner(unsigned int list)
{
    zk::useOrthoBox(4);
    auto verts = zk::allVertices(zk::captureFeedback([&] { glCallList(list); }));
    return verts.empty() ? -99.0f : (float)verts[0].ox;
}

} // namespace

TEST_F(GlTest, FactoryLoadsEachModelOnceAndKeepsThemApart)
{
    Scratch s;
    s.write("data/nave_open.ac", model(-1));
    s.write("data/nave1_chico.ac", model(-2));
    unsigned int* open = DisplayListFactory::getNaveOpen();
    ASSERT_NE(*open, 0u);
    // gone from disk: a second call must not go looking for it
    std::filesystem::remove("data/nave_open.ac");
    EXPECT_EQ(DisplayListFactory::getNaveOpen(), open);

    unsigned int* chico = DisplayListFactory::getNave1Chico();
    EXPECT_NE(chico, open);
    EXPECT_NE(*chico, *open);
    EXPECT_NEAR(firstCorner(*open), -1, 1e-3);
    EXPECT_NEAR(firstCorner(*chico), -2, 1e-3);

    // releasing the trees leaves the compiled lists in service
    delete new DisplayListFactory();
    EXPECT_EQ(DisplayListFactory::getNaveOpen(), open);
    EXPECT_NEAR(firstCorner(*open), -1, 1e-3);
}

TEST_F(GlTest, FactoryThrowsForAMissingModelAndTriesAgainLater)
{
    Scratch s;
    zk::StdoutCapture capture;
    EXPECT_THROW(DisplayListFactory::getMisilChico(), std::exception);
    EXPECT_EQ(capture.finish(), "can't open data/Misil_chico.ac\n");
    s.write("data/Misil_chico.ac", model(-3));
    unsigned int* misil = DisplayListFactory::getMisilChico();
    EXPECT_NEAR(firstCorner(*misil), -3, 1e-3);
}

TEST(DisplayListFactory, AListNameOfZeroStillCountsAsLoaded)
{
    Scratch s;
    s.write("data/nave_open.ac", model(0));
    // without a current context glGenLists gives 0
    Display* display = glXGetCurrentDisplay();
    GLXDrawable drawable = glXGetCurrentDrawable();
    GLXContext context = glXGetCurrentContext();
    if (context != nullptr)
        glXMakeCurrent(display, None, nullptr);
    unsigned int* open = DisplayListFactory::getNaveOpen();
    EXPECT_EQ(*open, 0u);
    std::filesystem::remove("data/nave_open.ac");
    unsigned int* again = nullptr;
    EXPECT_NO_THROW(again = DisplayListFactory::getNaveOpen()) << "the model was loaded again";
    EXPECT_EQ(again, open);
    if (context != nullptr)
        glXMakeCurrent(display, drawable, context);
}
