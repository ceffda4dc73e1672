// The simulation's own tests look inside the device the harness drives.
#pragma once

#include "device.h"
#include "pocket_device.h"

namespace pocket {

struct InsideAccess {
    static sim::Device& of(PocketDevice& device) { return *static_cast<DeviceCore&>(device).owned_; }
};

}  // namespace pocket

inline sim::Device& inside(pocket::PocketDevice& device) { return pocket::InsideAccess::of(device); }
