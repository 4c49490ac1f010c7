// The games' texts in the player's language, chosen by the locale.
#pragma once

#include <cstdio>
#include <string>

// Takes the language from the environment (LANGUAGE, LC_ALL, LC_MESSAGES,
// LANG) and opens the games' catalogue. Numbers keep the C locale's decimal
// point: the model, settings and records files are read and written with it.
// Without a catalogue for the language every text stays as written here.
void zk_idioma_iniciar();

// A text in the player's language, in Latin-1: the bytes the fonts draw.
const char* zk_tr(const char* texto) __attribute__((format_arg(1)));

// The same, for a short text that needs a context to tell it apart (a key).
const char* zk_trc(const char* contexto, const char* texto) __attribute__((format_arg(2)));

// Marks a text where it is defined; zk_tr translates it where it is used.
#define ZK_N(texto) texto

// A Latin-1 text as the terminal shows it: UTF-8 in a UTF-8 locale, the very
// same bytes in any other.
std::string zk_impreso(const char* latin1);

// fprintf for the lines the games print: the whole line goes through zk_impreso.
void zk_decir(FILE* f, const char* formato, ...) __attribute__((format(printf, 2, 3)));
