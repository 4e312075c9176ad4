#include "ConverterHarness.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "ConverterMessages.h"
#include "FuzzSupport.h"
#include "KsvFormat.h"

namespace fuzzing {

namespace {

// What the output path held before the run; a failed run must leave it so.
const std::string kEarlierOutput = "an earlier file that a failed conversion must not touch\n";
const char* const kErrorFileName = "run_error.txt";

}  // namespace

int runConversion(const Conversion& conversion, const std::uint8_t* data, std::size_t size)
{
    const std::string input = scratchFile(conversion.inputName);
    const std::string output = scratchFile(conversion.outputName);
    const std::string errorFile = scratchFile(kErrorFileName);
    std::remove(errorFile.c_str());
    writeFile(input, data, size);
    writeFile(output, kEarlierOutput);

    // Names on the command line with an error file: a to-KSV converter takes four arguments
    // (the third ignored), a from-KSV converter three.
    std::vector<std::string> arguments = {conversion.programName, input, output};
    if (conversion.toKsv)
        arguments.push_back("ignored");
    arguments.push_back(errorFile);
    std::vector<char*> argv;
    for (auto& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    const int code = conversion.entry(static_cast<int>(arguments.size()), argv.data());
    require(code >= 0 && code < ksv::kConverterMessageCount && code != 1, "exit code outside the table");

    std::vector<std::string> expected = {conversion.inputName, conversion.outputName};
    if (code != 0)
        expected.push_back(kErrorFileName);
    std::sort(expected.begin(), expected.end());
    require(folderEntries(scratchFolder()) == expected, "a temporary or stray file was left in the folder");

    const auto written = readFile(output);
    require(written.has_value(), "the output path cannot be read after the run");
    if (code != 0) {
        require(*written == kEarlierOutput, "a failed run changed the file at the output path");
        const auto report = readFile(errorFile);
        const auto text = ksv::converterMessage(code);
        require(report && text && report->find(*text) != std::string::npos,
                "the error file does not hold the table text of the exit code");
    } else {
        const auto original = readFile(input);
        require(original.has_value(), "the input cannot be read after the run");
        require(conversion.checkOutput(*original, *written), "a successful run wrote a wrong output");
    }
    // The next conversion starts from the input alone.
    std::remove(output.c_str());
    std::remove(errorFile.c_str());
    return code;
}

bool isCompleteKsv(const std::string& output)
{
    if (output.size() < static_cast<std::size_t>(ksv::kPixelOffset))
        return false;
    const auto header = ksv::parseHeader(output.data(), static_cast<std::size_t>(ksv::kPixelOffset));
    if (!header || output.size() != header->fileBytes())
        return false;
    const char* pixels = output.data() + ksv::kPixelOffset;
    const std::uint64_t count = header->pixelCount();
    for (std::uint64_t i = 0; i < count; ++i) {
        if (header->isFloat()) {
            float v = 0;
            std::memcpy(&v, pixels + 4 * i, 4);
            // The header carries six decimals (seven digits below 0.001), so its range may lie
            // up to 1e-6 inside the pixels'. Pixels that are not finite lie outside any range.
            constexpr float slack = 1e-6f;
            if (std::isfinite(v) && (v < header->floatMin - slack || v > header->floatMax + slack))
                return false;
        } else {
            std::int32_t v = 0;
            std::memcpy(&v, pixels + 4 * i, 4);
            if (v < header->intMin || v > header->intMax)
                return false;
        }
    }
    return true;
}

}  // namespace fuzzing
