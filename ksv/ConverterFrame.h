#pragma once

// The frame shared by the six converters: where the file names come from, where a failure
// is reported, the clean-up that closes every file on every path, and the exit code.
//
//   int main(int argc, char** argv)
//   {
//       return ksv::runConverter(ksv::ConverterKind::ToKsv, argc, argv, [](ksv::ConverterRun& run) {
//           std::FILE* in = run.openInput(run.inputPath(), ksv::PgmInputOpen, ksv::PgmInputClose);
//           ...                        // ksv::fail(code) stops the conversion with that code
//       });
//   }

#include <cstddef>
#include <cstdio>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "SafeOutput.h"

namespace ksv {

enum class ConverterKind { ToKsv, FromKsv };
enum class ErrorChannel { None, StandardError, ErrorFile };

struct ConverterArguments {
    bool countValid = false;
    ErrorChannel channel = ErrorChannel::None;
    std::string input;
    std::string output;
    std::string errorFile;
};

// The argument count (program name included) selects the names and the error channel;
// started without arguments the names come from the HLV_ environment variables.
ConverterArguments parseConverterArguments(ConverterKind kind, int argc, const char* const* argv);

// Stops a conversion with a table code. `libraryReport` (lines separated by '\n') is written
// before the table text, as the FITS programs do with the library's own report.
struct ConversionError {
    int code = 0;
    std::string libraryReport;
};

[[noreturn]] void fail(int code, std::string libraryReport = {});

// Largest single buffer a converter asks for; a larger request fails with the buffer's code
// instead of asking the system for an absurd amount of memory.
inline constexpr std::size_t kMaxBufferBytes = std::size_t{1} << 31;

class ConverterRun {
public:
    // Opens the error file of the error-file channel. An error file that is the input or the
    // output (by name, through a link, or by device and inode) would destroy it: the report then
    // goes to standard error instead, and success removes nothing.
    explicit ConverterRun(ConverterArguments arguments);
    ConverterRun(const ConverterRun&) = delete;
    ConverterRun& operator=(const ConverterRun&) = delete;
    ~ConverterRun();

    const std::string& inputPath() const { return arguments_.input; }
    const std::string& outputPath() const { return arguments_.output; }

    // Opens a file for binary reading; fails with openCode. It is closed at clean-up, where a
    // failed close is reported with closeCode.
    std::FILE* openInput(const std::string& path, int openCode, int closeCode);

    // Creates the output file as a stream on a temporary file beside outputPath(), moved over
    // it only when the conversion succeeds; fails with createCode. A failure to complete the
    // file (flush, close or rename) fails the run with closeCode.
    std::FILE* createOutput(int createCode, int closeCode);

    // Like createOutput, for a library that creates the file by name: returns the path to
    // create. The library's file must be closed by a clean-up step registered with
    // atCleanup(..., outputSide = true) before the frame moves it into place.
    std::string reserveOutput(int createCode, int closeCode);

    // Registers a clean-up step, run in registration order after the input closes. `close`
    // returns false on failure and may fill a report that precedes the table text. A failing
    // output-side step fails an otherwise successful run with its code; any other failing
    // step is reported and leaves the exit code as it was.
    void atCleanup(std::function<bool(std::string& report)> close, int closeCode, bool outputSide);

    // An uninitialised buffer of `count` values; fails with memoryCode when it cannot be had.
    template <typename T>
    std::unique_ptr<T[]> allocate(std::size_t count, int memoryCode)
    {
        if (count == 0 || count > kMaxBufferBytes / sizeof(T))
            fail(memoryCode);
        std::unique_ptr<T[]> buffer(new (std::nothrow) T[count]);
        if (!buffer)
            fail(memoryCode);
        return buffer;
    }

    // Writes `code`'s report to the error channel (library report first, then the table text
    // and an empty line).
    void report(int code, const std::string& libraryReport = {});

    // Runs the clean-up and completes or discards the output. Returns the final exit code.
    int finish(int exitCode);

private:
    struct CleanupStep {
        std::function<bool(std::string&)> close;
        int code;
        bool outputSide;
    };

    int runCleanup(int exitCode);

    ConverterArguments arguments_;
    std::FILE* errorStream_ = nullptr;
    SafeOutput output_;
    int outputCloseCode_ = 0;
    std::vector<CleanupStep> steps_;
};

// Runs one conversion on the frame and returns the process exit code.
int runConverter(ConverterKind kind, int argc, char** argv, const std::function<void(ConverterRun&)>& convert);

}  // namespace ksv
