// Fuzzes pgm2ksv's reading of a PGM header and raster, run in-process on the fuzzer's bytes.

#include <cstddef>
#include <cstdint>
#include <string>

#include "ConverterEntryPoints.h"
#include "ConverterHarness.h"
#include "KsvFormat.h"

namespace {

// Every KSV pixel is the PGM sample it came from, so the output holds only 8 or 16-bit values.
bool pgmOutputIsSound(const std::string&, const std::string& output)
{
    if (!fuzzing::isCompleteKsv(output))
        return false;
    const auto header = ksv::parseHeader(output.data(), output.size());
    const bool wide = header->dataType == static_cast<std::int16_t>(ksv::KsvDataType::UnsignedInt16);
    const bool narrow = header->dataType == static_cast<std::int16_t>(ksv::KsvDataType::UnsignedByte);
    if (!wide && !narrow)
        return false;
    return header->intMin >= 0 && header->intMax <= (wide ? 65535 : 255);
}

const fuzzing::Conversion kPgm2Ksv{"pgm2ksv", converters::pgm2ksv, true, "in.pgm", "out.ksv", pgmOutputIsSound};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzing::runConversion(kPgm2Ksv, data, size);
    return 0;
}
