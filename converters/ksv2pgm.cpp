// ksv2pgm: a KSV file into a binary grey map, 8-bit when the shifted range fits, else 16-bit.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <type_traits>

#include "ConverterEntryPoints.h"
#include "ConverterFrame.h"
#include "ExitCodes.h"
#include "KsvStrips.h"

namespace {

using namespace ksv;

// Output depth and the linear mapping result = (shift + v) * num / den.
struct PgmMapping {
    int sampleBytes = 1;
    long maxValue = 255;
    double shift = 0;
    double num = 1;
    double den = 1;
};

PgmMapping chooseMapping(const KsvHeader& header)
{
    PgmMapping m;
    m.shift = rangeShift(header);
    if (header.isFloat()) {
        const double top = m.shift + header.floatMax;
        if (top > 255) {
            m.sampleBytes = 2;
            m.maxValue = 65535;
        }
        if (top > 65535) {
            m.num = 65535;
            m.den = top;
        }
    } else {
        const double top = m.shift + header.intMax;
        if (top >= 256) {
            m.sampleBytes = 2;
            m.maxValue = 65535;
        }
        if (top > 65535) {
            m.num = 65535;
            m.den = top;
        }
    }
    return m;
}

void convert(ConverterRun& run)
{
    KsvStripReader ksv(run);
    const KsvHeader& header = ksv.header();
    const PgmMapping m = chooseMapping(header);

    std::FILE* out = run.createOutput(PgmOutputOpen, PgmOutputClose);
    if (std::fprintf(out, "P5\n# Created by ksv2pgm (absolute NB if min < 0 shifted to range from 0)\n%ld %ld\n%ld\n",
                     static_cast<long>(header.width), static_cast<long>(header.height), m.maxValue) < 0)
        fail(PgmParametersWrite);

    ksv.start(PgmOutputMemory);
    const auto samples =
        run.allocate<unsigned char>(stripValues(header.width, header.height) * m.sampleBytes, PgmOutputMemory);
    // Integer data maps exactly in 64-bit arithmetic: (shift + v) < 2^33 and num <= 65535. A float
    // image's shift and divisor may lie far beyond any integer and are never converted.
    const bool isInteger = !header.isFloat();
    const auto intShift = isInteger ? static_cast<std::int64_t>(m.shift) : 0;
    const auto intNum = isInteger ? static_cast<std::int64_t>(m.num) : 1;
    const auto intDen = isInteger ? static_cast<std::int64_t>(m.den) : 1;

    auto mapValue = [&](std::size_t i) -> std::uint32_t {
        if (header.isFloat())
            return static_cast<std::uint32_t>(
                truncatedValue(std::floor(m.num * (m.shift + ksv.floatStrip()[i]) / m.den + 0.5)));
        if (intDen == 1)
            return static_cast<std::uint32_t>(intShift + ksv.intStrip()[i]);
        return static_cast<std::uint32_t>((intShift + ksv.intStrip()[i]) * intNum / intDen);
    };
    auto putSamples = [&](std::size_t count, auto sampleBytes) {
        unsigned char* s = samples.get();
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint32_t result = mapValue(i);
            if constexpr (sampleBytes == 1) {
                s[i] = static_cast<unsigned char>(result);
            } else {
                s[2 * i] = static_cast<unsigned char>(result >> 8);
                s[2 * i + 1] = static_cast<unsigned char>(result);
            }
        }
    };

    ksv.convertStrips(out, samples.get(), m.sampleBytes, PgmWrite, [&](std::size_t count) {
        if (m.sampleBytes == 1)
            putSamples(count, std::integral_constant<int, 1>{});
        else
            putSamples(count, std::integral_constant<int, 2>{});
    });
}

}  // namespace

int converters::ksv2pgm(int argc, char** argv)
{
    return ksv::runConverter(ksv::ConverterKind::FromKsv, argc, argv, convert);
}

#ifndef KESTROVA_CONVERTER_LIBRARY
int main(int argc, char** argv)
{
    return converters::ksv2pgm(argc, argv);
}
#endif
