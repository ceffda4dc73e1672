#include "pocket_device.h"

namespace pocket {

PocketDevice::PocketDevice(sim::DeviceConfig config)
    : DeviceCore(config),
      ProcessesFacet(simulation(), *this),
      ShellFacet(simulation()),
      KeysAndSound(simulation()),
      RegistryAndFiles(simulation()),
      TaskbarAndStylus(simulation(), *this),
      FaultsAndStops(simulation()) {
    installEveryProgram();
}

}  // namespace pocket
