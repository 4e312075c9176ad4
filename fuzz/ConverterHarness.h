#pragma once

// Runs one converter in-process on a fuzzer's input and checks what every run must keep,
// whatever the input:
//   - the exit code is one of the table codes, never 1 (the arguments are right);
//   - a failed run leaves the file that was at the output path byte for byte as it was, and its
//     error file holds the table text of its code;
//   - a successful run leaves no error file and an output that `checkOutput` accepts;
//   - no temporary file is left in the folder either way.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace fuzzing {

struct Conversion {
    const char* programName;
    int (*entry)(int argc, char** argv);
    bool toKsv;
    const char* inputName;
    const char* outputName;
    // Checks a successful run's output against its input; false marks a fault.
    std::function<bool(const std::string& input, const std::string& output)> checkOutput;
};

// Returns the converter's exit code.
int runConversion(const Conversion& conversion, const std::uint8_t* data, std::size_t size);

// Output checks shared by the harnesses.
// The output of a to-KSV run: a readable header, exactly the pixel block its header
// claims, and every pixel within the header's minimum and maximum.
bool isCompleteKsv(const std::string& output);

}  // namespace fuzzing
