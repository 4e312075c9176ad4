#pragma once

// The loaded image: opening it through a converter, preparing its texts and resetting the view,
// saving it (whole or a region) and saving or writing display pictures. Each file step takes a
// FileContext and the records it fills; the forms taking ProgramState serve the windows.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "FileContext.h"
#include "Messages.h"
#include "ProgramState.h"

namespace kestrova {

// A path split into its folder (up to and including the last '/'), the base name (without
// the extension) and the extension (from the last dot of the file name, lower case, dot
// included; "" when the file name has no dot).
struct PathParts {
    std::string folder;
    std::string baseName;
    std::string extension;
};
PathParts SplitImagePath(std::string_view path);

// Texts of a data type code; nothing for a code outside the nine KSV codes.
// M is the larger of |minimum| and |maximum|.
const char* dataTypeNameOf(int dataType);
const char* valueFormatOf(int dataType, double largestMagnitude);

// The folders of the program's records.
FileContext fileContextOf(const ProgramState& state);

// Fills the image store from a BMP, FITS or PGM file by running its converter into the
// temporary KSV file and reading that. Reads "SpecCal.txt" beside the image afterwards.
// On failure the messages tell why, the store, names included, is exactly as before, and no
// temporary file is left. Images of more than kMaxImagePixels pixels are refused.
bool OpenImage(const FileContext& context, ImageStore& image, Calibration& calibration, const std::string& path,
               Messages& messages);
bool OpenImage(ProgramState& state, const std::string& path, Messages& messages);

// After a successful OpenImage: the type name, value format and range texts; resets the
// inversion flags, display and data thresholds, zoom and regions for the new image.
// False (with "Error - unrecognized datatype") for a data type outside the table; the
// remaining steps are then skipped.
bool PrepareLoadedImage(ProgramState& state, Messages& messages);

// Writes the loaded image to a BMP, FITS or PGM file through its converter. On success the
// image is named by the saved file (folder, base name, extension).
bool SaveImage(const FileContext& context, ImageStore& image, const std::string& path, Messages& messages);
bool SaveImage(ProgramState& state, const std::string& path, Messages& messages);

// Writes a region-shaped buffer (its size, pixels, minimum and maximum; the store's pixel class)
// to a BMP, FITS or PGM file, with the store's data type code or the `dataType` given
// (regionSaveDataType gives one that holds a subtracted or added region). The loaded image keeps
// its name.
bool SaveRegionImage(const FileContext& context, const ImageStore& image, const RegionArray& region,
                     const std::string& path, Messages& messages);
bool SaveRegionImage(const FileContext& context, const ImageStore& image, const RegionArray& region,
                     std::int16_t dataType, const std::string& path, Messages& messages);
bool SaveRegionImage(ProgramState& state, const RegionArray& region, const std::string& path, Messages& messages);
bool SaveRegionImage(ProgramState& state, const RegionArray& region, std::int16_t dataType, const std::string& path,
                     Messages& messages);

// Saves a rendered picture: `picture` holds header.imageSize bytes, 4 per pixel (blue, green,
// red, unused), rows bottom-up. ".bmp" writes the bitmap at the path; ".fit", ".fts", ".fits"
// and ".pgm" convert it (bmp2ksv, then ksv2fit or ksv2pgm) so that only that file is written.
bool SaveDisplay(const FileContext& context, const BitmapInfoHeader& header, std::span<const std::uint8_t> picture,
                 const std::string& path, Messages& messages);
bool SaveDisplay(ProgramState& state, const BitmapInfoHeader& header, std::span<const std::uint8_t> picture,
                 const std::string& path, Messages& messages);

// Writes workFolder + "/Pic.Bmp" from a picture as above. False (with messages) on failure.
bool WriteDisplayBitmap(const std::string& workFolder, const BitmapInfoHeader& header,
                        std::span<const std::uint8_t> picture, Messages& messages);

// The 14-byte bitmap file header for a picture of imageSize bytes after a 40-byte info header.
std::array<unsigned char, 14> bitmapFileHeader(std::uint32_t imageSize);

}  // namespace kestrova
