#include "gFileCal.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <string_view>
#include <sys/stat.h>
#include <vector>

#include "NumberFormat.h"
#include "RegularFile.h"

namespace kestrova {

namespace {

// A first line longer than this is not a calibration: the read gives up without a message,
// as for any other unreadable file.
constexpr std::size_t kLongestLine = 65536;

bool isAllowed(int c)
{
    return (c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-' || c == 'E' || c == ' ' || c == ',';
}

enum class LineScan { Ok, UnexpectedCharacter, Unreadable };

// The first line, up to its end (carriage return, line feed, or both) or the end of the file.
LineScan scanFirstLine(const std::string& path, std::string& line)
{
    std::FILE* file = openRegularStream(path);  // never waits on a FIFO or reads a device
    if (file == nullptr)
        return LineScan::Unreadable;
    LineScan result = LineScan::Ok;
    for (;;) {
        const int c = std::fgetc(file);
        if (c == EOF) {
            if (std::ferror(file))
                result = LineScan::Unreadable;
            break;
        }
        if (c == '\r' || c == '\n')
            break;
        if (!isAllowed(c)) {
            result = LineScan::UnexpectedCharacter;
            break;
        }
        if (line.size() >= kLongestLine) {
            result = LineScan::Unreadable;
            break;
        }
        line += static_cast<char>(c);
    }
    std::fclose(file);
    return result;
}

std::vector<std::string_view> splitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const auto comma = line.find(',', start);
        fields.push_back(line.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (comma == std::string_view::npos)
            return fields;
        start = comma + 1;
    }
}

enum class FieldValue { Ok, NotNumeric, Unreadable };

FieldValue fieldValue(std::string_view field, float& value)
{
    if (!isNumeric(field))
        return FieldValue::NotNumeric;
    const auto number = numericValue(field);
    if (!number || std::fabs(*number) > static_cast<double>(std::numeric_limits<float>::max()))
        return FieldValue::Unreadable;
    value = static_cast<float>(*number);
    return FieldValue::Ok;
}

}  // namespace

float wavelengthOf(const Calibration& calibration, std::int32_t column)
{
    const double x = column;
    const double a = calibration.offset;
    const double c1 = calibration.coefficients[0];
    const double c2 = calibration.coefficients[1];
    const double c3 = calibration.coefficients[2];
    const double c4 = calibration.coefficients[3];
    return static_cast<float>(((c2 * x * x + (c1 * x + a)) + c3 * x * x * x) + c4 * x * x * x * x);
}

void ReadCalibration(Calibration& calibration, const std::string& path, std::int32_t width, Messages& messages)
{
    calibration.calibrationLoaded = false;
    calibration.WavelengthUnits = false;
    calibration.offset = 0.0f;
    calibration.coefficients = {1.0f, 0.0f, 0.0f, 0.0f};
    calibration.wavelengths.clear();

    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || info.st_size == 0)
        return;

    std::string line;
    const LineScan scan = scanFirstLine(path, line);
    if (scan == LineScan::Unreadable)
        return;
    if (scan == LineScan::UnexpectedCharacter) {
        messages.push_back("Error - format error (unexpected character(s) in calibration file (SpecCal.txt)");
        return;
    }
    const std::vector<std::string_view> fields = splitFields(line);
    const std::size_t commas = fields.size() - 1;
    if (commas < 1 || commas > 4) {
        messages.push_back("Error - format error (incorrect number of commas in calibration file (SpecCal.txt)");
        return;
    }

    for (std::size_t i = 0; i < fields.size(); ++i) {
        float value = 0.0f;
        const FieldValue result = fieldValue(fields[i], value);
        if (result == FieldValue::NotNumeric) {
            messages.push_back("Error - format error (non numeric characters in calibration file (SpecCal.txt)");
            return;
        }
        if (result == FieldValue::Unreadable)
            return;
        if (i == 0)
            calibration.offset = value;
        else
            calibration.coefficients[i - 1] = value;
    }

    calibration.calibrationLoaded = true;
    calibration.WavelengthUnits = true;
    calibration.wavelengths.resize(width > 0 ? static_cast<std::size_t>(width) : 0);
    for (std::int32_t x = 1; x <= width; ++x)
        calibration.wavelengths[static_cast<std::size_t>(x - 1)] = wavelengthOf(calibration, x);
}

}  // namespace kestrova
