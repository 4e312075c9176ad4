#include "gFileOrg.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "KsvFormat.h"
#include "LargeBuffer.h"
#include "NumberFormat.h"
#include "SafeOutput.h"
#include "gDataZoom.h"
#include "gFileCal.h"
#include "gFileConvert.h"

namespace kestrova {

namespace {

constexpr const char* kOpenFailed = "Error - when reading image from input file";
constexpr const char* kSaveFailed = "Error - when writing image to output file";
constexpr const char* kWrongInputExtension = "Error - input file does not have the extension .bmp, .fit, fts or .pgm";
constexpr const char* kWrongOutputExtension =
    "Error - output file does not have the extension .bmp, .fit, .fts .fits, or .pgm";
constexpr const char* kKsvOpenFailed = "Error - when opening temporary KSV file";
constexpr const char* kKsvCloseFailed = "Error - when closing temporary KSV file";
constexpr const char* kKsvReadFailed = "Error - when reading image from temporary KSV input fil";
constexpr const char* kKsvWriteFailed = "Error - when writing image from temporary KSV file";
constexpr const char* kKsvDeleteAfterOpenFailed = "Error - when deleting temporary KSV file";
constexpr const char* kKsvDeleteAfterSaveFailed = "Error - when deleting temporary KSV output file";

// Writes all bytes, resuming after partial writes and interruptions.
bool writeAll(int fd, const void* data, std::size_t size)
{
    const auto* p = static_cast<const unsigned char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, p, std::min<std::size_t>(size, 1u << 30));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Reads exactly `size` bytes from `offset`: normally one call straight into the destination.
bool readAllAt(int fd, void* data, std::size_t size, off_t offset)
{
    auto* p = static_cast<unsigned char*>(data);
    while (size > 0) {
        const ssize_t n = ::pread(fd, p, std::min<std::size_t>(size, 1u << 30), offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        offset += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool closeChecked(int fd) { return ::close(fd) == 0 || errno == EINTR; }

// Creates a fresh file for writing: a file (or link) of that name is removed first, and a link
// planted in its place in the meantime is not followed.
int createFresh(const std::string& path)
{
    ::unlink(path.c_str());
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
}

// An image read from the temporary KSV file, not yet in the store.
struct LoadedImage {
    ksv::KsvHeader header;
    std::vector<std::int32_t> intPixels;
    std::vector<float> floatPixels;
};

// Header fields as the main program reads them: the first line is the magic and is not checked.
std::optional<ksv::KsvHeader> parseHeaderUnchecked(const char* bytes, std::size_t length)
{
    std::string copy(bytes, length);
    if (copy.size() < 5)
        return std::nullopt;
    copy.replace(0, 5, "KSV V");
    return ksv::parseHeader(copy.data(), copy.size());
}

template <typename T>
bool readPixelBlock(int fd, std::vector<T>& pixels, std::size_t count)
{
    try {
        resizeLargeBuffer(pixels, count);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return readAllAt(fd, pixels.data(), count * sizeof(T), ksv::kPixelOffset);
}

bool readTemporaryKsv(const std::string& path, LoadedImage& image, Messages& messages)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        messages.push_back(kOpenFailed);  // the converter reported success but left no file
        return false;
    }
    auto fail = [&](const char* message) {
        messages.push_back(message);
        if (!closeChecked(fd))
            messages.push_back(kKsvCloseFailed);
        return false;
    };

    char headerBytes[ksv::kPixelOffset];
    ssize_t headerLength = 0;
    do {
        headerLength = ::pread(fd, headerBytes, sizeof headerBytes, 0);
    } while (headerLength < 0 && errno == EINTR);
    const auto header =
        headerLength > 0 ? parseHeaderUnchecked(headerBytes, static_cast<std::size_t>(headerLength)) : std::nullopt;
    if (!header || header->pixelCount() > static_cast<std::uint64_t>(kMaxImagePixels))
        return fail(kOpenFailed);
    image.header = *header;

    // A short file cannot hold the block that the header announces.
    struct stat info {};
    if (::fstat(fd, &info) != 0 || static_cast<std::uint64_t>(info.st_size) < header->fileBytes())
        return fail(kKsvReadFailed);

    const auto count = static_cast<std::size_t>(header->pixelCount());
    const bool read = header->isFloat() ? readPixelBlock(fd, image.floatPixels, count)
                                        : readPixelBlock(fd, image.intPixels, count);
    if (!read)
        return fail(kKsvReadFailed);
    if (!closeChecked(fd)) {
        messages.push_back(kKsvCloseFailed);
        return false;
    }
    if (::unlink(path.c_str()) != 0) {
        messages.push_back(kKsvDeleteAfterOpenFailed);
        return false;
    }
    return true;
}

void storeLoadedImage(ImageStore& store, LoadedImage& loaded, const PathParts& parts)
{
    const ksv::KsvHeader& h = loaded.header;
    store.width = h.width;
    store.height = h.height;
    store.dataType = h.dataType;
    store.isFloat = h.isFloat();
    // Only the array of the pixel class is kept; the other is released.
    store.intPixels.swap(loaded.intPixels);
    store.floatPixels.swap(loaded.floatPixels);
    store.intMin = h.intMin;
    store.intMax = h.intMax;
    store.floatMin = h.floatMin;
    store.floatMax = h.floatMax;
    const bool hasRange = store.isFloat ? store.floatMin != store.floatMax : store.intMin != store.intMax;
    store.thresholdsAllowed = hasRange;
    store.analysisAllowed = hasRange;
    store.dibHeader = BitmapInfoHeader::forPicture(h.width, h.height);
    store.imageFolder = parts.folder;
    store.imageBaseName = parts.baseName;
    store.imageExtension = parts.extension;
}

// Writes the temporary KSV file: the header text padded with zeros to 256 bytes, then the
// pixel block in one write.
bool writeTemporaryKsv(const std::string& path, const ksv::KsvHeader& header, const void* pixels,
                       Messages& messages)
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

// Runs the converter between the temporary KSV file and the user's file, which also names the
// converter's error file. A failure the converter did not explain adds unexplained.
bool runConverter(const ProgramState& state, ConvertDirection direction, const std::string& converter,
                  const std::string& ksvPath, const std::string& path, const char* unexplained, Messages& messages)
{
    const PathParts parts = SplitImagePath(path);
    ConvertRequest request;
    request.direction = direction;
    request.program = converterProgram(state.converterFolder, converter);
    request.ksvFile = ksvPath;
    request.userFile = path;
    request.errorFile = errorFilePath(parts.folder, parts.baseName);
    const ConvertResult result = Convert(request, messages);
    if (result == ConvertResult::UnknownFailure)
        messages.push_back(unexplained);
    return result == ConvertResult::Success;
}

// Writes the pixels through the KSV file and the converter for the path's extension.
bool saveThroughConverter(ProgramState& state, const ksv::KsvHeader& header, const void* pixels,
                          const std::string& path, Messages& messages)
{
    const PathParts parts = SplitImagePath(path);
    const std::string converter = converterForSaving(parts.extension);
    if (converter.empty()) {
        messages.push_back(kWrongOutputExtension);
        return false;
    }
    const std::string ksvPath = temporaryKsvPath(state.workFolder);
    if (!writeTemporaryKsv(ksvPath, header, pixels, messages))
        return false;

    if (!runConverter(state, ConvertDirection::FromKsv, converter, ksvPath, path, kSaveFailed, messages))
        return false;
    if (::unlink(ksvPath.c_str()) != 0) {
        messages.push_back(kKsvDeleteAfterSaveFailed);
        return false;
    }
    return true;
}

// Writes a buffer held like the image store (size, minimum, maximum, pixels) in the loaded image's
// data type; one that does not hold a whole picture of the image's pixel class is refused.
template <class Pixels>
bool savePixels(ProgramState& state, const Pixels& source, const std::string& path, Messages& messages)
{
    const ImageStore& image = state.image;
    ksv::KsvHeader header;
    header.dataType = image.dataType;
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
    return saveThroughConverter(state, header, pixels, path, messages);
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

PathParts SplitImagePath(std::string_view path)
{
    PathParts parts;
    const auto slash = path.find_last_of('/');
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    parts.folder = std::string(path.substr(0, nameStart));
    const std::string_view name = path.substr(nameStart);
    const auto dot = name.find_last_of('.');
    if (dot == std::string_view::npos) {
        parts.baseName = std::string(name);
        return parts;
    }
    parts.baseName = std::string(name.substr(0, dot));
    parts.extension = std::string(name.substr(dot));
    for (char& c : parts.extension) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return parts;
}

const char* dataTypeNameOf(int dataType)
{
    switch (dataType) {
    case 8: return "Unsigned byte";
    case 10: return "Signed byte";
    case 16: return "Signed integer (16 bit)";
    case 20: return "Unsigned integer (16 bit)";
    case 32: return "Signed integer (32 bit)";
    case 40: return "Unsigned integer (32 bit)";
    case 64: return "Signed integer (64 bit)";
    case -32: return "Single precision floating point";
    case -64: return "Double precision floating point";
    default: return nullptr;
    }
}

const char* valueFormatOf(int dataType, double largestMagnitude)
{
    const double m = largestMagnitude;
    switch (dataType) {
    case 8:
    case 10:
        return "##0";
    case 16:
    case 20:
        return "####0";
    case 32:
    case 40:
    case 64:
        return m < 100000.0 ? "####0" : "#####E+#";
    case -32:
    case -64:
        if (m >= 100000.0)
            return "#####E+###";
        if (m >= 10000.0)
            return "####0";
        if (m >= 1000.0)
            return "###0.0";
        if (m >= 100.0)
            return "##0.00";
        if (m >= 10.0)
            return "#0.000";
        if (m >= 1.0)
            return "0.0000";
        return "#####E+###";  // below 1, and a range that is not a number
    default:
        return nullptr;
    }
}

bool OpenImage(ProgramState& state, const std::string& path, Messages& messages)
{
    const PathParts parts = SplitImagePath(path);
    const std::string converter = converterForOpening(parts.extension);
    if (converter.empty()) {
        messages.push_back(kWrongInputExtension);
        return false;
    }

    const std::string ksvPath = temporaryKsvPath(state.workFolder);
    ::unlink(ksvPath.c_str());  // never mistake an old file for the converter's output
    if (!runConverter(state, ConvertDirection::ToKsv, converter, ksvPath, path, kOpenFailed, messages))
        return false;

    // Read into new buffers; the store changes only once the whole image is in memory.
    LoadedImage loaded;
    if (!readTemporaryKsv(ksvPath, loaded, messages))
        return false;
    storeLoadedImage(state.image, loaded, parts);
    ReadCalibration(state.calibration, parts.folder + kCalibrationFileName, state.image.width, messages);
    return true;
}

bool PrepareLoadedImage(ProgramState& state, Messages& messages)
{
    ImageStore& image = state.image;
    const double largest = image.isFloat
                               ? std::max(std::fabs(static_cast<double>(image.floatMin)),
                                          std::fabs(static_cast<double>(image.floatMax)))
                               : std::max(std::fabs(static_cast<double>(image.intMin)),
                                          std::fabs(static_cast<double>(image.intMax)));
    const char* format = valueFormatOf(image.dataType, largest);
    if (format == nullptr) {
        messages.push_back("Error - unrecognized datatype");
        return false;
    }
    image.valueFormat = format;
    image.dataTypeName = dataTypeNameOf(image.dataType);

    state.inversion.invertDisplay = false;
    state.inversion.invertIntensity = false;
    state.inversion.regionInvertDisplay = false;

    image.minText = image.isFloat ? formatNumber(image.floatMin, image.valueFormat)
                                  : formatNumber(image.intMin, image.valueFormat);
    image.maxText = image.isFloat ? formatNumber(image.floatMax, image.valueFormat)
                                  : formatNumber(image.intMax, image.valueFormat);

    auto seedDisplay = [](ThresholdSide& side, const std::string& text, std::int32_t i, float f) {
        side.on = false;
        side.valueText = text;
        side.intValue = i;
        side.floatValue = f;
    };
    seedDisplay(state.displayThresholds.lower, image.minText, image.intMin, image.floatMin);
    seedDisplay(state.displayThresholds.upper, image.maxText, image.intMax, image.floatMax);
    auto seedData = [](DataThresholdSide& side, const std::string& text, std::int32_t i, float f) {
        side.on = false;
        side.text = text;
        side.intValue = i;
        side.floatValue = f;
    };
    seedData(state.dataThresholds.lower, image.minText, image.intMin, image.floatMin);
    seedData(state.dataThresholds.upper, image.maxText, image.intMax, image.floatMax);

    state.zoom.baseScale = baseScaleFor(image.width, image.height);
    state.zoom.zoomText = "100";
    state.zoom.regionZoomText = "100";

    resetRegions(state.roi, state.resultFlags, image.width, image.height);
    return true;
}

bool SaveImage(ProgramState& state, const std::string& path, Messages& messages)
{
    if (!savePixels(state, state.image, path, messages))
        return false;
    // After a save the image is named by the saved file.
    const PathParts parts = SplitImagePath(path);
    state.image.imageFolder = parts.folder;
    state.image.imageBaseName = parts.baseName;
    state.image.imageExtension = parts.extension;
    return true;
}

bool SaveRegionImage(ProgramState& state, const RegionArray& region, const std::string& path, Messages& messages)
{
    return savePixels(state, region, path, messages);
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

bool SaveDisplay(ProgramState& state, const BitmapInfoHeader& header, std::span<const std::uint8_t> picture,
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
    const std::string bitmapPath = state.workFolder + "/Tmp.bmp";
    const std::string ksvPath = temporaryKsvPath(state.workFolder);
    ::unlink(bitmapPath.c_str());
    if (!writeBitmapFile(bitmapPath, header, picture)) {
        messages.push_back(kSaveFailed);
        return false;
    }
    ::unlink(ksvPath.c_str());
    const std::string errorFile = errorFilePath(state.image.imageFolder, state.image.imageBaseName);
    ConvertRequest toKsv{ConvertDirection::ToKsv, converterProgram(state.converterFolder, "bmp2ksv"), ksvPath,
                         bitmapPath, errorFile};
    ConvertResult result = Convert(toKsv, messages);
    if (result == ConvertResult::Success) {
        ConvertRequest fromKsv{ConvertDirection::FromKsv, converterProgram(state.converterFolder, toFormat),
                               ksvPath, path, errorFile};
        result = Convert(fromKsv, messages);
    }
    ::unlink(bitmapPath.c_str());
    if (result == ConvertResult::UnknownFailure)
        messages.push_back(kSaveFailed);
    if (result != ConvertResult::Success)
        return false;
    if (::unlink(ksvPath.c_str()) != 0) {
        messages.push_back(kKsvDeleteAfterSaveFailed);
        return false;
    }
    return true;
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
