#include "program_catalog.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "utf.h"

namespace sim {

namespace {

std::vector<std::uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

const ProgramInfo& ProgramCatalog::install(const std::string& name, const std::string& imagePath,
                                           const std::string& resourcePath, const std::u16string& installPath,
                                           ProgramKind kind) {
    auto info = std::make_unique<ProgramInfo>();
    info->name = name;
    info->kind = kind;
    info->imagePath = imagePath;
    info->resourcePath = resourcePath;
    info->installPath = installPath;
    info->imageBytes = readFile(imagePath);
    info->resources = std::make_shared<const ResourceSet>(resourcePath.empty() ? ResourceSet{}
                                                                               : ResourceSet::load(resourcePath));
    auto& slot = programs_[name];
    slot = std::move(info);
    return *slot;
}

const ProgramInfo* ProgramCatalog::find(const std::string& name) const {
    auto it = programs_.find(name);
    return it == programs_.end() ? nullptr : it->second.get();
}

void ProgramCatalog::relocate(const std::string& name, const std::u16string& installPath) {
    auto it = programs_.find(name);
    if (it == programs_.end()) throw std::invalid_argument("no program named " + name);
    it->second->installPath = installPath;
}

const ProgramInfo* ProgramCatalog::findByInstallPath(const std::u16string& path) const {
    for (const auto& [name, info] : programs_)
        if (equalsIgnoreCase(info->installPath, path)) return info.get();
    return nullptr;
}

std::vector<std::string> ProgramCatalog::names() const {
    std::vector<std::string> out;
    for (const auto& [name, info] : programs_) out.push_back(name);
    return out;
}

}  // namespace sim
