// LifecycleState.h - the lifecycle word most framework objects carry, so that
// initialisation and release each run once.
#pragma once

#include <cstdint>

namespace Ostrel {

using LifecycleState = uint32_t;

constexpr LifecycleState LifecycleCreated = 0;
constexpr LifecycleState LifecycleInitialised = 1;
constexpr LifecycleState LifecycleReleased = 2;

}  // namespace Ostrel
