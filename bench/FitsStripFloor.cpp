// The floor for fit2ksv: the least a program can do to turn a FITS image into raw 32-bit pixels
// through cfitsio. It reads the first image strip by strip (32 rows) in the 32-bit transfer type
// and writes each strip unchanged from byte 256 of a fresh output file; no range, no checks.
//
//   fits_strip_floor <in.fits> <out.raw>     exit code 0 on success

#include <cstdio>
#include <vector>

#include <fitsio.h>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    int status = 0;
    fitsfile* fits = nullptr;
    if (fits_open_image(&fits, argv[1], READONLY, &status) > 0)
        return 1;
    int bitpix = 0;
    int naxis = 0;
    long axes[2] = {0, 0};
    int type = 0;
    fits_get_img_param(fits, 2, &bitpix, &naxis, axes, &status);
    fits_get_img_equivtype(fits, &type, &status);
    if (status > 0 || naxis != 2)
        return 1;
    const long width = axes[0];
    const long height = axes[1];
    const int transfer = type <= 0 ? TFLOAT : TINT;

    std::remove(argv[2]);
    std::FILE* out = std::fopen(argv[2], "wb");
    if (out == nullptr || std::fseek(out, 256, SEEK_SET) != 0)
        return 1;
    std::vector<float> strip(static_cast<std::size_t>(width) * 32);  // 4 bytes a value either way
    for (long row = 0; row < height; row += 32) {
        const long rows = height - row < 32 ? height - row : 32;
        const LONGLONG count = static_cast<LONGLONG>(width) * rows;
        int anyNull = 0;
        if (fits_read_img(fits, transfer, static_cast<LONGLONG>(row) * width + 1, count, nullptr, strip.data(),
                          &anyNull, &status) > 0)
            return 1;
        if (std::fwrite(strip.data(), 4, static_cast<std::size_t>(count), out) != static_cast<std::size_t>(count))
            return 1;
    }
    fits_close_file(fits, &status);
    return std::fclose(out) == 0 && status == 0 ? 0 : 1;
}
