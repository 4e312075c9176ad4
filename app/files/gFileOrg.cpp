#include "gFileOrg.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <new>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "KsvFormat.h"
#include "LargeBuffer.h"
#include "NumberFormat.h"
#include "RegularFile.h"
#include "gDataZoom.h"
#include "gFileCal.h"
#include "gFileConvert.h"
#include "gFileTemporary.h"

namespace kestrova {

namespace {

constexpr const char* kOpenFailed = "Error - when reading image from input file";
constexpr const char* kWrongInputExtension = "Error - input file does not have the extension .bmp, .fit, fts or .pgm";
constexpr const char* kKsvCloseFailed = "Error - when closing temporary KSV file";
constexpr const char* kKsvReadFailed = "Error - when reading image from temporary KSV input fil";
constexpr const char* kKsvDeleteAfterOpenFailed = "Error - when deleting temporary KSV file";

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
    // Only the regular file that the converter wrote, never a link, FIFO or device.
    const int fd = openRegularFile(path, false);
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
    const bool read =
        header->isFloat() ? readPixelBlock(fd, image.floatPixels, count) : readPixelBlock(fd, image.intPixels, count);
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

}  // namespace

FileContext fileContextOf(const ProgramState& state)
{
    return FileContext{state.workFolder, state.converterFolder, state.settingsFolder};
}

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
    case 8:
        return "Unsigned byte";
    case 10:
        return "Signed byte";
    case 16:
        return "Signed integer (16 bit)";
    case 20:
        return "Unsigned integer (16 bit)";
    case 32:
        return "Signed integer (32 bit)";
    case 40:
        return "Unsigned integer (32 bit)";
    case 64:
        return "Signed integer (64 bit)";
    case -32:
        return "Single precision floating point";
    case -64:
        return "Double precision floating point";
    default:
        return nullptr;
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

bool OpenImage(const FileContext& context, ImageStore& image, Calibration& calibration, const std::string& path,
               Messages& messages)
{
    const PathParts parts = SplitImagePath(path);
    const std::string converter = converterForOpening(parts.extension);
    if (converter.empty()) {
        messages.push_back(kWrongInputExtension);
        return false;
    }

    const std::string ksvPath = temporaryKsvPath(context.workFolder);
    ::unlink(ksvPath.c_str());  // never mistake an old file for the converter's output
    // Read into new buffers; the store changes only once the whole image is in memory.
    LoadedImage loaded;
    if (!runConverter(context, ConvertDirection::ToKsv, converter, ksvPath, path, kOpenFailed, messages) ||
        !readTemporaryKsv(ksvPath, loaded, messages)) {
        ::unlink(ksvPath.c_str());  // a refused or failed open leaves nothing behind
        return false;
    }
    storeLoadedImage(image, loaded, parts);
    ReadCalibration(calibration, parts.folder + kCalibrationFileName, image.width, messages);
    return true;
}

bool OpenImage(ProgramState& state, const std::string& path, Messages& messages)
{
    return OpenImage(fileContextOf(state), state.image, state.calibration, path, messages);
}

bool PrepareLoadedImage(ProgramState& state, Messages& messages)
{
    ImageStore& image = state.image;
    const double largest =
        image.isFloat
            ? std::max(std::fabs(static_cast<double>(image.floatMin)), std::fabs(static_cast<double>(image.floatMax)))
            : std::max(std::fabs(static_cast<double>(image.intMin)), std::fabs(static_cast<double>(image.intMax)));
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

    image.minText =
        image.isFloat ? formatNumber(image.floatMin, image.valueFormat) : formatNumber(image.intMin, image.valueFormat);
    image.maxText =
        image.isFloat ? formatNumber(image.floatMax, image.valueFormat) : formatNumber(image.intMax, image.valueFormat);

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

}  // namespace kestrova
