#include "BatchRun.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

#include "BatchFrame.h"
#include "BatchOptions.h"
#include "CentroidTable.h"
#include "KestrovaVersion.h"
#include "SafeOutput.h"
#include "WorkerPool.h"
#include "gFileConvert.h"
#include "gFileRoI.h"
#include "gFileSettings.h"
#include "gFileValues.h"
#include "gFileWorkFolder.h"

namespace kestrova::batch {

namespace {

constexpr const char* kProgram = "kestrova-batch";
constexpr const char* kTableWriteFailed = "Error - when writing centroid table";

volatile std::sig_atomic_t stopSignal = 0;

void recordSignal(int signal)
{
    stopSignal = signal;
}

const int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

void installStopHandlers()
{
    struct sigaction action {};
    action.sa_handler = recordSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : kStopSignals)
        ::sigaction(signal, &action, nullptr);  // no SA_RESTART: waits return at once
}

void restoreDefaultHandlers()
{
    for (const int signal : kStopSignals)
        ::signal(signal, SIG_DFL);
}

int usageError(const std::string& text)
{
    std::cerr << kProgram << ": " << text << "\nTry '" << kProgram << " --help' for more information.\n";
    return kExitUsage;
}

// A settings file checked whole before the run, and written again in the private work folder so
// that every frame reads the same lines. Not ok when it is missing, unreadable or malformed.
struct CheckedSettings {
    bool ok = true;
    std::string text;  // the file's lines as the program writes them
};

CheckedSettings checkSettings(const std::string& path, bool analysis)
{
    if (path.empty())
        return {};
    const auto values = readSettingsValues(path);
    if (analysis) {
        const auto parsed = values ? parseAnalysisSettings(*values) : std::nullopt;
        return parsed ? CheckedSettings{true, analysisSettingsText(*parsed)} : CheckedSettings{false, {}};
    }
    const auto parsed = values ? parseDisplaySettings(*values) : std::nullopt;
    return parsed ? CheckedSettings{true, displaySettingsText(*parsed)} : CheckedSettings{false, {}};
}

bool writeWhole(const std::string& path, const std::string& text)
{
    ksv::SafeOutput output;
    const bool written = output.create(path) &&
                         std::fwrite(text.data(), 1, text.size(), output.stream()) == text.size() && output.commit();
    if (!written)
        output.abandon();
    return written;
}

// The progress line, on a terminal only.
class Progress {
public:
    Progress(bool shown, std::size_t total) : shown_(shown), total_(total) {}

    void show(std::size_t done, const std::string& current)
    {
        if (!shown_)
            return;
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
        std::fprintf(stderr, "\r\033[K%zu of %zu  %.1f s  %s", done, total_, elapsed, current.c_str());
        std::fflush(stderr);
    }

    void clear()
    {
        if (shown_)
            std::fputs("\r\033[K", stderr);
    }

private:
    bool shown_;
    std::size_t total_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

int processors()
{
    const long count = ::sysconf(_SC_NPROCESSORS_ONLN);
    return count < 1 ? 1 : static_cast<int>(count);
}

}  // namespace

int RunBatch(const std::vector<std::string>& arguments)
{
    const ParsedCommandLine parsed = parseCommandLine(arguments);
    if (!parsed.options)
        return usageError(parsed.error);
    const BatchOptions& options = *parsed.options;
    if (options.help) {
        std::cout << usageText();
        return kExitSuccess;
    }
    if (options.version) {
        std::cout << kProgram << ' ' << kVersionText << '\n';
        return kExitSuccess;
    }
    if (const std::string clash = outputClash(options); !clash.empty())
        return usageError(clash);

    const CheckedSettings analysis = checkSettings(options.analysisFile, true);
    if (!analysis.ok)
        return usageError(options.analysisFile + ": " + kAnalysisSettingsReadFailed);
    const CheckedSettings display = checkSettings(options.displayFile, false);
    if (!display.ok)
        return usageError(options.displayFile + ": " + kDisplaySettingsReadFailed);

    FrameSettings shared;
    shared.context.converterFolder = executableFolder();
    shared.context.settingsFolder = settingsRootFromEnvironment() + "/Halvern Labs/Kestrova";
    shared.units = options.units;
    shared.centroid = !options.centroidFile.empty();
    if (!options.displayImagePattern.empty()) {
        // Read, never written: a missing file means the initial defaults.
        const std::string path = initialValuesPath(shared.context.settingsFolder);
        InitialThresholds initial;
        Messages messages;
        struct stat info {};
        if (::lstat(path.c_str(), &info) == 0)
            ReadInitialThresholds(path, initial, shared.initial, messages);
        if (!messages.empty())
            return usageError(path + ": " + messages.front());
    }

    Messages folderMessages;
    PrivateWorkFolder workFolder(folderMessages);
    if (workFolder.path().empty()) {
        for (const std::string& message : folderMessages)
            std::cerr << kProgram << ": " << message << '\n';
        return kExitFrameFailed;
    }
    for (auto [text, copy, name] : {std::tuple{&analysis.text, &shared.analysisFile, "/analysis.txt"},
                                    std::tuple{&display.text, &shared.displayFile, "/display.txt"}}) {
        if (text->empty())
            continue;
        *copy = workFolder.path() + name;
        if (!writeWhole(*copy, *text)) {
            std::cerr << kProgram << ": Error - cannot write in work folder " << workFolder.path() << '\n';
            return kExitFrameFailed;
        }
    }

    installStopHandlers();
    ::signal(SIGPIPE, SIG_IGN);  // a worker that died is seen as a failed write
    Progress progress(!options.quiet && ::isatty(STDERR_FILENO) == 1, options.images.size());
    std::size_t done = 0;
    FrameEvents events;
    events.started = [&](std::size_t frame) { progress.show(done, options.images[frame]); };
    events.finished = [&](std::size_t frame, const FrameResult& result) {
        progress.clear();
        for (const std::string& message : result.messages)
            std::cerr << options.images[frame] << ": " << message << '\n';
        progress.show(++done, options.images[frame]);
    };
    const auto jobs = static_cast<std::size_t>(options.jobs > 0 ? options.jobs : processors());
    const std::vector<FrameResult> results = runFrames(shared, workFolder.path(), options, jobs, events, stopSignal);
    progress.clear();
    if (stopSignal != 0) {
        const int signal = stopSignal;
        removeFolder(workFolder.path());  // the signal ends the process before any destructor
        restoreDefaultHandlers();
        ::raise(signal);
        std::_Exit(128 + signal);
    }

    bool allSucceeded = true;
    std::string table(kCentroidHeader);
    for (std::size_t i = 0; i < results.size(); ++i) {
        allSucceeded = allSucceeded && results[i].ok;
        if (results[i].ok)
            table += centroidTableLine(options.images[i], results[i].centroid);
    }
    if (!options.centroidFile.empty() && !writeWhole(options.centroidFile, table)) {
        std::cerr << options.centroidFile << ": " << kTableWriteFailed << '\n';
        allSucceeded = false;
    }
    return allSucceeded ? kExitSuccess : kExitFrameFailed;
}

}  // namespace kestrova::batch
