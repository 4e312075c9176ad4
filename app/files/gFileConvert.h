#pragma once

// Running the converter programs: the work folder for temporary files, the converter names by
// file extension, run-and-wait without a shell, and Convert with the environment contract.

#include <optional>
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

// Watches the converter runs for a program with windows, which stay responsive meanwhile: told
// when a run begins (with the name of the user's file) and ends, and asked between short waits
// whether to go on. Without an observer the wait blocks until the converter ends.
class ConverterWaitObserver {
public:
    virtual ~ConverterWaitObserver() = default;
    virtual void converterStarted(const std::string& fileName) = 0;
    // Asked at most 20 ms apart while the converter runs; false ends the converter.
    virtual bool keepWaiting() = 0;
    virtual void converterEnded() = 0;
};

// Installs the observer of every later run (nullptr for none); returns the previous one.
ConverterWaitObserver* setConverterWaitObserver(ConverterWaitObserver* observer);

// A program that carries the converters' code may run them in its own process rather than start
// them: the runner gets the converter's name (such as "fit2ksv") and returns its exit code, or
// nothing to have it started as a program. nullptr (the default) starts every converter. A
// converter run in-process reads the same environment variables; only a program of one frame
// at a time (a worker process) should install a runner. Returns the previous runner.
using InProcessConverterRunner = std::optional<int> (*)(const std::string& name);
InProcessConverterRunner setInProcessConverterRunner(InProcessConverterRunner runner);

// Starts the program (a path, or a bare name looked up on PATH) with no arguments and the
// program's own environment, in a process group of its own, and waits for it to end. Returns
// its exit code; -1 when it cannot be started; 128 + n when it was ended by signal n. When the
// observer asks to stop, the group gets SIGTERM, and SIGKILL a second later if it still runs.
int RunAndWait(const std::string& program, const std::string& fileName = {});

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
    std::string shownName;  // the file named while waiting; the user file's name when empty
};

// Sets the three variables of the direction in the program's environment, runs the converter
// and maps its exit code. exitCode (when given) receives the code. A table text carries the
// converter's report from the error file as its detail.
ConvertResult Convert(const ConvertRequest& request, Messages& messages, int* exitCode = nullptr);

// The error file of an image: folder + baseName + "_error.txt".
std::string errorFilePath(const std::string& folder, const std::string& baseName);

// The error file of a run inside the work folder: the user's file's base name + "_error.txt",
// the base name shortened when the whole name would be longer than a file name may be.
std::string workErrorFilePath(const std::string& workFolder, const std::string& userFile);

// A converter's report from its error file: at most 16 KiB, LF line ends, without empty lines
// at its start and end; "" when the file is missing or not a regular file (never through a link).
std::string readConverterReport(const std::string& errorFile);

}  // namespace kestrova
