#include "InProcessConverters.h"

#include <string_view>

#include "ConverterEntryPoints.h"

namespace kestrova::batch {

std::optional<int> runConverterInProcess(const std::string& name)
{
    struct Entry {
        std::string_view name;
        int (*run)(int, char**);
    };
    static constexpr Entry kConverters[] = {
        {"fit2ksv", converters::fit2ksv}, {"ksv2fit", converters::ksv2fit}, {"bmp2ksv", converters::bmp2ksv},
        {"ksv2bmp", converters::ksv2bmp}, {"pgm2ksv", converters::pgm2ksv}, {"ksv2pgm", converters::ksv2pgm},
    };
    for (const Entry& entry : kConverters) {
        if (entry.name != name)
            continue;
        std::string argument0 = name;
        char* argv[] = {argument0.data(), nullptr};
        return entry.run(1, argv);
    }
    return std::nullopt;
}

}  // namespace kestrova::batch
