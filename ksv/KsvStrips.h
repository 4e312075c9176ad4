#pragma once

// Strip-by-strip KSV reading and writing for the converters: one buffer of width x 32 values,
// so memory stays proportional to the image width.

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>

#include "ConverterFrame.h"
#include "KsvFormat.h"

namespace ksv {

// The running minimum and maximum of float values, skipping NaN and the infinities.
class FloatRange {
public:
    // Adds `count` values given by their bit patterns, in one pass that the compiler vectorises.
    // True when one of them is an infinity.
    bool add(const std::uint32_t* bits, std::size_t count);

    // No finite value added yet.
    bool empty() const { return lowKey_ > highKey_; }
    float lowest() const { return valueOfKey(lowKey_); }
    float highest() const { return valueOfKey(highKey_); }

private:
    // Finite floats are ordered as these integer keys are (-0 just below +0); no finite float
    // has the key INT32_MAX or INT32_MIN.
    static float valueOfKey(std::int32_t key);

    std::int32_t lowKey_ = std::numeric_limits<std::int32_t>::max();
    std::int32_t highKey_ = std::numeric_limits<std::int32_t>::min();
};

// Writes the KSV output of a to-KSV converter: the pixel block strip by strip from byte 256,
// keeping the running minimum and maximum, then the header at offset 0.
class KsvStripWriter {
public:
    // Creates the output file (43) and positions it at the pixel block (50); allocates the
    // strip buffer (memoryCode).
    KsvStripWriter(ConverterRun& run, std::int16_t dataType, std::int32_t width, std::int32_t height, int memoryCode);

    const KsvHeader& header() const { return header_; }
    std::int32_t* intStrip() { return reinterpret_cast<std::int32_t*>(strip_.get()); }
    float* floatStrip() { return reinterpret_cast<float*>(strip_.get()); }

    // Adds `rows` rows of the strip buffer to the running minimum and maximum, in one pass. Float
    // values that are not finite (NaN, infinities) take no part. True when a float strip holds an
    // infinity.
    bool addToRange(int rows);

    // Writes `rows` rows from the strip buffer (46), without touching the range.
    void writeStripAsIs(int rows);

    // Writes `rows` rows from the strip buffer (46), updating the minimum and maximum.
    void writeStrip(int rows)
    {
        addToRange(rows);
        writeStripAsIs(rows);
    }

    // Writes the header (50, 48) with the range of every value added: the smallest and largest
    // (finite) value, or 0 and 0 when there was none. The frame closes the file.
    void finish();

private:
    std::FILE* file_;
    KsvHeader header_;
    std::unique_ptr<std::uint32_t[]> strip_;
    bool seeded_ = false;
    FloatRange floatRange_;
};

// Reads the KSV input of a from-KSV converter.
class KsvStripReader {
public:
    // Opens the input (41, closed with 42), reads the header (47) and checks that the file holds
    // the whole pixel block (45), so that a short file fails before anything is written.
    explicit KsvStripReader(ConverterRun& run);

    const KsvHeader& header() const { return header_; }

    // Positions at the pixel block (49) and allocates the strip buffer (memoryCode).
    void start(int memoryCode);

    // Reads the next `rows` rows into the strip buffer (45).
    void readStrip(int rows);

    const std::int32_t* intStrip() const { return reinterpret_cast<const std::int32_t*>(strip_.get()); }
    const float* floatStrip() const { return reinterpret_cast<const float*>(strip_.get()); }

    // Converts the whole pixel block: for each strip, reads it, calls fill(count) to turn its
    // `count` values into `bytesPerValue` bytes each in `converted`, and writes those bytes to
    // `out` (writeCode).
    template <typename Fill>
    void convertStrips(std::FILE* out, const unsigned char* converted, int bytesPerValue, int writeCode, Fill&& fill)
    {
        forEachStrip(header_.height, [&](std::int32_t, int rows) {
            readStrip(rows);
            const std::size_t count = static_cast<std::size_t>(header_.width) * static_cast<std::size_t>(rows);
            fill(count);
            if (std::fwrite(converted, static_cast<std::size_t>(bytesPerValue), count, out) != count)
                fail(writeCode);
        });
    }

private:
    ConverterRun& run_;
    std::FILE* file_;
    KsvHeader header_;
    std::unique_ptr<std::uint32_t[]> strip_;
};

// Rows in the first strip: 32, or the height when it is smaller.
inline std::size_t stripValues(std::int32_t width, std::int32_t height)
{
    const std::int32_t rows = height < kStripRows ? height : kStripRows;
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(rows);
}

// The shift that the from-KSV converters add before scaling: -minimum when the minimum is
// negative, else 0.
inline double rangeShift(const KsvHeader& header)
{
    const double minimum = header.isFloat() ? static_cast<double>(header.floatMin) : static_cast<double>(header.intMin);
    return minimum < 0 ? -minimum : 0.0;
}

// A mapped float value as a 64-bit integer, truncated toward zero, for taking its low bits:
// NaN and the infinities (mapped from pixels that are not finite) give 0, and values beyond any
// image range are clamped first.
inline std::int64_t truncatedValue(double value)
{
    if (!std::isfinite(value))
        return 0;
    constexpr double limit = 4611686018427387904.0;  // 2^62
    if (value > limit)
        value = limit;
    if (value < -limit)
        value = -limit;
    return static_cast<std::int64_t>(value);
}

// Size in bytes of a regular file, or -1 when it is not one (a pipe, a device).
long long regularFileSize(std::FILE* file);

}  // namespace ksv
