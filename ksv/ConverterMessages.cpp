#include "ConverterMessages.h"

namespace ksv {

const std::array<std::string_view, kConverterMessageCount> ConverterMessageTable = {
    "Error - no error",
    "Error - incorrect number of arguments for command",
    "Error - insufficient memory for FITS input file buffer",
    "Error - insufficient memory for FITS output file buffer",
    "Error - when closing FITS input file",
    "Error - when opening FITS input file",
    "Error - when closing FITS output file",
    "Error - when opening FITS output file",
    "Error - when reading image from FITS input file",
    "Error - when writing image to FITS output file",
    "Error - when creating FITS output file",
    "Error - when creating image in FITS output file",
    "Error - when reading hdu type from FITS input file",
    "Error - no image in FITS input file",
    "Error - when reading image parameters from FITS input file",
    "Error - image in FITS input file has wrong number of dimensions",
    "Error - insufficient memory for BMP file header buffer",
    "Error - insufficient memory for BMP output file buffer",
    "Error - insufficient memory for BMP info header buffer",
    "Error - insufficient memory for BMP output file buffer",
    "Error - when opening BMP input file",
    "Error - when closing BMP input file",
    "Error - when opening BMP output file",
    "Error - when closing BMP output file",
    "Error - when reading File Header from BMP input file",
    "Error - when writing File Header to BMP output file",
    "Error - when reading Info Header from BMP input file",
    "Error - when writing Info Header to BMP output file",
    "Error - when reading image from BMP input file",
    "Error - when writing image to BMP output file",
    "Error - when positioning file pointer in BMP input file",
    "Error - insufficient memory for PGM input file buffer",
    "Error - insufficient memory for PGM output file buffer",
    "Error - when opening PGM input file",
    "Error - when closing PGM input file",
    "Error - when opening PGM output file",
    "Error - when closing PGM output file",
    "Error - when reading image from PGM input file",
    "Error - when writing image to PGM output file",
    "Error - when reading image parameters from PGM input file",
    "Error - when writing image parameters to PGM output file",
    "Error - when opening KSV input file",
    "Error - when closing KSV input file",
    "Error - when opening KSV output file",
    "Error - when closing KSV output file",
    "Error - when reading image from KSV input file",
    "Error - when writing image to KSV output file",
    "Error - when reading image parameters from KSV input file",
    "Error - when writing image parameters to KSV output file",
    "Error - when setting file position in KSV inpput file",
    "Error - when setting file position in KSV output file",
};

std::optional<std::string_view> converterMessage(int exitCode)
{
    if (exitCode < 0 || exitCode >= kConverterMessageCount)
        return std::nullopt;
    return ConverterMessageTable[static_cast<std::size_t>(exitCode)];
}

}  // namespace ksv
