#pragma once

// An output file that only replaces its target once it is complete. Bytes go to a temporary
// file beside the target, which commit() moves over the target; a failed or abandoned output
// leaves an earlier file of that name exactly as it was. A target that exists and is not a
// regular file (a device such as /dev/null or /dev/full, a pipe) is written in place, since it
// cannot be replaced.
//
// Where the file system allows it the temporary file has no name until commit(), so that even
// a process killed outright leaves nothing behind; a named temporary file (a library creating
// the file by name, or a file system without unnamed files) is removed by the handlers that
// removeTemporaryOnSignals() installs.

#include <cstdio>
#include <string>

namespace ksv {

class SafeOutput {
public:
    SafeOutput() = default;
    SafeOutput(const SafeOutput&) = delete;
    SafeOutput& operator=(const SafeOutput&) = delete;
    ~SafeOutput();

    // Opens a binary stream for writing. False when the file cannot be created.
    bool create(const std::string& target);

    // Chooses a temporary path that does not exist yet, for a library that creates the file by
    // name itself; writePath() gives it. False when the folder cannot take a new file.
    bool reserve(const std::string& target);

    std::FILE* stream() const { return stream_; }
    const std::string& writePath() const { return writePath_; }
    const std::string& target() const { return target_; }
    bool isOpen() const { return active_; }

    // Closes the stream (if any) and moves the finished file over the target.
    // On failure the temporary file is removed and the target is untouched.
    bool commit();

    // Closes the stream (if any) and removes the temporary file.
    void abandon();

private:
    bool prepare(const std::string& target);
    bool nameUnnamedFile();

    std::string target_;
    std::string writePath_;
    std::FILE* stream_ = nullptr;
    bool inPlace_ = false;
    bool unnamed_ = false;
    bool active_ = false;
    unsigned mode_ = 0;
};

// Installs, once per process, handlers for the signals that end a process by default (SIGTERM,
// SIGINT, SIGHUP, SIGQUIT, SIGPIPE; those already ignored stay ignored): they remove the named
// temporary file of the output being written, then let the signal take its earlier course. For the converters, which
// own their process; the main program keeps its own signal handling.
void removeTemporaryOnSignals();

}  // namespace ksv
