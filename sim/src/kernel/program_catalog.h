// The programs a device can run: each one's image, resources and install path.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "image.h"
#include "resources.h"

namespace sim {

// A Windows CE program for the handheld, or a desktop Win32 program (8-bit strings, no resources).
enum class ProgramKind { Device, Desktop };

struct ProgramInfo {
    std::string name;
    ProgramKind kind = ProgramKind::Device;
    std::string imagePath;      // host path of the built image
    std::string resourcePath;   // host path of the compiled .res; empty for a program without resources
    std::u16string installPath; // where the program lives on the device
    std::vector<std::uint8_t> imageBytes;
    std::shared_ptr<const ResourceSet> resources;
    // Images of ended processes, their globals to be put back before another process runs one.
    mutable std::vector<std::unique_ptr<Image>> spareImages;
};

class ProgramCatalog {
public:
    // Reads the image and its resources once; every process of the program loads its own copy.
    const ProgramInfo& install(const std::string& name, const std::string& imagePath, const std::string& resourcePath,
                               const std::u16string& installPath, ProgramKind kind = ProgramKind::Device);
    const ProgramInfo* find(const std::string& name) const;
    // Moves a program to another place on the device (its files are the caller's business).
    void relocate(const std::string& name, const std::u16string& installPath);
    const ProgramInfo* findByInstallPath(const std::u16string& path) const;
    std::vector<std::string> names() const;

private:
    std::map<std::string, std::unique_ptr<ProgramInfo>> programs_;
};

}  // namespace sim
