#include "WorkerResult.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace kestrova::batch {

namespace {

std::string hexNumber(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%a", value);
    return text;
}

// Reads the fields of an encoded result in order.
class Reader {
public:
    explicit Reader(const std::string& bytes) : bytes_(bytes) {}

    std::optional<std::string> word()
    {
        const auto end = bytes_.find('\n', at_);
        if (end == std::string::npos)
            return std::nullopt;
        std::string text = bytes_.substr(at_, end - at_);
        at_ = end + 1;
        return text;
    }

    std::optional<double> number()
    {
        const auto text = word();
        if (!text || text->empty())
            return std::nullopt;
        char* end = nullptr;
        const double value = std::strtod(text->c_str(), &end);
        return *end == '\0' ? std::optional<double>(value) : std::nullopt;
    }

    std::optional<std::string> block(std::size_t length)
    {
        if (bytes_.size() - at_ < length)
            return std::nullopt;
        std::string text = bytes_.substr(at_, length);
        at_ += length;
        return text;
    }

    bool atEnd() const { return at_ == bytes_.size(); }

private:
    const std::string& bytes_;
    std::size_t at_ = 0;
};

}  // namespace

std::string encodeResult(const FrameResult& result)
{
    std::string bytes;
    bytes += result.ok ? "1\n" : "0\n";
    bytes += hexNumber(result.centroid.x) + '\n';
    bytes += hexNumber(result.centroid.y) + '\n';
    bytes += result.centroid.wavelength ? hexNumber(static_cast<double>(*result.centroid.wavelength)) + '\n' : "\n";
    bytes += std::to_string(result.centroid.area) + '\n';
    bytes += std::to_string(result.messages.size()) + '\n';
    for (const std::string& message : result.messages)
        bytes += std::to_string(message.size()) + '\n' + message;
    return bytes;
}

std::optional<FrameResult> decodeResult(const std::string& bytes)
{
    Reader in(bytes);
    FrameResult result;
    const auto ok = in.word();
    const auto x = in.number();
    const auto y = in.number();
    const auto wavelength = in.word();
    const auto area = in.number();
    const auto count = in.number();
    if (!ok || !x || !y || !wavelength || !area || !count || *count < 0 || *count > 1e6)
        return std::nullopt;
    result.ok = *ok == "1";
    result.centroid = CentroidLine{*x, *y, std::nullopt, static_cast<long long>(*area)};
    if (!wavelength->empty())
        result.centroid.wavelength = static_cast<float>(std::strtod(wavelength->c_str(), nullptr));
    for (int i = 0; i < static_cast<int>(*count); ++i) {
        const auto length = in.number();
        const auto message = length && *length >= 0 ? in.block(static_cast<std::size_t>(*length)) : std::nullopt;
        if (!message)
            return std::nullopt;
        result.messages.push_back(*message);
    }
    if (!in.atEnd())
        return std::nullopt;
    return result;
}

bool writeAll(int fd, const std::string& bytes)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace kestrova::batch
