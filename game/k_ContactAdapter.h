// Turns the physics library's contact callbacks into ended contact points for the game's
// rules (Remove). Remembers the last touching manifold of every contact, because the live
// one is empty or stale once a contact ends. Failures raised by the rules are held back
// until the world is unlocked again and re-raised through RethrowPendingFailure.
#pragma once

#include <box2d/box2d.h>

#include <exception>
#include <unordered_map>

#include "game/ContactPoint.h"

class k_ContactAdapter : public b2ContactListener {
public:
    void BeginContact(b2Contact* contact) override;
    void EndContact(b2Contact* contact) override;
    void PreSolve(b2Contact* contact, const b2Manifold* oldManifold) override;

    // Called once for every contact point that ceases to exist.
    virtual void Remove(const ContactPoint& point) = 0;

    // Raises the first failure caught inside a callback since the last call, if any.
    void RethrowPendingFailure();

private:
    struct RememberedPoint {
        b2ContactID id;
        b2Vec2 localOnFirst;
        b2Vec2 localOnSecond;
    };
    struct Snapshot {
        b2Body* first = nullptr;
        b2Body* second = nullptr;
        b2Vec2 normal;  // from the first body to the second
        int pointCount = 0;
        RememberedPoint points[b2_maxManifoldPoints];
    };

    static Snapshot TakeSnapshot(b2Contact* contact);
    void EmitVanishedPoints(const Snapshot& before, const Snapshot& now);
    void Emit(const Snapshot& snapshot, const RememberedPoint& point);
    void Hold(std::exception_ptr failure);

    std::unordered_map<b2Contact*, Snapshot> snapshots;
    std::exception_ptr pendingFailure;
};
