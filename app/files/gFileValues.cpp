#include "gFileValues.h"

#include <cctype>
#include <cstdio>

#include "CLocaleText.h"
#include "SafeOutput.h"

namespace kestrova {

namespace {

void appendLine(std::string& text, const std::string& position, const std::string& value)
{
    text += position;
    text += ',';
    text += value;
    text += "\r\n";
}

}  // namespace

std::string ProjectionValuesText(const Projection& projection, bool mean, const std::vector<float>* wavelengths)
{
    std::string text;
    text.reserve(static_cast<std::size_t>(projection.count()) * 28);
    for (std::int32_t x = projection.first; x <= projection.last(); ++x) {
        const auto entry = static_cast<std::size_t>(x - 1);
        const std::string position = wavelengths && entry < wavelengths->size()
                                         ? printfGeneral(static_cast<double>((*wavelengths)[entry]), 7)
                                         : std::to_string(x);
        appendLine(text, position, printfGeneral(projection.valueAt(x, mean), 15));
    }
    return text;
}

std::string CountValuesText(std::int32_t firstPosition, const std::vector<std::int32_t>& counts)
{
    std::string text;
    for (std::size_t i = 0; i < counts.size(); ++i)
        appendLine(text, std::to_string(static_cast<std::int64_t>(firstPosition) + static_cast<std::int64_t>(i)),
                   std::to_string(counts[i]));
    return text;
}

bool IsValuesFileName(std::string_view path)
{
    const auto slash = path.find_last_of("/\\");
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const auto dot = name.rfind('.');
    const std::string_view extension = dot == std::string_view::npos ? name : name.substr(dot);
    if (name.size() <= extension.size() || extension.size() != 4)
        return false;
    std::string lower;
    for (const char c : extension)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower == ".csv";
}

bool WriteValuesFile(const std::string& path, std::string_view text, Messages& messages)
{
    ksv::SafeOutput output;
    const bool written = output.create(path) &&
                         std::fwrite(text.data(), 1, text.size(), output.stream()) == text.size() && output.commit();
    if (written)
        return true;
    output.abandon();
    messages.push_back(kValuesWriteFailed);
    return false;
}

}  // namespace kestrova
