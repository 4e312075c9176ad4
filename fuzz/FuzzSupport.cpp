#include "FuzzSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace fuzzing {

namespace {

std::string makeScratchFolder()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/kestrova-fuzz-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("kestrova fuzz: cannot create a scratch folder");
        std::abort();
    }
    return pattern;
}

std::string* scratch = nullptr;

void removeScratch()
{
    if (scratch == nullptr)
        return;
    std::error_code ignored;
    std::filesystem::remove_all(*scratch, ignored);
}

}  // namespace

const std::string& scratchFolder()
{
    if (scratch == nullptr) {
        scratch = new std::string(makeScratchFolder());
        std::atexit(removeScratch);
    }
    return *scratch;
}

std::string scratchFile(const std::string& name)
{
    return scratchFolder() + "/" + name;
}

void writeFile(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    require(file != nullptr, "cannot create a scratch file");
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    require(std::fclose(file) == 0 && written, "cannot write a scratch file");
}

void writeFile(const std::string& path, const std::string& bytes)
{
    writeFile(path, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

std::optional<std::string> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> folderEntries(const std::string& path)
{
    std::vector<std::string> names;
    DIR* folder = ::opendir(path.c_str());
    require(folder != nullptr, "cannot list the scratch folder");
    while (const dirent* entry = ::readdir(folder)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(folder);
    std::sort(names.begin(), names.end());
    return names;
}

void require(bool condition, const char* what)
{
    if (condition)
        return;
    std::fprintf(stderr, "kestrova fuzz: property broken: %s\n", what);
    std::abort();
}

}  // namespace fuzzing
