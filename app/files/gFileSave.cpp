#include "gFileOrg.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

#include "KsvFormat.h"
#include "SafeOutput.h"
#include "gFileConvert.h"
#include "gFileTemporary.h"

namespace kestrova {

namespace {

constexpr const char* kSaveFailed = "Error - when writing image to output file";
constexpr const char* kWrongOutputExtension =
    "Error - output file does not have the extension .bmp, .fit, .fts .fits, or .pgm";
constexpr const char* kKsvOpenFailed = "Error - when opening temporary KSV file";
constexpr const char* kKsvCloseFailed = "Error - when closing temporary KSV file";
constexpr const char* kKsvWriteFailed = "Error - when writing image from temporary KSV file";
constexpr const char* kKsvDeleteAfterSaveFailed = "Error - when deleting temporary KSV output file";

// Writes the temporary KSV file: the header text padded with zeros to 256 bytes, then the
// pixel block in one write.
bool writeTemporaryKsv(const std::string& path, const ksv::KsvHeader& header, const void* pixels, Messages& messages)
{
    const int fd = createFresh(path);
    if (fd < 0) {
        messages.push_back(kKsvOpenFailed);
        return false;
    }
    std::vector<char> headerBlock(static_cast<std::size_t>(ksv::kPixelOffset), '\0');
    const std::string text = ksv::headerText(header);
    std::copy(text.begin(), text.end(), headerBlock.begin());
    const auto bytes = static_cast<std::size_t>(header.pixelBytes());
    const char* failure = nullptr;
    if (!writeAll(fd, headerBlock.data(), headerBlock.size()))
        failure = kSaveFailed;
    else if (!writeAll(fd, pixels, bytes))
        failure = kKsvWriteFailed;
    if (failure != nullptr) {
        messages.push_back(failure);
        if (!closeChecked(fd))
            messages.push_back(kKsvCloseFailed);
        return false;
    }
    if (!closeChecked(fd)) {
        messages.push_back(kKsvCloseFailed);
        return false;
    }
    return true;
}

// Writes the pixels through the KSV file and the converter for the path's extension.
bool saveThroughConverter(const FileContext& context, const ksv::KsvHeader& header, const void* pixels,
                          const std::string& path, Messages& messages)
{
    const PathParts parts = SplitImagePath(path);
    const std::string converter = converterForSaving(parts.extension);
    if (converter.empty()) {
        messages.push_back(kWrongOutputExtension);
        return false;
    }
    const std::string ksvPath = temporaryKsvPath(context.workFolder);
    if (!writeTemporaryKsv(ksvPath, header, pixels, messages) ||
        !runConverter(context, ConvertDirection::FromKsv, converter, ksvPath, path, kSaveFailed, messages)) {
        ::unlink(ksvPath.c_str());
        return false;
    }
    if (::unlink(ksvPath.c_str()) != 0) {
        messages.push_back(kKsvDeleteAfterSaveFailed);
        return false;
    }
    return true;
}

// Writes a buffer held like the image store (size, minimum, maximum, pixels) with the data type
// code `dataType` of the loaded image's pixel class; one that does not hold a whole picture of
// that class is refused.
template <class Pixels>
bool savePixels(const FileContext& context, const ImageStore& image, const Pixels& source, std::int16_t dataType,
                const std::string& path, Messages& messages)
{
    ksv::KsvHeader header;
    header.dataType = dataType;
    header.width = source.width;
    header.height = source.height;
    header.intMin = source.intMin;
    header.intMax = source.intMax;
    header.floatMin = source.floatMin;
    header.floatMax = source.floatMax;
    const std::size_t held = image.isFloat ? source.floatPixels.size() : source.intPixels.size();
    if (header.isFloat() != image.isFloat || held < header.pixelCount() || header.pixelCount() == 0) {
        if (converterForSaving(SplitImagePath(path).extension).empty())
            messages.push_back(kWrongOutputExtension);
        else
            messages.push_back(kSaveFailed);
        return false;
    }
    const void* pixels = image.isFloat ? static_cast<const void*>(source.floatPixels.data())
                                       : static_cast<const void*>(source.intPixels.data());
    return saveThroughConverter(context, header, pixels, path, messages);
}

bool pictureMatches(const BitmapInfoHeader& header, std::span<const std::uint8_t> picture)
{
    return header.width > 0 && header.height > 0 &&
           static_cast<std::uint64_t>(header.imageSize) ==
               static_cast<std::uint64_t>(header.width) * 4u * static_cast<std::uint64_t>(header.height) &&
           picture.size() >= header.imageSize;
}

bool writeBitmapFile(const std::string& path, const BitmapInfoHeader& header, std::span<const std::uint8_t> picture)
{
    ksv::SafeOutput output;
    if (!output.create(path))
        return false;
    const auto fileHeader = bitmapFileHeader(header.imageSize);
    const auto infoHeader = header.bytes();
    std::FILE* f = output.stream();
    if (std::fwrite(fileHeader.data(), 1, fileHeader.size(), f) != fileHeader.size() ||
        std::fwrite(infoHeader.data(), 1, infoHeader.size(), f) != infoHeader.size() ||
        std::fwrite(picture.data(), 1, header.imageSize, f) != header.imageSize) {
        output.abandon();
        return false;
    }
    return output.commit();
}

}  // namespace

bool SaveImage(const FileContext& context, ImageStore& image, const std::string& path, Messages& messages)
{
    if (!savePixels(context, image, image, image.dataType, path, messages))
        return false;
    // After a save the image is named by the saved file.
    const PathParts parts = SplitImagePath(path);
    image.imageFolder = parts.folder;
    image.imageBaseName = parts.baseName;
    image.imageExtension = parts.extension;
    return true;
}

bool SaveImage(ProgramState& state, const std::string& path, Messages& messages)
{
    return SaveImage(fileContextOf(state), state.image, path, messages);
}

bool SaveRegionImage(const FileContext& context, const ImageStore& image, const RegionArray& region,
                     const std::string& path, Messages& messages)
{
    return savePixels(context, image, region, image.dataType, path, messages);
}

bool SaveRegionImage(const FileContext& context, const ImageStore& image, const RegionArray& region,
                     std::int16_t dataType, const std::string& path, Messages& messages)
{
    return savePixels(context, image, region, dataType, path, messages);
}

bool SaveRegionImage(ProgramState& state, const RegionArray& region, const std::string& path, Messages& messages)
{
    return SaveRegionImage(fileContextOf(state), state.image, region, path, messages);
}

bool SaveRegionImage(ProgramState& state, const RegionArray& region, std::int16_t dataType, const std::string& path,
                     Messages& messages)
{
    return SaveRegionImage(fileContextOf(state), state.image, region, dataType, path, messages);
}

std::array<unsigned char, 14> bitmapFileHeader(std::uint32_t imageSize)
{
    std::array<unsigned char, 14> b{};
    b[0] = 0x42;
    b[1] = 0x4D;
    const std::uint32_t fileSize = imageSize + 54u;
    for (int i = 0; i < 4; ++i) {
        b[2 + static_cast<std::size_t>(i)] = static_cast<unsigned char>(fileSize >> (8 * i));
        b[10 + static_cast<std::size_t>(i)] = static_cast<unsigned char>(54u >> (8 * i));
    }
    return b;
}

bool SaveDisplay(const FileContext& context, const BitmapInfoHeader& header, std::span<const std::uint8_t> picture,
                 const std::string& path, Messages& messages)
{
    const PathParts parts = SplitImagePath(path);
    const std::string toFormat = converterForSaving(parts.extension);
    if (toFormat.empty()) {
        messages.push_back(kWrongOutputExtension);
        return false;
    }
    if (!pictureMatches(header, picture)) {
        messages.push_back(kSaveFailed);
        return false;
    }
    if (parts.extension == ".bmp") {
        if (!writeBitmapFile(path, header, picture)) {
            messages.push_back(kSaveFailed);
            return false;
        }
        return true;
    }

    // FITS and PGM: the bitmap goes through the work folder, so that nothing but the finished
    // file ever appears at the path.
    const std::string bitmapPath = context.workFolder + "/Tmp.bmp";
    const std::string ksvPath = temporaryKsvPath(context.workFolder);
    ::unlink(bitmapPath.c_str());
    if (!writeBitmapFile(bitmapPath, header, picture)) {
        ::unlink(bitmapPath.c_str());
        messages.push_back(kSaveFailed);
        return false;
    }
    ::unlink(ksvPath.c_str());
    const bool converted =
        runConverter(context, ConvertDirection::ToKsv, "bmp2ksv", ksvPath, bitmapPath, kSaveFailed, messages, path) &&
        runConverter(context, ConvertDirection::FromKsv, toFormat, ksvPath, path, kSaveFailed, messages);
    ::unlink(bitmapPath.c_str());
    if (!converted) {
        ::unlink(ksvPath.c_str());
        return false;
    }
    if (::unlink(ksvPath.c_str()) != 0) {
        messages.push_back(kKsvDeleteAfterSaveFailed);
        return false;
    }
    return true;
}

bool SaveDisplay(ProgramState& state, const BitmapInfoHeader& header, std::span<const std::uint8_t> picture,
                 const std::string& path, Messages& messages)
{
    return SaveDisplay(fileContextOf(state), header, picture, path, messages);
}

bool WriteDisplayBitmap(const std::string& workFolder, const BitmapInfoHeader& header,
                        std::span<const std::uint8_t> picture, Messages& messages)
{
    const std::string path = temporaryBitmapPath(workFolder);
    const int fd = createFresh(path);
    if (fd < 0) {
        messages.push_back("Error - when opening temporary Bmp file");
        return false;
    }
    const auto fileHeader = bitmapFileHeader(header.imageSize);
    const auto infoHeader = header.bytes();
    const char* failure = nullptr;
    if (!writeAll(fd, fileHeader.data(), fileHeader.size()))
        failure = "Error - when writing file header to temporary Bmp file";
    else if (!writeAll(fd, infoHeader.data(), infoHeader.size()))
        failure = "Error - when writing info header to temporary Bmp file";
    else if (!pictureMatches(header, picture) || !writeAll(fd, picture.data(), header.imageSize))
        failure = "Error - when writing image to temporary Bmp file";
    if (failure != nullptr) {
        messages.push_back(failure);
        if (!closeChecked(fd))
            messages.push_back("Error - when closing temporary Bmp file");
        return false;
    }
    if (!closeChecked(fd)) {
        messages.push_back("Error - when closing temporary Bmp file");
        return false;
    }
    return true;
}

}  // namespace kestrova
