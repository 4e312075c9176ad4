#pragma once

// Every logic test runs in its own temporary folder, which is also its TMP and its settings
// root, with the state of a freshly started program whose converters are the built ones.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Messages.h"
#include "ProgramState.h"
#include "TestSupport.h"
#include "gDataOrg.h"

class LogicTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string file(const std::string& name) const { return dir.file(name); }

    // A folder of stand-in converters: shell scripts with converter names.
    std::string stubFolder();
    void writeStub(const std::string& name, const std::string& script);

    testsupport::TempDir dir;
    kestrova::ProgramState state;
    kestrova::Messages messages;

private:
    std::string savedTmp_;
    bool hadTmp_ = false;
};

// Binary PGM files.
testsupport::Bytes pgmFile(int width, int height, int maxValue, const std::vector<int>& samples);

// Pixel sources over a test's pixels, with the extremes given.
kestrova::PixelSource ints(const std::vector<std::int32_t>& v, std::int32_t min, std::int32_t max);
kestrova::PixelSource floats(const std::vector<float>& v, float min, float max);
