// Score strip: placeholder until it lands.
#include "globales.h"

void alternarScore() {}
void reshapeScore(int, int) {}
void displayScore() {}
void drawBitmapString(const char*) {}
