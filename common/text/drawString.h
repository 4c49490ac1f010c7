// Stroke-font text shared by both games.
#pragma once

// Draws s with GLUT's Roman stroke font, its first line starting at (x, y) in
// the z = 0 plane of the caller's model-view space, each line about `size`
// units tall and 1.15 * size below the one before. Sets no colour or width.
// Latin-1 text: the accented letters of Spanish, the n with its tilde and the
// opening marks are drawn with the advance of their base letter; any other
// byte the font lacks draws nothing.
void drawString(const char* s, double x, double y, double size);

// How far drawString(s, x, y, size) reaches right of x on its longest line:
// the sum of the letters' advances, in the caller's units.
double stringWidth(const char* s, double size);
