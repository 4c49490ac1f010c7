// Loads each of the three models once, compiles it into a display list and
// hands out the address of its list name.
#include "DisplayListFactory.h"

#include "ac3d.h"

#include <exception>

// One model of the game: its file, its tree and its compiled list.
struct FactoryModel {
    const char* file;
    ACObject_t* tree;
    unsigned int list;
    bool loaded; // glGenLists may give 0, so the list name cannot tell
};

static FactoryModel misilChico = {"data/Misil_chico.ac", nullptr, 0, false};
static FactoryModel naveOpen = {"data/nave_open.ac", nullptr, 0, false};
static FactoryModel nave1Chico = {"data/nave1_chico.ac", nullptr, 0, false};
static int cargas = 0;

static unsigned int* listOf(FactoryModel& model)
{
    if (!model.loaded) {
        ACObject_t* tree = ac_load_ac3d(const_cast<char*>(model.file));
        if (tree == nullptr)
            throw std::exception();
        model.tree = tree;
        // a few long runs of triangles: the software renderer pays per primitive
        model.list = (unsigned int)ac_display_list_batched(tree);
        model.loaded = true;
        cargas++;
    }
    return &model.list;
}

static void release(FactoryModel& model)
{
    ac_object_free(model.tree);
    model.tree = nullptr;
}

DisplayListFactory::~DisplayListFactory()
{
    // the lists stay: the scene objects still call them
    release(misilChico);
    release(naveOpen);
    release(nave1Chico);
}

unsigned int* DisplayListFactory::getMisilChico()
{
    return listOf(misilChico);
}

unsigned int* DisplayListFactory::getNaveOpen()
{
    return listOf(naveOpen);
}

unsigned int* DisplayListFactory::getNave1Chico()
{
    return listOf(nave1Chico);
}

int DisplayListFactory::getCargas()
{
    return cargas;
}
