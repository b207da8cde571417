// What keeps the library loaded: live objects (class factories included) and
// factory locks, counted so that "can unload now" tells the truth.
#pragma once

namespace corvid::component {

void objectCreated() noexcept;
void objectDestroyed() noexcept;
void lockServer() noexcept;
/// Undoes one lock; false when no lock was held.
bool unlockServer() noexcept;
/// True when no object and no lock is alive.
bool canUnload() noexcept;

}  // namespace corvid::component
