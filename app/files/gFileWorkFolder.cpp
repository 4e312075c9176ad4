#include "gFileWorkFolder.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <string_view>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include "gFileConvert.h"

namespace kestrova {

namespace {

constexpr std::string_view kPrefix = "kestrova-";

std::string withoutTrailingSlash(std::string folder)
{
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

std::string ownPrefix()
{
    return std::string(kPrefix) + std::to_string(::getuid()) + "-";
}

// The process id in "kestrova-<uid>-<pid>-XXXXXX" when the name is one of this user's folders.
bool leftoverProcess(std::string_view name, pid_t& pid)
{
    const std::string prefix = ownPrefix();
    if (name.substr(0, prefix.size()) != prefix)
        return false;
    name.remove_prefix(prefix.size());
    const auto dash = name.find('-');
    if (dash == 0 || dash == std::string_view::npos || name.size() - dash - 1 != 6)
        return false;
    long value = 0;
    for (const char c : name.substr(0, dash)) {
        if (c < '0' || c > '9' || value > 100000000)
            return false;
        value = value * 10 + (c - '0');
    }
    pid = static_cast<pid_t>(value);
    return pid > 0;
}

bool processRuns(pid_t pid)
{
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

}  // namespace

std::vector<std::string> workFolderCandidates()
{
    std::vector<std::string> candidates;
    for (const char* name : {"TMP", "TMPDIR"}) {
        const std::string folder = readEnvironment(name);
        if (!folder.empty())
            candidates.push_back(withoutTrailingSlash(folder));
    }
    if (candidates.empty() || candidates.back() != "/tmp")
        candidates.push_back("/tmp");
    return candidates;
}

std::string createPrivateFolderIn(const std::string& parent)
{
    const std::string separator = parent.empty() || parent.back() == '/' ? "" : "/";
    std::string path = parent + separator + ownPrefix() + std::to_string(::getpid()) + "-XXXXXX";
    if (::mkdtemp(path.data()) == nullptr)
        return {};
    // mkdtemp makes it 0700 already; say so whatever the umask.
    ::chmod(path.c_str(), 0700);
    return path;
}

void removeLeftoverFolders(const std::string& parent)
{
    DIR* folder = ::opendir(parent.c_str());
    if (folder == nullptr)
        return;
    std::vector<std::string> leftovers;
    while (const dirent* entry = ::readdir(folder)) {
        pid_t pid = 0;
        if (!leftoverProcess(entry->d_name, pid) || pid == ::getpid() || processRuns(pid))
            continue;
        const std::string path = parent + "/" + entry->d_name;
        struct stat info {};
        if (::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid())
            leftovers.push_back(path);
    }
    ::closedir(folder);
    for (const std::string& path : leftovers)
        removeFolder(path);
}

void removeFolder(const std::string& folder)
{
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);  // links are removed, never followed
}

PrivateWorkFolder::PrivateWorkFolder(Messages& messages)
{
    for (const std::string& candidate : workFolderCandidates()) {
        removeLeftoverFolders(candidate);
        path_ = createPrivateFolderIn(candidate);
        if (!path_.empty())
            return;
        messages.push_back("Error - cannot create work folder in " + candidate);
    }
}

PrivateWorkFolder::~PrivateWorkFolder()
{
    if (!path_.empty())
        removeFolder(path_);
}

}  // namespace kestrova
