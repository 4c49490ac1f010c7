// The language the locale chooses: English from the build's catalogue, the
// Spanish texts themselves with no catalogue, drawn text in Latin-1 and
// printed text in the terminal's encoding.
#include "idioma.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Each test runs in its own process: the locale it sets is its own.
void iniciarCon(const char* lcAll, const char* language = nullptr)
{
    unsetenv("LANG");
    unsetenv("LC_MESSAGES");
    if (language != nullptr)
        setenv("LANGUAGE", language, 1);
    else
        unsetenv("LANGUAGE");
    setenv("LC_ALL", lcAll, 1);
    zk_idioma_iniciar();
    if (std::string(lcAll) != "C" && std::string(lcAll) != "POSIX")
        ASSERT_NE(setlocale(LC_MESSAGES, nullptr), std::string("C"))
            << lcAll << " is not generated: run the suite through ./test.sh, which makes it";
}

} // namespace

TEST(Idioma, AnEnglishLocaleGivesEnglishLatin1MessageIdsAndTheYesKey)
{
    iniciarCon("en_US.UTF-8");
    EXPECT_STREQ(zk_tr("Pausa"), "Paused");
    EXPECT_STREQ(zk_tr("Puntaje = %d "), "Score = %d ");
    // the ids are the games' Latin-1 bytes
    EXPECT_STREQ(zk_tr("Proyecci\xF3n (o)"), "Projection (o)");
    EXPECT_STREQ(zk_tr("\xBF" "Continuar?"), "Continue?");
    EXPECT_STREQ(zk_trc("tecla para seguir", "S"), "Y");
    // a text the catalogue does not hold comes back as it is
    EXPECT_STREQ(zk_tr("no es un texto del juego"), "no es un texto del juego");
    EXPECT_STREQ(zk_trc("otro contexto", "S"), "S");
}

TEST(Idioma, CPosixSpanishFrenchAndLanguageEsKeepTheSpanishTexts)
{
    for (const char* l : {"C", "POSIX"}) {
        iniciarCon(l);
        EXPECT_STREQ(zk_tr("Pausa"), "Pausa") << l;
        EXPECT_STREQ(zk_trc("tecla para seguir", "S"), "S") << l;
    }
    for (const char* l : {"es_ES.UTF-8", "fr_FR.UTF-8"}) {
        iniciarCon(l);
        EXPECT_STREQ(zk_tr("Pausa"), "Pausa") << l;
        EXPECT_STREQ(zk_tr("Proyecci\xF3n (o)"), "Proyecci\xF3n (o)") << l;
    }
    // LANGUAGE before the locale, as for every gettext program
    iniciarCon("en_US.UTF-8", "es");
    EXPECT_STREQ(zk_tr("Pausa"), "Pausa");
}

// Models, settings and records are numbers with a decimal point, whatever
// the player's language writes.
TEST(Idioma, NumbersKeepTheDecimalPointInALocaleWithAComma)
{
    iniciarCon("es_ES.UTF-8");
    EXPECT_DOUBLE_EQ(strtod("0.5", nullptr), 0.5);
    char s[16];
    snprintf(s, sizeof s, "%.1f", 2.5);
    EXPECT_STREQ(s, "2.5");
}

TEST(Idioma, PrintedTextIsUtf8InAUtf8LocaleAndTheSameBytesElsewhere)
{
    const char* latin1 = "proyecci\xF3n \xBF" "a?";
    iniciarCon("C");
    EXPECT_EQ(zk_impreso(latin1), latin1);
    iniciarCon("C.UTF-8");
    EXPECT_EQ(zk_impreso(latin1), "proyecci\xC3\xB3n \xC2\xBF" "a?");
    EXPECT_EQ(zk_impreso(""), "");

    // zk_decir converts the whole line, its arguments too
    char* buf = nullptr;
    size_t n = 0;
    FILE* f = open_memstream(&buf, &n);
    ASSERT_NE(f, nullptr);
    zk_decir(f, "%s %d\n", "entr\xF3", 7);
    fclose(f);
    EXPECT_EQ(std::string(buf, n), "entr\xC3\xB3 7\n");
    free(buf);
}
