// fit2ksv: the first image of a FITS file into a KSV file, read through the FITS library strip
// by strip. The KSV data type code is the image's equivalent type.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

#include <fitsio.h>

#include "ConverterEntryPoints.h"
#include "ConverterFrame.h"
#include "ExitCodes.h"
#include "FitsSupport.h"
#include "FitsUnits.h"
#include "KsvStrips.h"

namespace {

using namespace ksv;

// The library's 32-bit transfer types on this platform: its TLONG is 64 bits wide here.
static_assert(sizeof(int) == 4 && sizeof(float) == 4);
constexpr int kIntTransfer = TINT;
constexpr int kFloatTransfer = TFLOAT;

// A compressed file would be unpacked whole into memory by the library: only plain files are read.
bool isCompressedFile(const unsigned char* magic)
{
    return magic[0] == 0x1f || (magic[0] == 'P' && magic[1] == 'K') || (magic[0] == 'B' && magic[1] == 'Z');
}

// The input must exist under exactly its own name (the library would also try the name with
// ".gz" and similar endings) and be an uncompressed file.
void checkPlainFile(const std::string& path)
{
    std::FILE* file = path.empty() ? nullptr : std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        fail(FitsInputOpen);
    unsigned char magic[2] = {0, 0};
    const std::size_t got = std::fread(magic, 1, sizeof magic, file);
    std::fclose(file);
    if (got == sizeof magic && isCompressedFile(magic))
        fail(FitsInputOpen);
}

// Behind a primary unit without data, moves to the first extension holding a non-empty image,
// as the library's image-opening call does; stays at the primary unit when there is none. The
// units are found from their headers alone, and a tile-compressed image is refused: the library
// cannot be trusted to fail cleanly on a damaged one. Returns the library status.
int moveToFirstImage(fitsfile* fits, const std::string& path)
{
    int status = 0;
    int naxis = 0;
    if (fits_get_img_dim(fits, &naxis, &status) > 0 || naxis != 0)
        return status;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        fail(FitsInputOpen);
    const long long size = regularFileSize(file);
    const FirstImage first =
        size > 0 ? findImageBehindEmptyPrimary(file, static_cast<std::uint64_t>(size)) : FirstImage{};
    std::fclose(file);
    if (first.compressed)
        fail(FitsNoImage);
    if (first.unit > 1)
        fits_movabs_hdu(fits, first.unit, nullptr, &status);
    return status;
}

fitsfile* openImage(ConverterRun& run)
{
    checkPlainFile(run.inputPath());
    int status = 0;
    fitsfile* fits = nullptr;
    fits_open_diskfile(&fits, fitsDiskName(run.inputPath()).c_str(), READONLY, &status);
    if (fits == nullptr || status > 0)
        failFits(FitsInputOpen, status);
    closeAtCleanup(run, fits, FitsInputClose, false);
    status = moveToFirstImage(fits, run.inputPath());
    if (status > 0)
        failFits(FitsInputOpen, status);
    return fits;
}

struct FitsImage {
    int equivalentType = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

bool isKsvLength(long length)
{
    return length >= 1 && length <= std::numeric_limits<std::int32_t>::max();
}

FitsImage readImageParameters(fitsfile* fits)
{
    int status = 0;
    int hduType = 0;
    if (fits_get_hdu_type(fits, &hduType, &status) > 0)
        failFits(FitsHduType, status);
    if (hduType != IMAGE_HDU)
        fail(FitsNoImage);

    int bitpix = 0;
    int naxis = 0;
    long naxes[2] = {0, 0};
    if (fits_get_img_param(fits, 2, &bitpix, &naxis, naxes, &status) > 0)
        failFits(FitsImageParameters, status);
    if (naxis != 2)
        fail(FitsDimensions);
    FitsImage image;
    if (fits_get_img_equivtype(fits, &image.equivalentType, &status) > 0)
        failFits(FitsImageParameters, status);
    // A KSV image is at most 2^31 - 1 pixels wide and high.
    if (!isKsvLength(naxes[0]) || !isKsvLength(naxes[1]))
        fail(FitsImageParameters);
    image.width = static_cast<std::int32_t>(naxes[0]);
    image.height = static_cast<std::int32_t>(naxes[1]);
    return image;
}

// Reads `count` values from element `first` (counted from 1) in the transfer type; no value is
// taken as undefined.
int readValues(fitsfile* fits, bool isFloat, LONGLONG first, LONGLONG count, void* values)
{
    int status = 0;
    int anyUndefined = 0;
    if (isFloat) {
        float noUndefined = 0;
        fits_read_img(fits, kFloatTransfer, first, count, &noUndefined, values, &anyUndefined, &status);
    } else {
        int noUndefined = 0;
        fits_read_img(fits, kIntTransfer, first, count, &noUndefined, values, &anyUndefined, &status);
    }
    return status;
}

// The last pixel is read before anything is allocated or created, so that a header promising
// more data than the file holds fails at once, and every buffer stays within the file's size.
void checkLastPixel(fitsfile* fits, const FitsImage& image)
{
    const LONGLONG last = static_cast<LONGLONG>(image.width) * image.height;
    std::uint32_t value = 0;
    const int status = readValues(fits, isFloatCode(image.equivalentType), last, 1, &value);
    if (status > 0)
        failFits(FitsRead, status);
}

// The library turns a double beyond the float range into an infinity without complaint: such a
// pixel fails the read like any other value that does not fit the transfer type. An infinity
// stored as such in the file is a pixel like any other. Runs only on strips that hold one.
void checkFloatOverflow(fitsfile* fits, LONGLONG first, const float* values, std::size_t count)
{
    std::size_t i = 0;
    while (i < count && !std::isinf(values[i]))
        ++i;
    if (i == count)
        return;
    constexpr std::size_t kChunk = 1024;
    double stored[kChunk];
    for (std::size_t start = i - i % kChunk; start < count; start += kChunk) {
        const std::size_t n = count - start < kChunk ? count - start : kChunk;
        int status = 0;
        int anyUndefined = 0;
        double noUndefined = 0;
        if (fits_read_img(fits, TDOUBLE, first + static_cast<LONGLONG>(start), static_cast<LONGLONG>(n), &noUndefined,
                          stored, &anyUndefined, &status) > 0)
            failFits(FitsRead, status);
        for (std::size_t k = 0; k < n; ++k) {
            if (std::isinf(values[start + k]) && std::isfinite(stored[k])) {
                ffpmsg("Numerical overflow during type conversion while reading FITS data.");
                failFits(FitsRead, NUM_OVERFLOW);
            }
        }
    }
}

void convert(ConverterRun& run)
{
    fitsfile* fits = openImage(run);
    const FitsImage image = readImageParameters(fits);
    const bool isFloat = isFloatCode(image.equivalentType);
    checkLastPixel(fits, image);

    KsvStripWriter ksv(run, static_cast<std::int16_t>(image.equivalentType), image.width, image.height,
                       FitsInputMemory);
    forEachStrip(image.height, [&](std::int32_t row, int rows) {
        const LONGLONG first = static_cast<LONGLONG>(row) * image.width + 1;
        const std::size_t count = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(rows);
        void* values = isFloat ? static_cast<void*>(ksv.floatStrip()) : static_cast<void*>(ksv.intStrip());
        const int status = readValues(fits, isFloat, first, static_cast<LONGLONG>(count), values);
        if (status > 0)
            failFits(FitsRead, status);
        // One pass gives the range (finite values only) and tells whether an infinity needs a look.
        if (ksv.addToRange(rows))
            checkFloatOverflow(fits, first, ksv.floatStrip(), count);
        ksv.writeStripAsIs(rows);
    });
    ksv.finish();
}

}  // namespace

int converters::fit2ksv(int argc, char** argv)
{
    return ksv::runConverter(ksv::ConverterKind::ToKsv, argc, argv, convert);
}

#ifndef KESTROVA_CONVERTER_LIBRARY
int main(int argc, char** argv)
{
    return converters::fit2ksv(argc, argv);
}
#endif
