#include "gFileTemporary.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace kestrova {

bool writeAll(int fd, const void* data, std::size_t size)
{
    const auto* p = static_cast<const unsigned char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, p, std::min<std::size_t>(size, 1u << 30));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool readAllAt(int fd, void* data, std::size_t size, off_t offset)
{
    auto* p = static_cast<unsigned char*>(data);
    while (size > 0) {
        const ssize_t n = ::pread(fd, p, std::min<std::size_t>(size, 1u << 30), offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        offset += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool closeChecked(int fd)
{
    return ::close(fd) == 0 || errno == EINTR;
}

int createFresh(const std::string& path)
{
    ::unlink(path.c_str());
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
}

bool runConverter(const FileContext& context, ConvertDirection direction, const std::string& converter,
                  const std::string& ksvPath, const std::string& path, const char* unexplained, Messages& messages,
                  const std::string& shownName)
{
    ConvertRequest request;
    request.direction = direction;
    request.program = converterProgram(context.converterFolder, converter);
    request.ksvFile = ksvPath;
    request.userFile = path;
    request.errorFile = workErrorFilePath(context.workFolder, shownName.empty() ? path : shownName);
    request.shownName = shownName;
    ::unlink(request.errorFile.c_str());
    const ConvertResult result = Convert(request, messages);
    if (result == ConvertResult::UnknownFailure)
        messages.pushWithDetail(unexplained, readConverterReport(request.errorFile));
    ::unlink(request.errorFile.c_str());
    return result == ConvertResult::Success;
}

}  // namespace kestrova
