// pgm2ksv: a binary grey map (magic "P5", 8- or 16-bit samples) into a KSV file.

#include <cctype>
#include <cstdint>
#include <cstdio>

#include "ConverterEntryPoints.h"
#include "ConverterFrame.h"
#include "ExitCodes.h"
#include "KsvStrips.h"

namespace {

using namespace ksv;

// Reads up to and including the end of the current line (a line feed), or to the end of the file.
void skipToLineEnd(std::FILE* in)
{
    int c = 0;
    do
        c = std::fgetc(in);
    while (c != '\n' && c != EOF);
}

// Skips whole lines that begin with '#', however long, leaving the stream at the first other line.
void skipComments(std::FILE* in)
{
    for (;;) {
        const long position = std::ftell(in);
        const int first = position < 0 ? EOF : std::fgetc(in);
        if (first == EOF)
            fail(PgmParametersRead);
        if (first != '#') {
            if (std::fseek(in, position, SEEK_SET) != 0)
                fail(PgmParametersRead);
            return;
        }
        skipToLineEnd(in);
    }
}

// A decimal integer after optional white space, as scanf's "%d" reads it.
long readNumber(std::FILE* in)
{
    int c = std::fgetc(in);
    while (c != EOF && std::isspace(c))
        c = std::fgetc(in);
    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        c = std::fgetc(in);
    }
    if (c == EOF || !std::isdigit(c))
        fail(PgmParametersRead);
    long value = 0;
    while (c != EOF && std::isdigit(c)) {
        value = value * 10 + (c - '0');
        if (value > INT32_MAX)
            fail(PgmParametersRead);
        c = std::fgetc(in);
    }
    if (c != EOF)
        std::ungetc(c, in);
    return negative ? -value : value;
}

// The one separator character after a number.
void readSeparator(std::FILE* in)
{
    if (std::fgetc(in) == EOF)
        fail(PgmParametersRead);
}

struct PgmLayout {
    std::int32_t width;
    std::int32_t height;
    int sampleBytes;
};

PgmLayout readPgmHeader(std::FILE* in)
{
    skipComments(in);
    // The magic line: "P5" and whatever follows it on that line.
    if (std::fgetc(in) != 'P' || std::fgetc(in) != '5')
        fail(PgmParametersRead);
    skipToLineEnd(in);
    skipComments(in);
    const long width = readNumber(in);
    const long height = readNumber(in);
    readSeparator(in);
    skipComments(in);
    const long maxValue = readNumber(in);
    readSeparator(in);
    if (width <= 0 || height <= 0 || maxValue <= 0 || maxValue > 65535)
        fail(PgmParametersRead);
    return {static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), maxValue >= 256 ? 2 : 1};
}

void convert(ConverterRun& run)
{
    std::FILE* in = run.openInput(run.inputPath(), PgmInputOpen, PgmInputClose);
    const PgmLayout pgm = readPgmHeader(in);
    const long raster = std::ftell(in);
    if (raster < 0)
        fail(PgmParametersRead);

    // A raster shorter than the header claims fails before any output is made.
    const std::uint64_t rowBytes = static_cast<std::uint64_t>(pgm.width) * static_cast<std::uint64_t>(pgm.sampleBytes);
    const long long size = regularFileSize(in);
    if (size >= 0 && static_cast<std::uint64_t>(size - raster) < rowBytes * static_cast<std::uint64_t>(pgm.height))
        fail(PgmRead);

    const auto dataType =
        static_cast<std::int16_t>(pgm.sampleBytes == 2 ? KsvDataType::UnsignedInt16 : KsvDataType::UnsignedByte);
    KsvStripWriter ksv(run, dataType, pgm.width, pgm.height, PgmInputMemory);
    const auto samples =
        run.allocate<unsigned char>(stripValues(pgm.width, pgm.height) * pgm.sampleBytes, PgmInputMemory);

    forEachStrip(pgm.height, [&](std::int32_t, int rows) {
        const std::size_t count = static_cast<std::size_t>(pgm.width) * static_cast<std::size_t>(rows);
        if (std::fread(samples.get(), pgm.sampleBytes, count, in) != count)
            fail(PgmRead);
        std::int32_t* values = ksv.intStrip();
        const unsigned char* s = samples.get();
        if (pgm.sampleBytes == 1) {
            for (std::size_t i = 0; i < count; ++i)
                values[i] = s[i];
        } else {
            for (std::size_t i = 0; i < count; ++i)
                values[i] = (s[2 * i] << 8) | s[2 * i + 1];
        }
        ksv.writeStrip(rows);
    });
    ksv.finish();
}

}  // namespace

int converters::pgm2ksv(int argc, char** argv)
{
    return ksv::runConverter(ksv::ConverterKind::ToKsv, argc, argv, convert);
}

#ifndef KESTROVA_CONVERTER_LIBRARY
int main(int argc, char** argv)
{
    return converters::pgm2ksv(argc, argv);
}
#endif
