// Fuzzes fit2ksv's reading of a FITS file through the FITS library: the fuzzer's bytes are
// written to a file and converted in-process.

#include <cstddef>
#include <cstdint>
#include <string>

#include "ConverterEntryPoints.h"
#include "ConverterHarness.h"
#include "KsvFormat.h"

namespace {

bool isKsvCode(int code)
{
    for (const int known : {8, 10, 16, 20, 32, 40, 64, -32, -64})
        if (code == known)
            return true;
    return false;
}

bool fitsOutputIsSound(const std::string&, const std::string& output)
{
    if (!fuzzing::isCompleteKsv(output))
        return false;
    return isKsvCode(ksv::parseHeader(output.data(), output.size())->dataType);
}

const fuzzing::Conversion kFit2Ksv{"fit2ksv", converters::fit2ksv, true, "in.fits", "out.ksv", fitsOutputIsSound};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzing::runConversion(kFit2Ksv, data, size);
    return 0;
}
