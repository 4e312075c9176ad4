#include "KsvStrips.h"

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

void KsvStripWriter::writeStrip(int rows)
{
    const std::size_t count = static_cast<std::size_t>(header_.width) * static_cast<std::size_t>(rows);
    if (header_.isFloat()) {
        const float* values = floatStrip();
        // Undefined (NaN) pixels take no part in the range.
        for (std::size_t i = 0; i < count; ++i) {
            const float v = values[i];
            if (std::isnan(v))
                continue;
            if (!seeded_) {
                header_.floatMin = header_.floatMax = v;
                seeded_ = true;
            } else if (v < header_.floatMin) {
                header_.floatMin = v;
            } else if (v > header_.floatMax) {
                header_.floatMax = v;
            }
        }
    } else {
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
    }
    if (!writeRows(file_, strip_.get(), header_.width, rows))
        fail(KsvWrite);
}

void KsvStripWriter::finish()
{
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
