// Fuzzes bmp2ksv's reading of a bitmap's file header, information header and raster, run
// in-process on the fuzzer's bytes.

#include <cstddef>
#include <cstdint>
#include <string>

#include "ConverterEntryPoints.h"
#include "ConverterHarness.h"
#include "KsvFormat.h"

namespace {

// Grey values of blue, green and red bytes: code 8, range within 0 to 255.
bool bmpOutputIsSound(const std::string&, const std::string& output)
{
    if (!fuzzing::isCompleteKsv(output))
        return false;
    const auto header = ksv::parseHeader(output.data(), output.size());
    return header->dataType == static_cast<std::int16_t>(ksv::KsvDataType::UnsignedByte) && header->intMin >= 0 &&
           header->intMax <= 255;
}

const fuzzing::Conversion kBmp2Ksv{"bmp2ksv", converters::bmp2ksv, true, "in.bmp", "out.ksv", bmpOutputIsSound};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzing::runConversion(kBmp2Ksv, data, size);
    return 0;
}
