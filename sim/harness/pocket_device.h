// Driver's view of a simulated device: start programs, act as the user and the platform, and
// observe what the user, the shell and other programs would see. One facet per domain; a helper
// that needs one domain can take that facet alone.
#pragma once

#include "device_core.h"
#include "faults_and_stops.h"
#include "keys_and_sound.h"
#include "processes_facet.h"
#include "registry_and_files.h"
#include "shell_facet.h"
#include "taskbar_and_stylus.h"

namespace pocket {

class PocketDevice : public DeviceCore,
                     public ProcessesFacet,
                     public ShellFacet,
                     public KeysAndSound,
                     public RegistryAndFiles,
                     public TaskbarAndStylus,
                     public FaultsAndStops {
public:
    // Boots a device with every program the build produced installed on it.
    explicit PocketDevice(sim::DeviceConfig config = {});
};

}  // namespace pocket
