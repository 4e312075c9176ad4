#include "BatchRun.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "BatchFrame.h"
#include "BatchOptions.h"
#include "CentroidTable.h"
#include "InProcessConverters.h"
#include "KestrovaVersion.h"
#include "SafeOutput.h"
#include "WorkerResult.h"
#include "gFileConvert.h"
#include "gFileRoI.h"
#include "gFileSettings.h"
#include "gFileValues.h"
#include "gFileWorkFolder.h"

namespace kestrova::batch {

namespace {

constexpr const char* kProgram = "kestrova-batch";
constexpr const char* kWorkerEnded = "Error - the analysis of this frame ended abnormally";
constexpr const char* kTableWriteFailed = "Error - when writing centroid table";

volatile std::sig_atomic_t stopSignal = 0;

void recordSignal(int signal) { stopSignal = signal; }

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
// that every frame reads the same lines. "" with the read message when it is refused.
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

struct Worker {
    pid_t pid = -1;
    int fd = -1;
    std::size_t frame = 0;
    std::string received;
};

// Starts the worker process of one frame; its result comes back through a pipe.
bool startWorker(const FrameSettings& shared, const std::string& workRoot, const BatchOptions& options,
                 std::size_t frame, Worker& worker)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return false;
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return false;
    }
    if (pid == 0) {
        restoreDefaultHandlers();
        setInProcessConverterRunner(runConverterInProcess);
        ::close(fds[0]);
        FrameSettings settings = shared;
        settings.context.workFolder = workRoot + "/" + std::to_string(frame);
        FrameResult result;
        if (::mkdir(settings.context.workFolder.c_str(), 0700) != 0)
            result.messages.push_back("Error - cannot create work folder in " + workRoot);
        else
            result = RunFrame(settings, options.images[frame], frameOutputsOf(options, options.images[frame]));
        const std::string bytes = encodeResult(result);
        const bool sent = writeAll(fds[1], bytes);
        ::_exit(sent ? 0 : 1);  // never the parent's exit handlers: the work folder is the parent's
    }
    ::close(fds[1]);
    worker = Worker{pid, fds[0], frame, {}};
    return true;
}

// Collects a worker whose pipe has closed.
FrameResult finishWorker(Worker& worker, const std::string& workRoot)
{
    ::close(worker.fd);
    int status = 0;
    while (::waitpid(worker.pid, &status, 0) < 0 && errno == EINTR) {
    }
    removeFolder(workRoot + "/" + std::to_string(worker.frame));
    const auto result = WIFEXITED(status) && WEXITSTATUS(status) == 0 ? decodeResult(worker.received) : std::nullopt;
    if (result)
        return *result;
    FrameResult failure;
    failure.messages.push_back(kWorkerEnded);
    return failure;
}

void stopWorkers(std::vector<Worker>& workers)
{
    for (Worker& worker : workers)
        ::kill(worker.pid, SIGTERM);
    for (Worker& worker : workers) {
        ::close(worker.fd);
        while (::waitpid(worker.pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    workers.clear();
}

int processors()
{
    const long count = ::sysconf(_SC_NPROCESSORS_ONLN);
    return count < 1 ? 1 : static_cast<int>(count);
}

// Runs every frame, at most `jobs` at once; results in command-line order.
std::vector<FrameResult> runFrames(const FrameSettings& shared, const std::string& workRoot,
                                   const BatchOptions& options, Progress& progress)
{
    const std::size_t total = options.images.size();
    const auto jobs = static_cast<std::size_t>(options.jobs > 0 ? options.jobs : processors());
    std::vector<FrameResult> results(total);
    std::vector<Worker> workers;
    std::size_t next = 0;
    std::size_t done = 0;
    while ((next < total || !workers.empty()) && stopSignal == 0) {
        while (next < total && workers.size() < jobs) {
            Worker worker;
            if (!startWorker(shared, workRoot, options, next, worker)) {
                results[next].messages.push_back(kWorkerEnded);
                ++done;
            } else {
                workers.push_back(worker);
                progress.show(done, options.images[next]);
            }
            ++next;
        }
        std::vector<pollfd> polled;
        for (const Worker& worker : workers)
            polled.push_back(pollfd{worker.fd, POLLIN, 0});
        if (polled.empty() || ::poll(polled.data(), polled.size(), -1) < 0)
            continue;
        for (std::size_t i = workers.size(); i-- > 0;) {
            if (polled[i].revents == 0)
                continue;
            char buffer[4096];
            const ssize_t got = ::read(workers[i].fd, buffer, sizeof buffer);
            if (got > 0) {
                workers[i].received.append(buffer, static_cast<std::size_t>(got));
                continue;
            }
            if (got < 0 && errno == EINTR)
                continue;
            const std::size_t frame = workers[i].frame;
            results[frame] = finishWorker(workers[i], workRoot);
            workers.erase(workers.begin() + static_cast<std::ptrdiff_t>(i));
            ++done;
            progress.clear();
            for (const std::string& message : results[frame].messages)
                std::cerr << options.images[frame] << ": " << message << '\n';
            progress.show(done, workers.empty() ? std::string() : options.images[workers.front().frame]);
        }
    }
    if (stopSignal != 0)
        stopWorkers(workers);
    progress.clear();
    return results;
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
    if (analysis.text.size() > 0) {
        shared.analysisFile = workFolder.path() + "/analysis.txt";
        writeWhole(shared.analysisFile, analysis.text);
    }
    if (display.text.size() > 0) {
        shared.displayFile = workFolder.path() + "/display.txt";
        writeWhole(shared.displayFile, display.text);
    }

    installStopHandlers();
    Progress progress(!options.quiet && ::isatty(STDERR_FILENO) == 1, options.images.size());
    const std::vector<FrameResult> results = runFrames(shared, workFolder.path(), options, progress);
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
