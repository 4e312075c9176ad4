#include "SafeOutput.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
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

std::string fileNameOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
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

int makeTemporary(const std::string& target, std::string& path)
{
    path = folderOf(target) + "/." + fileNameOf(target) + ".XXXXXX";
    return ::mkstemp(path.data());
}

}  // namespace

SafeOutput::~SafeOutput() { abandon(); }

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
    const int fd = makeTemporary(target_, writePath_);
    if (fd < 0)
        return false;
    ::fchmod(fd, static_cast<mode_t>(mode_));
    stream_ = ::fdopen(fd, "wb");
    if (stream_ == nullptr) {
        ::close(fd);
        ::unlink(writePath_.c_str());
        return false;
    }
    active_ = true;
    return true;
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
        ok = (std::fclose(stream_) == 0) && ok;
        stream_ = nullptr;
    }
    if (ok && !inPlace_) {
        ::chmod(writePath_.c_str(), static_cast<mode_t>(mode_));
        ok = std::rename(writePath_.c_str(), target_.c_str()) == 0;
    }
    if (!ok) {
        if (!inPlace_)
            ::unlink(writePath_.c_str());
    }
    active_ = false;
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
    if (!inPlace_)
        ::unlink(writePath_.c_str());
    active_ = false;
}

}  // namespace ksv
