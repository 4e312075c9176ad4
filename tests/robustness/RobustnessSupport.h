#pragma once

// What the robustness tests share: valid input files of every format, the converters' failure
// codes, and starting a converter that stops itself right after reserving its output.

#include <ostream>
#include <string>
#include <sys/types.h>
#include <vector>

#include "TestSupport.h"

namespace robustness {

using testsupport::Bytes;

// A valid file of the format with `width` x `height` pixels of varying values.
Bytes pgmImage(int width, int height);
Bytes bmpImage(int width, int height);
Bytes fitsImage(int width, int height);
Bytes ksvImage(int width, int height);

struct ConverterCase {
    const char* name;
    bool toKsv;
    const char* inputName;
    const char* outputName;
    Bytes (*input)(int width, int height);
    int shortInputCode;              // the input ends inside the pixels
    int createCode;                  // the output file cannot be created
    std::vector<int> fullDiskCodes;  // a write or the final close fails for lack of space
};

const std::vector<ConverterCase>& converterCases();
void PrintTo(const ConverterCase& c, std::ostream* out);

// True when the program is built (the FITS pair needs the FITS library).
bool isBuilt(const ConverterCase& c);

// Arguments naming input and output, with the report on standard error.
std::vector<std::string> arguments(const ConverterCase& c, const std::string& input, const std::string& output);

// Starts a program with the stall shim preloaded and waits until it has stopped itself at its
// first read after reserving its output file. False when it ended instead (then *exitCode holds
// how), true when it is stopped.
bool startStalled(const std::vector<std::string>& argv, pid_t& pid, int& exitCode, const std::string& standardError);

// Sends `signal` (0 for none) to the stopped program, lets it go on and waits for its end.
// Returns the exit code, or 128 + n after signal n.
int resume(pid_t pid, int signal);

// Runs a program in `folder` as its working folder with exactly `environment` added to the
// test's own. Returns the exit code, or 128 + n after signal n.
int runIn(const std::string& folder, const std::vector<std::string>& argv,
          const std::vector<std::pair<std::string, std::string>>& environment = {});

bool runningAsRoot();

}  // namespace robustness
