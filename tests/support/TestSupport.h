#pragma once

// Helpers shared by the tests: temporary folders, whole-file I/O, and running the real
// converter programs with their own environment.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace testsupport {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

using Bytes = std::vector<unsigned char>;

Bytes readBytes(const std::string& path);
std::string readText(const std::string& path);
void writeBytes(const std::string& path, const Bytes& bytes);
void writeText(const std::string& path, const std::string& text);
bool fileExists(const std::string& path);
// Names of the entries of a folder, sorted.
std::vector<std::string> listFolder(const std::string& path);

// Folder of the built programs.
std::string binDir();
std::string program(const std::string& name);

struct RunResult {
    int exitCode = -1;  // -1 when the program could not be started, 128 + n after signal n
    std::string standardError;
    std::string standardOutput;
};

// Runs a program with exactly these arguments (argv[0] included) and, when `environment`
// is given, exactly that environment; otherwise the test's own environment plus `extra`.
RunResult run(const std::vector<std::string>& argv, const std::map<std::string, std::string>& extra = {},
              bool replaceEnvironment = false);

// True once no process of the group runs (one that has ended and waits to be collected does not
// count). A process sent SIGKILL takes a moment to end: this waits up to ten seconds.
bool processGroupEnds(int group);

// Little-endian helpers for building files by hand.
void putU16(Bytes& b, std::uint16_t v);
void putU32(Bytes& b, std::uint32_t v);
std::uint32_t getU32(const Bytes& b, std::size_t offset);

// A KSV file: the header text, zero padding to 256 bytes, then the pixels.
Bytes makeKsv(const std::string& headerText, const std::vector<std::int32_t>& pixels);
Bytes makeKsvFloat(const std::string& headerText, const std::vector<float>& pixels);
std::vector<std::int32_t> ksvIntPixels(const Bytes& file);
std::vector<float> ksvFloatPixels(const Bytes& file);
// The header text of a KSV file, up to the first zero byte.
std::string ksvHeaderText(const Bytes& file);

}  // namespace testsupport
