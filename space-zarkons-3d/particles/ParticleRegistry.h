// The one list of running particle effects, drawn last in every frame.
#pragma once

#include <vector>

class ParticleSystem;

class ParticleRegistry {
public:
    static ParticleRegistry* getInstance();
    void add(ParticleSystem* system);
    // Erases the first entry equal to `system`; does not delete it.
    void remove(ParticleSystem* system);
    // Draws every entry; entries whose burst is over leave the list.
    void drawAll();
    const std::vector<ParticleSystem*>& entries() const { return systems; }

private:
    ParticleRegistry() = default;
    std::vector<ParticleSystem*> systems;
};
