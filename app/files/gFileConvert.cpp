#include "gFileConvert.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ConverterMessages.h"
#include "RegularFile.h"

extern char** environ;

namespace kestrova {

namespace {

std::string withoutTrailingSlash(std::string folder)
{
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

std::string lowerCase(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

bool isFitsExtension(const std::string& e)
{
    return e == ".fit" || e == ".fts" || e == ".fits";
}

bool isExecutableFile(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

std::string joinPath(const std::string& folder, std::string_view name)
{
    if (folder.empty())
        return std::string(name);
    if (folder.back() == '/')
        return folder + std::string(name);
    return folder + "/" + std::string(name);
}

ConverterWaitObserver* installedObserver = nullptr;
InProcessConverterRunner installedRunner = nullptr;
constexpr int kPollMilliseconds = 20;

void pause(int milliseconds)
{
    timespec interval{0, static_cast<long>(milliseconds) * 1000000L};
    while (::nanosleep(&interval, &interval) != 0 && errno == EINTR) {
    }
}

// True once the process has ended; it is left to be collected, so that its group id stays its own.
bool hasEnded(pid_t pid)
{
    siginfo_t info{};
    while (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0) {
        if (errno != EINTR)
            return true;
    }
    return info.si_pid == pid;
}

// SIGTERM to the converter's group; SIGKILL to what is left of it after a second.
void endGroup(pid_t pid)
{
    ::kill(-pid, SIGTERM);
    for (int waited = 0; waited < 1000 && !hasEnded(pid); waited += 10)
        pause(10);
    ::kill(-pid, SIGKILL);
}

}  // namespace

std::string readEnvironment(const char* name)
{
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

std::string workFolderFromEnvironment()
{
    for (const char* name : {"TMP", "TMPDIR"}) {
        const std::string folder = readEnvironment(name);
        if (!folder.empty())
            return withoutTrailingSlash(folder);
    }
    return "/tmp";
}

std::string temporaryKsvPath(const std::string& workFolder)
{
    return joinPath(workFolder, kTemporaryKsvName);
}

std::string temporaryBitmapPath(const std::string& workFolder)
{
    return joinPath(workFolder, kTemporaryBitmapName);
}

std::string executableFolder()
{
    std::string path(PATH_MAX, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= path.size())
        return {};
    path.resize(static_cast<std::size_t>(length));
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string converterForOpening(std::string_view extension)
{
    const std::string e = lowerCase(extension);
    if (e == ".bmp")
        return "bmp2ksv";
    if (isFitsExtension(e))
        return "fit2ksv";
    if (e == ".pgm")
        return "pgm2ksv";
    return {};
}

std::string converterForSaving(std::string_view extension)
{
    const std::string e = lowerCase(extension);
    if (e == ".bmp")
        return "ksv2bmp";
    if (isFitsExtension(e))
        return "ksv2fit";
    if (e == ".pgm")
        return "ksv2pgm";
    return {};
}

std::string converterProgram(const std::string& converterFolder, const std::string& name)
{
    if (!converterFolder.empty()) {
        const std::string beside = joinPath(converterFolder, name);
        if (isExecutableFile(beside))
            return beside;
    }
    return name;
}

ConverterWaitObserver* setConverterWaitObserver(ConverterWaitObserver* observer)
{
    ConverterWaitObserver* previous = installedObserver;
    installedObserver = observer;
    return previous;
}

InProcessConverterRunner setInProcessConverterRunner(InProcessConverterRunner runner)
{
    InProcessConverterRunner previous = installedRunner;
    installedRunner = runner;
    return previous;
}

int RunAndWait(const std::string& program, const std::string& fileName)
{
    if (installedRunner != nullptr) {
        if (const auto code = installedRunner(program.substr(program.find_last_of('/') + 1)))
            return *code;
    }
    std::string argument0 = program;
    char* argv[] = {argument0.data(), nullptr};
    pid_t pid = 0;
    posix_spawnattr_t attributes;
    ::posix_spawnattr_init(&attributes);
    // A group of its own, so that ending it also ends whatever it started.
    ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    ::posix_spawnattr_setpgroup(&attributes, 0);
    // A bare name is looked up on PATH; a path is started as it is. No shell either way.
    const bool searchPath = program.find('/') == std::string::npos;
    const int started = searchPath ? ::posix_spawnp(&pid, program.c_str(), nullptr, &attributes, argv, environ)
                                   : ::posix_spawn(&pid, program.c_str(), nullptr, &attributes, argv, environ);
    ::posix_spawnattr_destroy(&attributes);
    if (started != 0)
        return -1;

    ConverterWaitObserver* observer = installedObserver;
    if (observer != nullptr) {
        observer->converterStarted(fileName.empty() ? program : fileName);
        // Short waits first, so that a quick converter is not held up by the polling.
        for (int wait = 1; !hasEnded(pid); wait = std::min(2 * wait, kPollMilliseconds)) {
            if (!observer->keepWaiting()) {
                endGroup(pid);
                break;
            }
            pause(wait);
        }
    }
    int status = 0;
    pid_t waited = 0;
    do {
        waited = ::waitpid(pid, &status, 0);
    } while (waited < 0 && errno == EINTR);
    if (observer != nullptr)
        observer->converterEnded();
    if (waited != pid)
        return -1;
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return -1;
}

ConvertResult Convert(const ConvertRequest& request, Messages& messages, int* exitCode)
{
    const bool toKsv = request.direction == ConvertDirection::ToKsv;
    const char* firstName = toKsv ? "HLV_INFN" : "HLV_KSVINFN";
    const char* secondName = toKsv ? "HLV_KSVOUTFN" : "HLV_OUTFN";
    const std::string& firstValue = toKsv ? request.userFile : request.ksvFile;
    const std::string& secondValue = toKsv ? request.ksvFile : request.userFile;
    if (::setenv(firstName, firstValue.c_str(), 1) != 0 || ::setenv(secondName, secondValue.c_str(), 1) != 0 ||
        ::setenv("HLV_ERROUTFN", request.errorFile.c_str(), 1) != 0) {
        messages.push_back("Error - cannot Set Environment Variable");
        return ConvertResult::EnvironmentFailed;
    }

    const std::string& shown = request.shownName.empty() ? request.userFile : request.shownName;
    const int code = RunAndWait(request.program, shown.substr(shown.find_last_of('/') + 1));
    if (exitCode != nullptr)
        *exitCode = code;
    if (code == 0)
        return ConvertResult::Success;
    const auto text = ksv::converterMessage(code);
    if (!text)
        return ConvertResult::UnknownFailure;
    messages.pushWithDetail(std::string(*text), readConverterReport(request.errorFile));
    return ConvertResult::ReportedFailure;
}

std::string errorFilePath(const std::string& folder, const std::string& baseName)
{
    return folder + baseName + "_error.txt";
}

std::string workErrorFilePath(const std::string& workFolder, const std::string& userFile)
{
    constexpr std::string_view suffix = "_error.txt";
    std::string name = userFile.substr(userFile.find_last_of('/') + 1);
    name = name.substr(0, name.find_last_of('.'));
    const std::size_t longest = NAME_MAX - suffix.size();
    if (name.size() > longest)
        name.resize(longest);
    return joinPath(workFolder, name + std::string(suffix));
}

std::string readConverterReport(const std::string& errorFile)
{
    constexpr std::size_t kLongestReport = 16384;
    const int fd = openRegularFile(errorFile, false);
    if (fd < 0)
        return {};
    std::string bytes(kLongestReport, '\0');
    ssize_t length = 0;
    do {
        length = ::read(fd, bytes.data(), bytes.size());
    } while (length < 0 && errno == EINTR);
    ::close(fd);
    bytes.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    std::string report;
    for (const char c : bytes) {
        if (c != '\r')
            report += c;
    }
    while (!report.empty() && report.back() == '\n')
        report.pop_back();
    return report.substr(std::min(report.find_first_not_of('\n'), report.size()));
}

}  // namespace kestrova
