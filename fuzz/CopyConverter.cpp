// A stand-in to-KSV converter for the main program's KSV reader harness: it copies the file
// named by HLV_INFN to HLV_KSVOUTFN unchanged, so that the fuzzer's bytes become the
// temporary KSV file that the main program reads.

#include <cstdio>
#include <cstdlib>

int main()
{
    const char* from = std::getenv("HLV_INFN");
    const char* to = std::getenv("HLV_KSVOUTFN");
    if (from == nullptr || to == nullptr)
        return 41;
    std::FILE* in = std::fopen(from, "rb");
    std::FILE* out = std::fopen(to, "wb");
    if (in == nullptr || out == nullptr)
        return 43;
    char buffer[65536];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
        if (std::fwrite(buffer, 1, n, out) != n)
            return 46;
    }
    std::fclose(in);
    return std::fclose(out) == 0 ? 0 : 44;
}
