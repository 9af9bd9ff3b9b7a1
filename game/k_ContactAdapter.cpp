#include "game/k_ContactAdapter.h"

#include <algorithm>

#include "game/PhysicsScale.h"

// A contact that starts touching has no earlier points; anything remembered under its
// address belongs to a contact that is gone.
void k_ContactAdapter::BeginContact(b2Contact* contact) { snapshots.erase(contact); }

void k_ContactAdapter::EndContact(b2Contact* contact) {
    auto entry = snapshots.find(contact);
    if (entry == snapshots.end()) {
        return;
    }
    Snapshot snapshot = entry->second;
    snapshots.erase(entry);
    for (int index = 0; index < snapshot.pointCount; ++index) {
        Emit(snapshot, snapshot.points[index]);
    }
}

// Runs for every touching contact before the solver. The bounce and grip of a contact are
// fixed when it is created; the ball's bounce changes every step, so both are mixed again.
void k_ContactAdapter::PreSolve(b2Contact* contact, const b2Manifold*) {
    contact->ResetRestitution();
    contact->ResetFriction();
    Snapshot now = TakeSnapshot(contact);
    auto [entry, isNew] = snapshots.try_emplace(contact, now);
    if (!isNew) {
        Snapshot before = entry->second;
        entry->second = now;
        EmitVanishedPoints(before, now);
    }
}

// The box comes first against a circle, as the game's rules expect.
k_ContactAdapter::Snapshot k_ContactAdapter::TakeSnapshot(b2Contact* contact) {
    b2Fixture* first = contact->GetFixtureA();
    b2Fixture* second = contact->GetFixtureB();
    bool swap = first->GetType() == b2Shape::e_circle && second->GetType() == b2Shape::e_polygon;
    b2WorldManifold world;
    contact->GetWorldManifold(&world);

    Snapshot snapshot;
    snapshot.first = (swap ? second : first)->GetBody();
    snapshot.second = (swap ? first : second)->GetBody();
    snapshot.normal = swap ? -world.normal : world.normal;
    const b2Manifold* manifold = contact->GetManifold();
    snapshot.pointCount = manifold->pointCount;
    for (int index = 0; index < manifold->pointCount; ++index) {
        RememberedPoint& point = snapshot.points[index];
        point.id = manifold->points[index].id;
        point.localOnFirst = snapshot.first->GetLocalPoint(world.points[index]);
        point.localOnSecond = snapshot.second->GetLocalPoint(world.points[index]);
    }
    return snapshot;
}

// A point is the same from one step to the next when its feature id is.
void k_ContactAdapter::EmitVanishedPoints(const Snapshot& before, const Snapshot& now) {
    const RememberedPoint* nowEnd = now.points + now.pointCount;
    for (int index = 0; index < before.pointCount; ++index) {
        const RememberedPoint& old = before.points[index];
        auto sameFeature = [&](const RememberedPoint& point) { return point.id.key == old.id.key; };
        if (std::none_of(now.points, nowEnd, sameFeature)) {
            Emit(before, old);
        }
    }
}

// The point's velocity is taken now, from each body's motion at the remembered spot.
void k_ContactAdapter::Emit(const Snapshot& snapshot, const RememberedPoint& point) {
    b2Vec2 relative = snapshot.second->GetLinearVelocityFromLocalPoint(point.localOnSecond) -
                      snapshot.first->GetLinearVelocityFromLocalPoint(point.localOnFirst);
    b2Vec2 velocity = ToPixels(relative);
    ContactPoint ended;
    ended.body1 = snapshot.first;
    ended.body2 = snapshot.second;
    ended.normal = PixelVector{snapshot.normal.x, snapshot.normal.y};
    ended.velocity = PixelVector{velocity.x, velocity.y};
    // A failure must not unwind through the physics library, which would stay locked.
    try {
        Remove(ended);
    } catch (...) {
        Hold(std::current_exception());
    }
}

void k_ContactAdapter::Hold(std::exception_ptr failure) {
    if (!pendingFailure) {
        pendingFailure = failure;
    }
}

void k_ContactAdapter::RethrowPendingFailure() {
    if (pendingFailure) {
        std::exception_ptr failure = pendingFailure;
        pendingFailure = nullptr;
        std::rethrow_exception(failure);
    }
}
