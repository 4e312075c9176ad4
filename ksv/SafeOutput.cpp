#include "SafeOutput.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ksv {

namespace {

std::string folderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

unsigned defaultMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666u & ~static_cast<unsigned>(mask);
}

// Resolves a chain of symbolic links so that the file behind the link is replaced, not the link.
std::string resolveLinks(const std::string& path)
{
    std::string current = path;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current;
        char buffer[PATH_MAX];
        const ssize_t length = ::readlink(current.c_str(), buffer, sizeof buffer - 1);
        if (length <= 0)
            return current;
        std::string link(buffer, static_cast<std::size_t>(length));
        current = (link.front() == '/') ? link : folderOf(current) + "/" + link;
    }
    return current;
}

// The named temporary file that a signal handler removes: plain bytes, set and cleared with
// signals blocked, so that the handler never sees half a name.
char pendingPath[PATH_MAX + 1];
volatile std::sig_atomic_t pendingSet = 0;

class SignalsBlocked {
public:
    SignalsBlocked()
    {
        sigset_t all;
        sigfillset(&all);
        ::sigprocmask(SIG_BLOCK, &all, &previous_);
    }
    ~SignalsBlocked() { ::sigprocmask(SIG_SETMASK, &previous_, nullptr); }

private:
    sigset_t previous_{};
};

void setPending(const std::string& path)
{
    SignalsBlocked blocked;
    pendingSet = 0;
    if (path.size() > PATH_MAX)
        return;
    std::memcpy(pendingPath, path.c_str(), path.size() + 1);
    pendingSet = 1;
}

void clearPending()
{
    SignalsBlocked blocked;
    pendingSet = 0;
}

constexpr int kCleanedSignals[] = {SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGPIPE};
struct sigaction previousActions[sizeof kCleanedSignals / sizeof kCleanedSignals[0]];

void removePendingAndResignal(int signal)
{
    if (pendingSet != 0) {
        ::unlink(pendingPath);
        pendingSet = 0;
    }
    for (std::size_t i = 0; i < sizeof kCleanedSignals / sizeof kCleanedSignals[0]; ++i) {
        if (kCleanedSignals[i] == signal)
            ::sigaction(signal, &previousActions[i], nullptr);
    }
    ::raise(signal);  // delivered with the earlier action once this handler returns
}

// A short name, so that a target whose own name is as long as the file system allows still has
// room for its temporary file beside it.
int makeTemporary(const std::string& target, std::string& path)
{
    path = folderOf(target) + "/.ksvout.XXXXXX";
    const int fd = ::mkstemp(path.data());
    if (fd >= 0)
        setPending(path);
    return fd;
}

// A file without a name in the target's folder, or -1 where the file system has no such files
// or the name could not be given later (through /proc).
int makeUnnamed(const std::string& target, unsigned mode)
{
#ifdef O_TMPFILE
    if (::access("/proc/self/fd", X_OK) != 0)
        return -1;
    return ::open(folderOf(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, static_cast<mode_t>(mode));
#else
    (void)target;
    (void)mode;
    return -1;
#endif
}

}  // namespace

void removeTemporaryOnSignals()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    struct sigaction action {};
    action.sa_handler = removePendingAndResignal;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < sizeof kCleanedSignals / sizeof kCleanedSignals[0]; ++i) {
        // A signal the parent had ignored (nohup, a pipe writer) stays ignored.
        if (::sigaction(kCleanedSignals[i], nullptr, &previousActions[i]) != 0 ||
            previousActions[i].sa_handler == SIG_IGN)
            continue;
        ::sigaction(kCleanedSignals[i], &action, nullptr);
    }
}

SafeOutput::~SafeOutput()
{
    abandon();
}

bool SafeOutput::prepare(const std::string& target)
{
    abandon();
    if (target.empty())
        return false;
    target_ = resolveLinks(target);
    mode_ = defaultMode();
    inPlace_ = false;
    struct stat info {};
    if (::stat(target_.c_str(), &info) == 0) {
        if (!S_ISREG(info.st_mode))
            inPlace_ = true;
        else
            mode_ = info.st_mode & 07777u;
    }
    return true;
}

bool SafeOutput::create(const std::string& target)
{
    if (!prepare(target))
        return false;
    if (inPlace_) {
        writePath_ = target_;
        stream_ = std::fopen(writePath_.c_str(), "wb");
        active_ = stream_ != nullptr;
        return active_;
    }
    int fd = makeUnnamed(target_, mode_);
    unnamed_ = fd >= 0;
    if (unnamed_)
        writePath_.clear();
    else
        fd = makeTemporary(target_, writePath_);
    if (fd < 0)
        return false;
    ::fchmod(fd, static_cast<mode_t>(mode_));
    stream_ = ::fdopen(fd, "wb");
    if (stream_ == nullptr) {
        ::close(fd);
        if (!unnamed_) {
            ::unlink(writePath_.c_str());
            clearPending();
        }
        return false;
    }
    active_ = true;
    return true;
}

// Gives the finished unnamed file a temporary name beside the target, for the final rename.
bool SafeOutput::nameUnnamedFile()
{
    const std::string procPath = "/proc/self/fd/" + std::to_string(::fileno(stream_));
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int fd = makeTemporary(target_, writePath_);
        if (fd < 0)
            return false;
        ::close(fd);
        ::unlink(writePath_.c_str());
        if (::linkat(AT_FDCWD, procPath.c_str(), AT_FDCWD, writePath_.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return true;
        clearPending();
        if (errno != EEXIST)
            break;
    }
    writePath_.clear();
    return false;
}

bool SafeOutput::reserve(const std::string& target)
{
    if (!prepare(target))
        return false;
    if (inPlace_) {
        writePath_ = target_;
        active_ = true;
        return true;
    }
    const int fd = makeTemporary(target_, writePath_);
    if (fd < 0)
        return false;
    ::close(fd);
    ::unlink(writePath_.c_str());
    active_ = true;
    return true;
}

bool SafeOutput::commit()
{
    if (!active_)
        return false;
    bool ok = true;
    if (stream_ != nullptr) {
        ok = std::fflush(stream_) == 0 && !std::ferror(stream_);
        if (ok && unnamed_)
            ok = nameUnnamedFile();
        ok = (std::fclose(stream_) == 0) && ok;
        stream_ = nullptr;
    }
    if (ok && !inPlace_) {
        ::chmod(writePath_.c_str(), static_cast<mode_t>(mode_));
        ok = std::rename(writePath_.c_str(), target_.c_str()) == 0;
    }
    if (!ok && !inPlace_ && !writePath_.empty())
        ::unlink(writePath_.c_str());
    clearPending();
    active_ = false;
    unnamed_ = false;
    return ok;
}

void SafeOutput::abandon()
{
    if (!active_)
        return;
    if (stream_ != nullptr) {
        std::fclose(stream_);
        stream_ = nullptr;
    }
    if (!inPlace_ && !writePath_.empty())
        ::unlink(writePath_.c_str());
    clearPending();
    active_ = false;
    unnamed_ = false;
}

}  // namespace ksv
