#include "CentroidTable.h"

#include "CLocaleText.h"

namespace kestrova::batch {

std::string csvField(std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string centroidTableLine(const std::string& image, const CentroidLine& line)
{
    std::string text = csvField(image);
    text += ',' + printfGeneral(line.x, 15);
    text += ',' + printfGeneral(line.y, 15);
    text += ',';
    if (line.wavelength)
        text += printfGeneral(static_cast<double>(*line.wavelength), 7);
    text += ',' + std::to_string(line.area);
    text += "\r\n";
    return text;
}

}  // namespace kestrova::batch
