// Loads each of the three models once, compiles it into a display list and
// hands out the address of its list name.
#pragma once

struct ACObject_t;

class DisplayListFactory {
public:
    virtual ~DisplayListFactory();

    // Each throws std::exception when its model cannot be loaded.
    static unsigned int* getMisilChico();
    static unsigned int* getNaveOpen();
    static unsigned int* getNave1Chico();
    // Models read from their files so far: a new game reads none.
    static int getCargas();
};
