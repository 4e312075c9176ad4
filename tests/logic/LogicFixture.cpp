#include "LogicFixture.h"

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

#include "gFileConvert.h"

using namespace testsupport;

void LogicTest::SetUp()
{
    const char* tmp = std::getenv("TMP");
    hadTmp_ = tmp != nullptr;
    if (hadTmp_)
        savedTmp_ = tmp;
    ::setenv("TMP", dir.path().c_str(), 1);
    ::setenv("AppData", dir.file("appdata").c_str(), 1);
    state.workFolder = kestrova::workFolderFromEnvironment();
    state.converterFolder = binDir();
}

void LogicTest::TearDown()
{
    if (hadTmp_)
        ::setenv("TMP", savedTmp_.c_str(), 1);
    else
        ::unsetenv("TMP");
    ::unsetenv("AppData");
}

std::string LogicTest::stubFolder()
{
    const std::string folder = dir.file("stubs");
    std::filesystem::create_directories(folder);
    return folder;
}

void LogicTest::writeStub(const std::string& name, const std::string& script)
{
    const std::string path = stubFolder() + "/" + name;
    writeText(path, "#!/bin/sh\n" + script + "\n");
    ::chmod(path.c_str(), 0755);
}

Bytes pgmFile(int width, int height, int maxValue, const std::vector<int>& samples)
{
    const std::string header =
        "P5\n" + std::to_string(width) + " " + std::to_string(height) + "\n" + std::to_string(maxValue) + "\n";
    Bytes b(header.begin(), header.end());
    for (const int s : samples) {
        if (maxValue >= 256)
            b.push_back(static_cast<unsigned char>(s >> 8));
        b.push_back(static_cast<unsigned char>(s));
    }
    return b;
}

kestrova::PixelSource ints(const std::vector<std::int32_t>& v, std::int32_t min, std::int32_t max)
{
    kestrova::PixelSource p;
    p.intPixels = v.data();
    p.count = v.size();
    p.intMin = min;
    p.intMax = max;
    return p;
}

kestrova::PixelSource floats(const std::vector<float>& v, float min, float max)
{
    kestrova::PixelSource p;
    p.isFloat = true;
    p.floatPixels = v.data();
    p.count = v.size();
    p.floatMin = min;
    p.floatMax = max;
    return p;
}
