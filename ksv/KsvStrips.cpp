#include "KsvStrips.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <sys/stat.h>

#include "ExitCodes.h"

namespace ksv {

long long regularFileSize(std::FILE* file)
{
    struct stat info {};
    if (::fstat(::fileno(file), &info) != 0 || !S_ISREG(info.st_mode))
        return -1;
    return static_cast<long long>(info.st_size);
}

KsvStripWriter::KsvStripWriter(ConverterRun& run, std::int16_t dataType, std::int32_t width, std::int32_t height,
                               int memoryCode)
{
    header_.dataType = dataType;
    header_.width = width;
    header_.height = height;
    file_ = run.createOutput(KsvOutputOpen, KsvOutputClose);
    if (!seekToPixels(file_))
        fail(KsvOutputSeek);
    strip_ = run.allocate<std::uint32_t>(stripValues(width, height), memoryCode);
}

// The range pass also gets a version for processors with 256-bit vectors, chosen when the
// program starts.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && !defined(__SANITIZE_ADDRESS__)
__attribute__((target_clones("avx2", "default")))
#endif
bool FloatRange::add(const std::uint32_t* bits, std::size_t count)
{
    constexpr std::int32_t kLargestFinite = 0x7f7fffff;  // magnitude bits of the largest float
    constexpr std::int32_t kInfinity = 0x7f800000;
    constexpr std::int32_t kHighest = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kLowest = std::numeric_limits<std::int32_t>::min();
    // Integer arithmetic and masks instead of branches, so that the loop runs on whole vectors
    // without fast-math: a value that is not finite becomes a key that changes neither end.
    std::int32_t low = lowKey_;
    std::int32_t high = highKey_;
    std::int32_t infinities = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const auto b = static_cast<std::int32_t>(bits[i]);
        const std::int32_t magnitude = b & 0x7fffffff;
        const std::int32_t key = b ^ ((b >> 31) & 0x7fffffff);
        const std::int32_t notFinite = (kLargestFinite - magnitude) >> 31;  // all ones for NaN and infinity
        low = std::min(low, (key & ~notFinite) | (notFinite & kHighest));
        high = std::max(high, (key & ~notFinite) | (notFinite & kLowest));
        infinities |= static_cast<std::int32_t>(magnitude == kInfinity);
    }
    lowKey_ = low;
    highKey_ = high;
    return infinities != 0;
}

float FloatRange::valueOfKey(std::int32_t key)
{
    const std::int32_t b = key ^ ((key >> 31) & 0x7fffffff);
    return std::bit_cast<float>(b);
}

bool KsvStripWriter::addToRange(int rows)
{
    const std::size_t count = static_cast<std::size_t>(header_.width) * static_cast<std::size_t>(rows);
    if (header_.isFloat())
        return floatRange_.add(strip_.get(), count);

    const std::int32_t* values = intStrip();
    std::size_t i = 0;
    if (!seeded_ && count > 0) {
        header_.intMin = header_.intMax = values[0];
        seeded_ = true;
        i = 1;
    }
    std::int32_t lo = header_.intMin;
    std::int32_t hi = header_.intMax;
    for (; i < count; ++i) {
        const std::int32_t v = values[i];
        lo = v < lo ? v : lo;
        hi = v > hi ? v : hi;
    }
    header_.intMin = lo;
    header_.intMax = hi;
    return false;
}

void KsvStripWriter::writeStripAsIs(int rows)
{
    if (!writeRows(file_, strip_.get(), header_.width, rows))
        fail(KsvWrite);
}

void KsvStripWriter::finish()
{
    if (header_.isFloat() && !floatRange_.empty()) {
        header_.floatMin = floatRange_.lowest();
        header_.floatMax = floatRange_.highest();
    }
    if (std::fseek(file_, 0, SEEK_SET) != 0)
        fail(KsvOutputSeek);
    if (!writeHeader(file_, header_))
        fail(KsvParametersWrite);
}

KsvStripReader::KsvStripReader(ConverterRun& run)
    : run_(run), file_(run.openInput(run.inputPath(), KsvInputOpen, KsvInputClose))
{
    const auto header = readHeader(file_);
    if (!header)
        fail(KsvParametersRead);
    header_ = *header;
    const long long size = regularFileSize(file_);
    if (size >= 0 && static_cast<unsigned long long>(size) < header_.fileBytes())
        fail(KsvRead);
}

void KsvStripReader::start(int memoryCode)
{
    if (!seekToPixels(file_))
        fail(KsvInputSeek);
    strip_ = run_.allocate<std::uint32_t>(stripValues(header_.width, header_.height), memoryCode);
}

void KsvStripReader::readStrip(int rows)
{
    if (!readRows(file_, strip_.get(), header_.width, rows))
        fail(KsvRead);
}

}  // namespace ksv
