// The library's object and lock counts.

#include "ServerLifetime.h"

#include <atomic>

namespace corvid::component {
namespace {
std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};
}  // namespace

void objectCreated() noexcept { ++g_objects; }
void objectDestroyed() noexcept { --g_objects; }
void lockServer() noexcept { ++g_locks; }

bool unlockServer() noexcept {
    long locks = g_locks.load();
    // Never below zero: an extra unlock must not hide a real lock taken later.
    while (locks > 0)
        if (g_locks.compare_exchange_weak(locks, locks - 1))
            return true;
    return false;
}

bool canUnload() noexcept { return g_objects.load() == 0 && g_locks.load() == 0; }

}  // namespace corvid::component
