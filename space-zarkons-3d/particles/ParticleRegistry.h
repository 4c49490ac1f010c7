// The one list of running particle effects, drawn last in every frame.
//
// Ownership: a listed system normally belongs to someone else (a ship owns its
// explosion), and leaving the list does not delete it. When an owner goes away
// it calls handOver: a system that is still listed then belongs to the
// registry, which deletes it once its last entry has left; one that is not
// listed is deleted at once. So nothing leaks, and nothing is drawn any
// differently because its ship is gone.
#pragma once

#include <cstddef>
#include <vector>

class ParticleSystem;

class ParticleRegistry {
public:
    static ParticleRegistry* getInstance();
    // Appends `system`; the same system may be listed more than once.
    void add(ParticleSystem* system);
    // Erases the first entry equal to `system`; does not delete an owned one.
    void remove(ParticleSystem* system);
    // Draws every entry; entries whose burst is over leave the list.
    void drawAll();
    // The owner of `system` is going away (see above). Null does nothing.
    void handOver(ParticleSystem* system);
    // Every entry leaves at once (a new game); handed-over systems are deleted.
    void clear();

    const std::vector<ParticleSystem*>& entries() const { return systems; }
    // True while `system` is listed.
    bool contains(const ParticleSystem* system) const;
    // Systems handed over by their owners and still listed.
    const std::vector<ParticleSystem*>& orphans() const { return orphaned; }

private:
    ParticleRegistry() = default;
    // Erases entry i, deleting a handed-over system whose last entry it was.
    void erase(std::size_t i);

    std::vector<ParticleSystem*> systems;
    std::vector<ParticleSystem*> orphaned;
};
