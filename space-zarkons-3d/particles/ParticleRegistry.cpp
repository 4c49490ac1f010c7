// The one list of running particle effects, drawn last in every frame.
#include "ParticleRegistry.h"

#include "ParticleSystem.h"

#include <algorithm>
#include <cassert>

ParticleRegistry* ParticleRegistry::getInstance()
{
    // kept for the whole run, like the effects it still lists at exit
    static ParticleRegistry* instance = new ParticleRegistry();
    return instance;
}

void ParticleRegistry::add(ParticleSystem* system)
{
    assert(system != nullptr);
    systems.push_back(system);
}

void ParticleRegistry::remove(ParticleSystem* system)
{
    auto it = std::find(systems.begin(), systems.end(), system);
    if (it != systems.end())
        erase((size_t)(it - systems.begin()));
}

void ParticleRegistry::drawAll()
{
    size_t i = 0;
    while (i < systems.size()) {
        ParticleSystem* system = systems[i];
        system->render();
        // the entry after an erased one takes its place, so i stays
        if (!system->isActive())
            erase(i);
        else
            i++;
    }
}

void ParticleRegistry::handOver(ParticleSystem* system)
{
    if (system == nullptr)
        return;
    if (!contains(system)) {
        delete system;
        return;
    }
    // still playing: it stays listed, drawn as before, and is ours to delete
    if (std::find(orphaned.begin(), orphaned.end(), system) == orphaned.end())
        orphaned.push_back(system);
}

void ParticleRegistry::clear()
{
    // from the back, so erasing moves nothing still to be visited
    while (!systems.empty())
        erase(systems.size() - 1);
}

bool ParticleRegistry::contains(const ParticleSystem* system) const
{
    return std::find(systems.begin(), systems.end(), system) != systems.end();
}

void ParticleRegistry::erase(size_t i)
{
    assert(i < systems.size());
    ParticleSystem* system = systems[i];
    systems.erase(systems.begin() + (std::ptrdiff_t)i);
    // an owned system is its owner's to delete; an orphan goes with its last entry
    if (contains(system))
        return;
    auto it = std::find(orphaned.begin(), orphaned.end(), system);
    if (it == orphaned.end())
        return;
    orphaned.erase(it);
    delete system;
}
