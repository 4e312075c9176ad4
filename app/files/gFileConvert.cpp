#include "gFileConvert.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ConverterMessages.h"

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

bool isFitsExtension(const std::string& e) { return e == ".fit" || e == ".fts" || e == ".fits"; }

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

std::string temporaryKsvPath(const std::string& workFolder) { return joinPath(workFolder, kTemporaryKsvName); }

std::string temporaryBitmapPath(const std::string& workFolder) { return joinPath(workFolder, kTemporaryBitmapName); }

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

int RunAndWait(const std::string& program)
{
    std::string argument0 = program;
    char* argv[] = {argument0.data(), nullptr};
    pid_t pid = 0;
    // A bare name is looked up on PATH; a path is started as it is. No shell either way.
    const bool searchPath = program.find('/') == std::string::npos;
    const int started = searchPath ? ::posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv, environ)
                                   : ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ);
    if (started != 0)
        return -1;
    int status = 0;
    pid_t waited = 0;
    do {
        waited = ::waitpid(pid, &status, 0);
    } while (waited < 0 && errno == EINTR);
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

    const int code = RunAndWait(request.program);
    if (exitCode != nullptr)
        *exitCode = code;
    if (code == 0)
        return ConvertResult::Success;
    const auto text = ksv::converterMessage(code);
    if (!text)
        return ConvertResult::UnknownFailure;
    messages.emplace_back(*text);
    return ConvertResult::ReportedFailure;
}

std::string errorFilePath(const std::string& folder, const std::string& baseName)
{
    return folder + baseName + "_error.txt";
}

}  // namespace kestrova
