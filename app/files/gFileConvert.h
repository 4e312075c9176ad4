#pragma once

// Running the converter programs: the work folder for temporary files, the converter names by
// file extension, run-and-wait without a shell, and Convert with the environment contract.

#include <string>
#include <string_view>

#include "Messages.h"

namespace kestrova {

// Temporary file names inside the work folder.
inline constexpr std::string_view kTemporaryKsvName = "Tmp.ksv";
inline constexpr std::string_view kTemporaryBitmapName = "Pic.Bmp";

// The folder for temporary files: TMP, else TMPDIR, else /tmp. Never ends with '/' (unless "/").
std::string workFolderFromEnvironment();

// workFolder + "/Tmp.ksv" and workFolder + "/Pic.Bmp".
std::string temporaryKsvPath(const std::string& workFolder);
std::string temporaryBitmapPath(const std::string& workFolder);

// The folder of the running program (where the converters are installed), or "" when unknown.
std::string executableFolder();

// Value of an environment variable, "" when missing or empty.
std::string readEnvironment(const char* name);

// Converter program names by the lower-cased extension (dot included), "" for any other:
// ".bmp" bmp2ksv / ksv2bmp, ".fit" ".fts" ".fits" fit2ksv / ksv2fit, ".pgm" pgm2ksv / ksv2pgm.
std::string converterForOpening(std::string_view extension);
std::string converterForSaving(std::string_view extension);

// The program to start for a converter name: converterFolder + "/" + name when that is an
// executable file, else the bare name (found on PATH when started).
std::string converterProgram(const std::string& converterFolder, const std::string& name);

// Starts the program (a path, or a bare name looked up on PATH) with no arguments and the
// program's own environment, and waits without time limit for it to end. Returns its exit
// code; -1 when it cannot be started; 128 + n when it was ended by signal n.
int RunAndWait(const std::string& program);

enum class ConvertDirection {
    ToKsv,    // HLV_INFN = user file, HLV_KSVOUTFN = KSV file, HLV_ERROUTFN = error file
    FromKsv,  // HLV_KSVINFN = KSV file, HLV_OUTFN = user file, HLV_ERROUTFN = error file
};

enum class ConvertResult {
    Success,
    EnvironmentFailed,  // "Error - cannot Set Environment Variable" appended
    ReportedFailure,    // the converter's exit code 1..50; its table text appended
    UnknownFailure,     // exit code outside 0..50 (not started, crashed); nothing appended:
                        // the caller appends its general failure message
};

struct ConvertRequest {
    ConvertDirection direction = ConvertDirection::ToKsv;
    std::string program;    // as for RunAndWait (see converterProgram)
    std::string ksvFile;    // the temporary KSV file
    std::string userFile;   // the image file read or written
    std::string errorFile;  // where the converter reports a failure
};

// Sets the three variables of the direction in the program's environment, runs the converter
// and maps its exit code. exitCode (when given) receives the code.
ConvertResult Convert(const ConvertRequest& request, Messages& messages, int* exitCode = nullptr);

// The error file beside an image: folder + baseName + "_error.txt".
std::string errorFilePath(const std::string& folder, const std::string& baseName);

}  // namespace kestrova
