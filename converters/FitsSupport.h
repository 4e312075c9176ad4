#pragma once

// What the two FITS converters share on top of the FITS library: the library's own account of
// a failure, file names taken literally, and closing a file as a clean-up step.

#include <string>

#include <fitsio.h>

#include "ConverterFrame.h"

namespace ksv {

// The text the library prints for a status: an empty line, "FITSIO status = <n>: <text>",
// then its error message stack, oldest first, one message a line. Empties the stack.
// Nothing for status 0.
std::string fitsReport(int status);

// Stops the conversion with `code`, reporting the library's status first.
[[noreturn]] void failFits(int code, int status);

// A name for the library's disk-file calls, which take the name literally except that they
// skip leading blanks: a relative name gets a leading "./".
std::string fitsDiskName(const std::string& path);

// Closes `fits` at clean-up; a failed close is reported with the library's report and `closeCode`.
void closeAtCleanup(ConverterRun& run, fitsfile* fits, int closeCode, bool outputSide);

}  // namespace ksv
