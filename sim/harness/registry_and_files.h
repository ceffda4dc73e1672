// The registry and the file system, from the driver's side: full key paths such as
// "HKCU\Software\Orvalen\VoltmaraPPC" (HKLM, HKCR, HKU too), device paths in UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "device_core.h"

namespace pocket {

class RegistryAndFiles : protected Facet {
public:
    void setRegistryValue(const std::string& key, const std::u16string& name, DWORD type, std::vector<std::uint8_t> data);
    std::optional<sim::RegistryValue> registryValue(const std::string& key, const std::u16string& name) const;
    bool deleteRegistryValue(const std::string& key, const std::u16string& name);
    bool deleteRegistryKey(const std::string& key);
    bool registryKeyExists(const std::string& key) const;
    std::optional<RegistryKeyView> registryKey(const std::string& key) const;
    void setDword(const std::string& key, const std::u16string& name, DWORD value);
    std::optional<DWORD> dword(const std::string& key, const std::u16string& name) const;
    // Opening the key, or reading or writing one of its values, fails with `error` until cleared.
    void failRegistryKey(const std::string& key, DWORD error);
    void failRegistryValue(const std::string& key, const std::u16string& name, DWORD error);
    void clearRegistryFaults(const std::string& key);

    // Files on the device, by device path (\Program Files\rcbridge\beep.wav, in any case).
    bool putFile(const std::string& devicePath, std::vector<std::uint8_t> bytes);
    bool removeFile(const std::string& devicePath);
    bool fileExists(const std::string& devicePath) const;
    bool folderExists(const std::string& devicePath) const;
    std::optional<std::vector<std::uint8_t>> fileBytes(const std::string& devicePath) const;
    // Every file and folder, in the order of their paths.
    std::vector<FileView> files() const;

protected:
    explicit RegistryAndFiles(sim::Device& device) : Facet(device) {}
};

}  // namespace pocket
