#include "FitsSupport.h"

namespace ksv {

std::string fitsReport(int status)
{
    if (status == 0)
        return {};
    char statusText[FLEN_STATUS] = {};
    fits_get_errstatus(status, statusText);
    std::string text = "\nFITSIO status = " + std::to_string(status) + ": " + statusText + "\n";
    char message[FLEN_ERRMSG] = {};
    while (fits_read_errmsg(message) != 0) {
        text += message;
        text += '\n';
    }
    return text;
}

void failFits(int code, int status)
{
    fail(code, fitsReport(status));
}

std::string fitsDiskName(const std::string& path)
{
    if (path.empty() || path.front() == '/')
        return path;
    return "./" + path;
}

void closeAtCleanup(ConverterRun& run, fitsfile* fits, int closeCode, bool outputSide)
{
    run.atCleanup(
        [fits](std::string& report) {
            int status = 0;
            if (fits_close_file(fits, &status) <= 0)
                return true;
            report = fitsReport(status);
            return false;
        },
        closeCode, outputSide);
}

}  // namespace ksv
