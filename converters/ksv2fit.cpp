// ksv2fit: a KSV file into a new FITS file whose primary image has the KSV data type code as
// its image type, written through the FITS library strip by strip.

#include <cstdint>

#include <fitsio.h>

#include "ConverterEntryPoints.h"
#include "ConverterFrame.h"
#include "ExitCodes.h"
#include "FitsSupport.h"
#include "KsvStrips.h"

namespace {

using namespace ksv;

// The library's 32-bit transfer types on this platform: its TLONG is 64 bits wide here.
static_assert(sizeof(int) == 4 && sizeof(float) == 4);
constexpr int kIntTransfer = TINT;
constexpr int kFloatTransfer = TFLOAT;

void convert(ConverterRun& run)
{
    KsvStripReader ksv(run);
    const KsvHeader& header = ksv.header();

    // The library creates the file under a fresh temporary name; the frame moves it over the
    // output only after the close below has completed it.
    const std::string path = run.reserveOutput(FitsCreateFile, FitsOutputClose);
    int status = 0;
    fitsfile* fits = nullptr;
    fits_create_diskfile(&fits, fitsDiskName(path).c_str(), &status);
    if (fits == nullptr || status > 0)
        failFits(FitsCreateFile, status);
    closeAtCleanup(run, fits, FitsOutputClose, true);

    long naxes[2] = {header.width, header.height};
    if (fits_create_img(fits, header.dataType, 2, naxes, &status) > 0)
        failFits(FitsCreateImage, status);

    ksv.start(FitsOutputMemory);
    const int transfer = header.isFloat() ? kFloatTransfer : kIntTransfer;
    forEachStrip(header.height, [&](std::int32_t row, int rows) {
        ksv.readStrip(rows);
        const LONGLONG first = static_cast<LONGLONG>(row) * header.width + 1;
        const LONGLONG count = static_cast<LONGLONG>(header.width) * rows;
        // The library's interface takes a writable array; the strip is refilled for every strip.
        void* values = header.isFloat() ? static_cast<void*>(const_cast<float*>(ksv.floatStrip()))
                                        : static_cast<void*>(const_cast<std::int32_t*>(ksv.intStrip()));
        if (fits_write_img(fits, transfer, first, count, values, &status) > 0)
            failFits(FitsWrite, status);
    });
}

}  // namespace

int converters::ksv2fit(int argc, char** argv)
{
    return ksv::runConverter(ksv::ConverterKind::FromKsv, argc, argv, convert);
}

#ifndef KESTROVA_CONVERTER_LIBRARY
int main(int argc, char** argv)
{
    return converters::ksv2fit(argc, argv);
}
#endif
