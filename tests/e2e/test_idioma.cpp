// Both games in the player's language: English in an English locale, the
// Spanish texts in any locale without a catalogue, and what they print in
// the terminal's encoding.
#include "e2e.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

const std::string kInstruccionesEn =
    "\nInstructions:\n"
    "   The left and right arrow keys move your ship; the 'M' key fires.\n"
    "   Drag with the left mouse button to turn the view; the Home key restores it.\n"
    "   The 'A' key pauses and resumes the game.\n"
    "        (The 'H' key shows every key; '+' and '-' zoom in and out.)\n"
    "   The 'P' key switches between perspective and orthographic projection.\n"
    "   The Escape key ends the program.\n\n";

// The Spanish line with the accent, as a UTF-8 terminal shows it.
const char* const kLineaConAcentoUtf8 =
    "   La tecla 'P' cambia entre proyeccci\xC3\xB3n en perspectiva y ortografica.\n";

// The locale the game starts in (LANGUAGE as well, when given); false when
// the machine lacks it.
bool elegirIdioma(const char* lcAll, const char* language = nullptr)
{
    setenv("LC_ALL", lcAll, 1);
    if (language != nullptr)
        setenv("LANGUAGE", language, 1);
    else
        unsetenv("LANGUAGE");
    return setlocale(LC_ALL, lcAll) != nullptr;
}

class Idioma : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "no X display: run the suite through ./test.sh";
        dir = zk::makeTempDir();
    }
    void TearDown() override
    {
        juego.reset();
        if (!dir.empty())
            zk::runCommand("rm -rf '" + dir + "'");
    }

    // Tie Zarkons from its opening to Escape: what it wrote meanwhile.
    std::string instruccionesDeTie(const std::string& esperadas)
    {
        juego = std::make_unique<zk::GameProcess>(zk::binaryPath("tie-zarkons"), std::vector<std::string>{}, dir);
        EXPECT_TRUE(juego->start());
        EXPECT_FALSE(juego->findWindow("Tie Zarkons").empty()) << juego->errors();
        EXPECT_TRUE(juego->waitForOutput(esperadas, 20)) << juego->output();
        juego->key("Escape");
        EXPECT_EQ(juego->waitExit(20), 0) << juego->errors();
        return juego->output();
    }

    std::string dir;
    std::unique_ptr<zk::GameProcess> juego;
};

} // namespace

TEST_F(Idioma, TieZarkonsWritesItsInstructionsInEnglish)
{
    ASSERT_TRUE(elegirIdioma("en_US.UTF-8")) << "no en_US.UTF-8: run the suite through ./test.sh";
    EXPECT_EQ(instruccionesDeTie(kInstruccionesEn), kInstruccionesEn);
}

// No catalogue for the language (or LANGUAGE asks for Spanish): the Spanish
// texts, with their accent in the locale's UTF-8.
TEST_F(Idioma, WithoutACatalogueTieZarkonsWritesSpanishInTheLocalesEncoding)
{
    for (const char* l : {"C.UTF-8", "fr_FR.UTF-8"}) {
        SCOPED_TRACE(l);
        ASSERT_TRUE(elegirIdioma(l)) << "no " << l << ": run the suite through ./test.sh";
        EXPECT_NE(instruccionesDeTie(kLineaConAcentoUtf8).find("\nInstrucciones:\n"), std::string::npos);
    }
    ASSERT_TRUE(elegirIdioma("en_US.UTF-8", "es"));
    EXPECT_NE(instruccionesDeTie(kLineaConAcentoUtf8).find("\nInstrucciones:\n"), std::string::npos);
}

TEST_F(Idioma, SpaceZarkonsSaysInEnglishThatItsDataAreMissing)
{
    ASSERT_TRUE(elegirIdioma("en_US.UTF-8")) << "no en_US.UTF-8: run the suite through ./test.sh";
    // a folder without data/: the game ends at once, saying why
    zk::GameProcess juegoSinDatos(zk::binaryPath("space-zarkons-3d"), {}, dir);
    ASSERT_TRUE(juegoSinDatos.start());
    EXPECT_EQ(juegoSinDatos.waitExit(30), 1);
    EXPECT_NE(juegoSinDatos.output().find(
                  "Could not load the game's models: the data folder or a model is missing\n"),
              std::string::npos)
        << juegoSinDatos.output();
}
