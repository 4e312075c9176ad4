#include "FitsUnits.h"

#include <charconv>
#include <limits>
#include <string_view>

namespace ksv {

namespace {

// The value part of a card whose keyword is `keyword` ("= " in columns 9 and 10).
std::optional<std::string_view> cardValue(std::string_view card, std::string_view keyword)
{
    std::string_view name = card.substr(0, 8);
    while (!name.empty() && name.back() == ' ')
        name.remove_suffix(1);
    if (name != keyword || card.substr(8, 2) != "= ")
        return std::nullopt;
    std::string_view value = card.substr(10);
    while (!value.empty() && value.front() == ' ')
        value.remove_prefix(1);
    return value;
}

std::optional<long long> integerValue(std::string_view value)
{
    const char* begin = value.data();
    const char* end = value.data() + value.size();
    if (begin < end && *begin == '+')
        ++begin;
    long long number = 0;
    auto [stop, ec] = std::from_chars(begin, end, number);
    if (ec != std::errc{} || stop == begin || (stop < end && *stop != ' ' && *stop != '/'))
        return std::nullopt;
    return number;
}

// A quoted string value without its trailing blanks.
std::string_view stringValue(std::string_view value)
{
    if (value.empty() || value.front() != '\'')
        return {};
    value.remove_prefix(1);
    value = value.substr(0, value.find('\''));
    while (!value.empty() && value.back() == ' ')
        value.remove_suffix(1);
    return value;
}

// The keywords that decide a unit's kind and size.
struct HeaderFields {
    std::string_view xtension;
    bool zimage = false;
    long long bitpix = 0;
    long long naxis = -1;
    long long axes[1000] = {};
    long long pcount = 0;
    long long gcount = 1;
    bool valid = true;
};

void readCard(std::string_view card, HeaderFields& h)
{
    if (auto v = cardValue(card, "XTENSION")) {
        h.xtension = stringValue(*v);
        return;
    }
    if (auto v = cardValue(card, "ZIMAGE")) {
        h.zimage = !v->empty() && v->front() == 'T';
        return;
    }
    const std::pair<std::string_view, long long*> numbers[] = {
        {"BITPIX", &h.bitpix}, {"NAXIS", &h.naxis}, {"PCOUNT", &h.pcount}, {"GCOUNT", &h.gcount}};
    for (const auto& [keyword, field] : numbers) {
        if (auto v = cardValue(card, keyword)) {
            const auto number = integerValue(*v);
            h.valid = h.valid && number.has_value();
            *field = number.value_or(0);
            return;
        }
    }
    if (card.substr(0, 5) == "NAXIS") {
        std::string_view name = card.substr(0, 8);
        while (!name.empty() && name.back() == ' ')
            name.remove_suffix(1);
        int axis = 0;
        auto [stop, ec] = std::from_chars(name.data() + 5, name.data() + name.size(), axis);
        if (ec != std::errc{} || stop != name.data() + name.size() || axis < 1 || axis > 999)
            return;
        const auto v = cardValue(card, name);
        const auto number = v ? integerValue(*v) : std::nullopt;
        h.valid = h.valid && number.has_value();
        h.axes[axis] = number.value_or(0);
    }
}

std::uint64_t wholeBlocks(std::uint64_t bytes)
{
    return (bytes + kFitsBlockBytes - 1) / kFitsBlockBytes * kFitsBlockBytes;
}

// Data bytes as the header gives them; nothing when they exceed `limit` or make no sense.
std::optional<std::uint64_t> dataBytes(const HeaderFields& h, std::uint64_t limit)
{
    const long long bits = h.bitpix < 0 ? -h.bitpix : h.bitpix;
    if (bits != 8 && bits != 16 && bits != 32 && bits != 64)
        return std::nullopt;
    if (h.naxis < 0 || h.naxis > 999 || h.pcount < 0 || h.gcount < 0)
        return std::nullopt;
    if (h.naxis == 0)
        return 0;
    // Every factor is checked against the limit, so no product can overflow.
    std::uint64_t elements = 1;
    for (long long n = 1; n <= h.naxis; ++n) {
        const long long length = h.axes[n];
        if (length < 0)
            return std::nullopt;
        if (length == 0)
            elements = 0;
        else if (elements > limit / static_cast<std::uint64_t>(length))
            return std::nullopt;
        else
            elements *= static_cast<std::uint64_t>(length);
    }
    const std::uint64_t perGroup = elements + static_cast<std::uint64_t>(h.pcount);
    const auto groups = static_cast<std::uint64_t>(h.gcount);
    const std::uint64_t bytesPer = static_cast<std::uint64_t>(bits) / 8;
    if (perGroup > limit || (groups != 0 && perGroup > limit / groups) || perGroup * groups > limit / bytesPer)
        return std::nullopt;
    return wholeBlocks(perGroup * groups * bytesPer);
}

}  // namespace

std::optional<FitsUnit> readFitsUnit(std::FILE* file, std::uint64_t available)
{
    HeaderFields h;
    FitsUnit unit;
    char block[kFitsBlockBytes];
    for (bool ended = false; !ended;) {
        if (available - unit.headerBytes < kFitsBlockBytes || std::fread(block, 1, sizeof block, file) != sizeof block)
            return std::nullopt;
        unit.headerBytes += kFitsBlockBytes;
        for (std::size_t at = 0; at < kFitsBlockBytes && !ended; at += kFitsCardBytes) {
            const std::string_view card(block + at, kFitsCardBytes);
            ended = card.substr(0, 8) == "END     ";
            if (!ended)
                readCard(card, h);
        }
    }
    if (!h.valid)
        return std::nullopt;
    unit.isImage = h.xtension.empty() || h.xtension == "IMAGE";
    unit.isCompressedImage = !unit.isImage && h.zimage;
    unit.naxis = h.naxis;
    unit.dataBytes = dataBytes(h, available - unit.headerBytes).value_or(kUnknownSize);
    return unit;
}

FirstImage findImageBehindEmptyPrimary(std::FILE* file, std::uint64_t fileBytes)
{
    FirstImage found;
    std::uint64_t position = 0;
    for (int number = 1; position < fileBytes && number < std::numeric_limits<int>::max(); ++number) {
        if (position > static_cast<std::uint64_t>(std::numeric_limits<long>::max()) ||
            std::fseek(file, static_cast<long>(position), SEEK_SET) != 0)
            return found;
        const auto unit = readFitsUnit(file, fileBytes - position);
        if (!unit)
            return found;
        if (number > 1 && unit->isCompressedImage) {
            found.compressed = true;
            return found;
        }
        if (number > 1 && unit->isImage && unit->naxis > 0) {
            found.unit = number;
            return found;
        }
        if (unit->dataBytes == kUnknownSize)
            return found;
        position += unit->headerBytes + unit->dataBytes;
    }
    return found;
}

}  // namespace ksv
