#include "KsvFormat.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace ksv {

std::uint64_t KsvHeader::pixelCount() const
{
    if (width <= 0 || height <= 0)
        return 0;
    return static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
}

std::uint64_t KsvHeader::pixelBytes() const
{
    return pixelCount() * kBytesPerPixel;
}

std::uint64_t KsvHeader::fileBytes() const
{
    return kPixelOffset + pixelBytes();
}

namespace {

void appendField(std::string& text, const char* digits, const char* end)
{
    text += ' ';
    text.append(digits, end);
    text += '\r';
}

void appendInteger(std::string& text, long long value)
{
    std::array<char, 32> buffer{};
    auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    (void)ec;
    appendField(text, buffer.data(), end);
}

// Below this magnitude six decimals would hide every digit: such values take the exponent form.
constexpr double kSmallestFixed = 0.001;

// Same digits as printf's "%f" in the C locale, whatever locale the process runs in; a nonzero
// value below 0.001 in magnitude as "%.6E" gives it ("1.234568E-30").
void appendFloat(std::string& text, float value)
{
    std::array<char, 400> buffer{};
    const double v = value;
    const bool small = v != 0.0 && std::fabs(v) < kSmallestFixed;
    auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), v,
                                   small ? std::chars_format::scientific : std::chars_format::fixed, 6);
    (void)ec;
    std::replace(buffer.data(), end, 'e', 'E');
    appendField(text, buffer.data(), end);
}

bool isFieldSeparator(char c)
{
    return c == ' ' || c == '\r' || c == '\n' || c == '\t' || c == '\f' || c == '\v';
}

class FieldReader {
public:
    FieldReader(const char* begin, const char* end) : pos_(begin), end_(end) {}

    template <typename Number>
    bool next(Number& value)
    {
        while (pos_ < end_ && isFieldSeparator(*pos_))
            ++pos_;
        const char* start = pos_;
        if (pos_ < end_ && *pos_ == '+')
            ++start;  // from_chars takes no plus sign
        auto [stop, ec] = std::from_chars(start, end_, value);
        if (ec != std::errc{} || stop == start)
            return false;
        pos_ = stop;
        return true;
    }

private:
    const char* pos_;
    const char* end_;
};

}  // namespace

std::string headerText(const KsvHeader& header)
{
    std::string text = "KSV V000\r";
    appendInteger(text, header.dataType);
    appendInteger(text, header.width);
    appendInteger(text, header.height);
    if (header.isFloat()) {
        appendFloat(text, header.floatMin);
        appendFloat(text, header.floatMax);
    } else {
        appendInteger(text, header.intMin);
        appendInteger(text, header.intMax);
    }
    return text;
}

bool writeHeader(std::FILE* file, const KsvHeader& header)
{
    const std::string text = headerText(header);
    if (std::fseek(file, 0, SEEK_SET) != 0)
        return false;
    return std::fwrite(text.data(), 1, text.size(), file) == text.size();
}

std::optional<KsvHeader> parseHeader(const char* bytes, std::size_t length)
{
    // The magic line: at most 8 characters, ending early after a line feed.
    std::size_t magicLength = 0;
    while (magicLength < length && magicLength < 8) {
        if (bytes[magicLength++] == '\n')
            break;
    }
    if (magicLength < 5 || std::memcmp(bytes, "KSV V", 5) != 0)
        return std::nullopt;

    // Fields stop at the first zero byte of the padding.
    const char* end = static_cast<const char*>(std::memchr(bytes, '\0', length));
    if (end == nullptr)
        end = bytes + length;
    if (end < bytes + magicLength)
        return std::nullopt;
    FieldReader fields(bytes + magicLength, end);

    KsvHeader header;
    int code = 0;
    if (!fields.next(code) || !fields.next(header.width) || !fields.next(header.height))
        return std::nullopt;
    if (code < std::numeric_limits<std::int16_t>::min() || code > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    header.dataType = static_cast<std::int16_t>(code);
    if (header.width <= 0 || header.height <= 0)
        return std::nullopt;

    const bool ok = header.isFloat() ? fields.next(header.floatMin) && fields.next(header.floatMax)
                                     : fields.next(header.intMin) && fields.next(header.intMax);
    if (!ok)
        return std::nullopt;
    // The range of finite pixels is finite: "inf" or "nan" is no minimum or maximum.
    if (header.isFloat() && (!std::isfinite(header.floatMin) || !std::isfinite(header.floatMax)))
        return std::nullopt;
    return header;
}

std::optional<KsvHeader> readHeader(std::FILE* file)
{
    if (std::fseek(file, 0, SEEK_SET) != 0)
        return std::nullopt;
    std::array<char, kPixelOffset> bytes{};
    const std::size_t length = std::fread(bytes.data(), 1, bytes.size(), file);
    return parseHeader(bytes.data(), length);
}

bool seekToPixels(std::FILE* file)
{
    return std::fseek(file, kPixelOffset, SEEK_SET) == 0;
}

bool readRows(std::FILE* file, void* values, std::int32_t width, int rows)
{
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(rows);
    return std::fread(values, kBytesPerPixel, count, file) == count;
}

bool writeRows(std::FILE* file, const void* values, std::int32_t width, int rows)
{
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(rows);
    return std::fwrite(values, kBytesPerPixel, count, file) == count;
}

}  // namespace ksv
