#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include <fitsio.h>

#include "TestSupport.h"

using namespace testsupport;

namespace {

// The library's disk-file calls skip leading blanks of a name.
std::string literal(const std::string& path)
{
    return path.front() == '/' ? path : "./" + path;
}

// Writes a FITS file with one image of `imageType` (a FITS equivalent type) and the given axes,
// values given as doubles; behind an empty primary unit and a table when `inExtension`.
void writeFits(const std::string& path, int imageType, std::vector<long> axes, const std::vector<double>& values,
               bool inExtension = false, double bscale = 1, int compression = 0)
{
    std::filesystem::remove(path);
    int status = 0;
    fitsfile* f = nullptr;
    fits_create_diskfile(&f, literal(path).c_str(), &status);
    if (inExtension) {
        fits_create_img(f, BYTE_IMG, 0, nullptr, &status);
        char name[] = "A", form[] = "J";
        char* names[] = {name};
        char* forms[] = {form};
        fits_create_tbl(f, BINARY_TBL, 1000, 1, names, forms, nullptr, "T", &status);  // data to step over
    }
    if (compression != 0)
        fits_set_compression_type(f, compression, &status);
    fits_create_img(f, imageType, static_cast<int>(axes.size()), axes.data(), &status);
    if (bscale != 1) {
        fits_write_key_dbl(f, "BSCALE", bscale, 6, "", &status);
        fits_set_bscale(f, bscale, 0, &status);
    }
    std::vector<short> shorts(values.begin(), values.end());  // compressed images take their own type
    if (!values.empty() && compression != 0)
        fits_write_img(f, TSHORT, 1, static_cast<LONGLONG>(values.size()), shorts.data(), &status);
    else if (!values.empty())
        fits_write_img(f, TDOUBLE, 1, static_cast<LONGLONG>(values.size()), const_cast<double*>(values.data()),
                       &status);
    fits_close_file(f, &status);
    ASSERT_EQ(status, 0) << path;
}

struct FitsContent {
    int equivalentType = 0;
    std::vector<long> axes;
    std::vector<double> values;
};

FitsContent readFits(const std::string& path)
{
    FitsContent c;
    int status = 0;
    fitsfile* f = nullptr;
    fits_open_diskfile(&f, literal(path).c_str(), READONLY, &status);
    int naxis = 0;
    long axes[3] = {0, 0, 0};
    int bitpix = 0;
    fits_get_img_param(f, 3, &bitpix, &naxis, axes, &status);
    fits_get_img_equivtype(f, &c.equivalentType, &status);
    c.axes.assign(axes, axes + naxis);
    c.values.resize(static_cast<std::size_t>(axes[0] * axes[1]));
    int anyNull = 0;
    fits_read_img(f, TDOUBLE, 1, static_cast<LONGLONG>(c.values.size()), nullptr, c.values.data(), &anyNull, &status);
    fits_close_file(f, &status);
    EXPECT_EQ(status, 0) << path;
    return c;
}

RunResult toKsv(const std::string& in, const std::string& out)
{
    return run({program("fit2ksv"), in, out, "x"});
}

RunResult fromKsv(const std::string& in, const std::string& out)
{
    return run({program("ksv2fit"), in, out});
}

std::vector<double> ramp(int count, int modulo, int offset = 0)
{
    std::vector<double> v;
    for (int i = 0; i < count; ++i)
        v.push_back((i * 7 + 3) % modulo + offset);
    return v;
}

template <typename T>
std::vector<double> asDoubles(const std::vector<T>& values)
{
    return std::vector<double>(values.begin(), values.end());
}

const std::string kLibraryReport = "\nFITSIO status = ";

}  // namespace

TEST(Fit2Ksv, EquivalentTypeBecomesTheCodeWithTheFileScaling)
{
    TempDir dir;
    struct Case {
        int imageType;
        std::vector<double> values;
        std::string header;
        double bscale = 1;
        bool inExtension = false;
        bool isFloat() const { return imageType < 0 || bscale != 1; }
    };
    const Case cases[] = {
        {BYTE_IMG, {0, 255, 7, 100, 3, 9}, "KSV V000\r 8\r 3\r 2\r 0\r 255\r"},
        {SBYTE_IMG, {-128, 127, 0, -1, 5, 6}, "KSV V000\r 10\r 3\r 2\r -128\r 127\r"},
        {SHORT_IMG, {-32768, 32767, 0, -1, 5, 6}, "KSV V000\r 16\r 3\r 2\r -32768\r 32767\r"},
        {USHORT_IMG, {0, 65535, 40000, 32768, 5, 6}, "KSV V000\r 20\r 3\r 2\r 0\r 65535\r"},
        {LONG_IMG, {-2147483648.0, 2147483647, 0, 1, 2, 3}, "KSV V000\r 32\r 3\r 2\r -2147483648\r 2147483647\r"},
        {ULONG_IMG, {0, 2147483647, 9, 8, 7, 6}, "KSV V000\r 40\r 3\r 2\r 0\r 2147483647\r"},
        {LONGLONG_IMG, {-5, 2000000000, 9, 8, 7, 6}, "KSV V000\r 64\r 3\r 2\r -5\r 2000000000\r"},
        {FLOAT_IMG, {-1.5, 100.125, 0.25, 3, 0, 7}, "KSV V000\r -32\r 3\r 2\r -1.500000\r 100.125000\r"},
        {DOUBLE_IMG,
         {0.1, -2.5, 1e30, 3, 0, 7},
         "KSV V000\r -64\r 3\r 2\r -2.500000\r 1000000015047466219876688855040.000000\r"},
        // Scaled 16-bit integers are float data to the library.
        {SHORT_IMG, {1.5, -3, 0, 0.5, 2, 4}, "KSV V000\r -32\r 3\r 2\r -3.000000\r 4.000000\r", 0.5},
        // Behind an empty primary unit and a table, the first image extension is read.
        {SHORT_IMG, {1, -2, 3, 4, 5, 6}, "KSV V000\r 16\r 3\r 2\r -2\r 6\r", 1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.header);
        writeFits(dir.file("t.fits"), c.imageType, {3, 2}, c.values, c.inExtension, c.bscale);
        ASSERT_EQ(toKsv(dir.file("t.fits"), dir.file("t.ksv")).exitCode, 0);
        const Bytes ksv = readBytes(dir.file("t.ksv"));
        EXPECT_EQ(ksvHeaderText(ksv), c.header);
        if (c.isFloat()) {
            std::vector<double> expected;
            for (const double v : c.values)
                expected.push_back(static_cast<float>(v));
            EXPECT_EQ(asDoubles(ksvFloatPixels(ksv)), expected);
        } else {
            EXPECT_EQ(asDoubles(ksvIntPixels(ksv)), c.values);
        }
    }
}

TEST(Fit2Ksv, NonFiniteTinyAndHugeFloatsKeepTheirValuesAndAFiniteRange)
{
    TempDir dir;
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* what;
        int imageType;
        std::vector<double> values;
        std::string header;
    };
    const Case cases[] = {
        {"infinity and NaN", FLOAT_IMG, {2, inf, 7, nan, -1, 3}, "KSV V000\r -32\r 3\r 2\r -1.000000\r 7.000000\r"},
        {"doubles", DOUBLE_IMG, {-inf, 2, nan, 7, -1, inf}, "KSV V000\r -64\r 3\r 2\r -1.000000\r 7.000000\r"},
        {"nothing finite",
         FLOAT_IMG,
         {nan, inf, -inf, nan, nan, nan},
         "KSV V000\r -32\r 3\r 2\r 0.000000\r 0.000000\r"},
        {"tiny",
         FLOAT_IMG,
         {1e-17, 3e-17, 0, 2e-17, 5e-17, 4e-17},
         "KSV V000\r -32\r 3\r 2\r 0.000000\r 5.000000E-17\r"},
        {"tiny negative",
         FLOAT_IMG,
         {-1e-17, -3e-17, -2e-17, -1e-17, -5e-17, -4e-17},
         "KSV V000\r -32\r 3\r 2\r -5.000000E-17\r -1.000000E-17\r"},
        {"huge",
         FLOAT_IMG,
         {-1e38, -5e37, 0, 5e37, 1e38, 1},
         "KSV V000\r -32\r 3\r 2\r -99999996802856924650656260769173209088.000000\r "
         "99999996802856924650656260769173209088.000000\r"},
    };
    auto same = [](const std::vector<double>& a, const std::vector<double>& b) {
        if (a.size() != b.size())
            return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (!(a[i] == b[i] || (std::isnan(a[i]) && std::isnan(b[i]))))
                return false;
        return true;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeFits(dir.file("t.fits"), c.imageType, {3, 2}, c.values);
        ASSERT_EQ(toKsv(dir.file("t.fits"), dir.file("t.ksv")).exitCode, 0);
        const Bytes ksv = readBytes(dir.file("t.ksv"));
        EXPECT_EQ(ksvHeaderText(ksv), c.header);
        std::vector<double> expected;
        for (const double v : c.values)
            expected.push_back(static_cast<float>(v));
        EXPECT_TRUE(same(asDoubles(ksvFloatPixels(ksv)), expected));
        ASSERT_EQ(fromKsv(dir.file("t.ksv"), dir.file("back.fits")).exitCode, 0);
        const FitsContent back = readFits(dir.file("back.fits"));
        EXPECT_EQ(back.equivalentType, c.imageType);
        EXPECT_TRUE(same(back.values, expected));
    }
}

TEST(FitsRoundTrip, EveryStripAndEveryTypeComesBack)
{
    TempDir dir;
    struct Case {
        int imageType;
        int modulo;
        int offset;
    };
    const Case types[] = {{BYTE_IMG, 256, 0},          {SBYTE_IMG, 256, -128},  {SHORT_IMG, 65536, -32768},
                          {USHORT_IMG, 65536, 0},      {LONG_IMG, 1 << 30, -5}, {ULONG_IMG, 1 << 30, 0},
                          {LONGLONG_IMG, 1 << 30, -7}, {FLOAT_IMG, 1000, -500}, {DOUBLE_IMG, 1000, -500}};
    for (const int height : {1, 31, 32, 33, 64, 65}) {
        for (const auto& t : types) {
            SCOPED_TRACE("type " + std::to_string(t.imageType) + ", " + std::to_string(height) + " rows");
            const int width = 5;
            const std::vector<double> values = ramp(width * height, t.modulo, t.offset);
            writeFits(dir.file("in.fits"), t.imageType, {width, height}, values);
            ASSERT_EQ(toKsv(dir.file("in.fits"), dir.file("t.ksv")).exitCode, 0);
            ASSERT_EQ(readBytes(dir.file("t.ksv")).size(), 256u + static_cast<std::size_t>(width * height) * 4);
            ASSERT_EQ(fromKsv(dir.file("t.ksv"), dir.file("out.fits")).exitCode, 0);
            const FitsContent back = readFits(dir.file("out.fits"));
            EXPECT_EQ(back.equivalentType, t.imageType);
            EXPECT_EQ(back.axes, (std::vector<long>{width, height}));
            EXPECT_EQ(back.values, values);
        }
    }
}

TEST(Fit2Ksv, BadInputFailsWithItsCodeAndLeavesTheOutputAlone)
{
    TempDir dir;
    writeFits(dir.file("cube.fits"), BYTE_IMG, {2, 2, 2}, ramp(8, 9));
    writeFits(dir.file("line.fits"), BYTE_IMG, {4}, ramp(4, 9));
    writeFits(dir.file("empty.fits"), BYTE_IMG, {}, {});
    writeFits(dir.file("tableonly.fits"), BYTE_IMG, {}, {}, true);
    writeFits(dir.file("wide64.fits"), LONGLONG_IMG, {3, 1}, {1, 1099511627776.0, 3});
    writeFits(dir.file("unsigned32.fits"), ULONG_IMG, {2, 1}, {1, 3e9});
    writeFits(dir.file("double.fits"), DOUBLE_IMG, {2, 1}, {1, 1e300});
    writeFits(dir.file("big.fits"), SHORT_IMG, {100, 100}, ramp(10000, 9));
    Bytes truncated = readBytes(dir.file("big.fits"));
    truncated.resize(2880 + 5000);
    writeBytes(dir.file("truncated.fits"), truncated);
    writeText(dir.file("text.fits"), "not a FITS file at all, just some text that goes on for a while\n");
    writeFits(dir.file("compressed.fits"), SHORT_IMG, {40, 40}, ramp(1600, 900), false, 1, RICE_1);
    // A tile size of 0 in a compressed image's header once made the library divide by zero.
    std::string damaged = readText(dir.file("compressed.fits"));
    const auto tile = damaged.find("ZTILE2  = ");
    ASSERT_NE(tile, std::string::npos);
    damaged.replace(tile + 10, 20, std::string(19, ' ') + "0");
    writeText(dir.file("damaged.fits"), damaged);
    Bytes packed = {0x1f, 0x8b, 8, 0, 0, 0, 0, 0};
    writeBytes(dir.file("packed.fits"), packed);

    struct Case {
        const char* name;
        int code;
        bool libraryReport;
    };
    const Case cases[] = {
        {"cube.fits", 15, false},      {"line.fits", 15, false},    {"empty.fits", 15, false},
        {"tableonly.fits", 15, false}, {"wide64.fits", 8, true},    {"unsigned32.fits", 8, true},
        {"double.fits", 8, true},      {"truncated.fits", 8, true}, {"text.fits", 5, true},
        {"packed.fits", 5, false},     {"missing.fits", 5, false},  {"compressed.fits", 13, false},
        {"damaged.fits", 13, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeText(dir.file("keep.ksv"), "precious");
        const RunResult r = toKsv(dir.file(c.name), dir.file("keep.ksv"));
        EXPECT_EQ(r.exitCode, c.code);
        EXPECT_EQ(r.standardError.rfind(kLibraryReport, 0) == 0, c.libraryReport) << r.standardError;
        EXPECT_EQ(readText(dir.file("keep.ksv")), "precious");
    }
    EXPECT_EQ(listFolder(dir.path()).size(), 14u);  // the inputs and keep.ksv: no temporary file left
}

TEST(Ksv2Fit, ValuesThatDoNotFitTheImageTypeFail)
{
    TempDir dir;
    struct Case {
        const char* name;
        Bytes ksv;
        int code;
    };
    const Case cases[] = {
        {"byte above 255", makeKsv("KSV V000\r 8\r 2\r 1\r 0\r 300\r", {7, 300}), 9},
        {"unsigned 16-bit below 0", makeKsv("KSV V000\r 20\r 2\r 1\r -1\r 5\r", {-1, 5}), 9},
        {"no such image type", makeKsv("KSV V000\r 12\r 2\r 1\r 0\r 5\r", {0, 5}), 11},
        {"short pixel block", makeKsv("KSV V000\r 8\r 2\r 2\r 0\r 5\r", {0, 5}), 45},
        {"not KSV", makeKsv("KSX V000\r 8\r 2\r 1\r 0\r 5\r", {0, 5}), 47},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(dir.file("in.ksv"), c.ksv);
        writeText(dir.file("keep.fits"), "precious");
        const RunResult r = fromKsv(dir.file("in.ksv"), dir.file("keep.fits"));
        EXPECT_EQ(r.exitCode, c.code);
        EXPECT_EQ(r.standardError.rfind(kLibraryReport, 0) == 0, c.code == 9 || c.code == 11);
        EXPECT_EQ(readText(dir.file("keep.fits")), "precious");
        EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"in.ksv", "keep.fits"}));
    }
}

TEST(FitsReport, ErrorFileHoldsTheLibraryReportThenTheTableText)
{
    TempDir dir;
    writeFits(dir.file("wide.fits"), LONGLONG_IMG, {1, 1}, {1099511627776.0});
    ASSERT_EQ(run({program("fit2ksv"), dir.file("wide.fits"), dir.file("o.ksv"), "x", dir.file("err.txt")}).exitCode,
              8);
    writeBytes(dir.file("big.ksv"), makeKsv("KSV V000\r 8\r 1\r 1\r 256\r 256\r", {256}));
    const RunResult r = run({program("ksv2fit")}, {{"HLV_KSVINFN", dir.file("big.ksv")},
                                                   {"HLV_OUTFN", dir.file("o.fits")},
                                                   {"HLV_ERROUTFN", dir.file("err2.txt")}});
    ASSERT_EQ(r.exitCode, 9);

    const std::pair<const char*, const char*> files[] = {
        {"err.txt", "Error - when reading image from FITS input file"},
        {"err2.txt", "Error - when writing image to FITS output file"}};
    for (const auto& [name, message] : files) {
        const std::string text = readText(dir.file(name));
        EXPECT_EQ(text.rfind("\r\nFITSIO status = 412: ", 0), 0u) << text;
        const std::string end = std::string("\r\n") + message + "\r\n\r\n";
        ASSERT_GE(text.size(), end.size());
        EXPECT_EQ(text.substr(text.size() - end.size()), end);
        EXPECT_NE(text.find("overflow"), std::string::npos);
        for (std::size_t i = 0; i < text.size(); ++i)
            if (text[i] == '\n')
                EXPECT_EQ(text[i - 1], '\r');
    }
    EXPECT_FALSE(fileExists(dir.file("o.ksv")));
    EXPECT_FALSE(fileExists(dir.file("o.fits")));
}

TEST(FitsFileNames, AreTakenLiterally)
{
    TempDir dir;
    const std::vector<std::string> names = {"-odd [1] name;x.fits", "mem:x+2.fits", "caf\xC3\xA9 (2).fits",
                                            " lead.fits"};
    const auto home = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());  // relative names, as a user types them
    for (const auto& name : names) {
        SCOPED_TRACE(name);
        writeFits(name, SHORT_IMG, {2, 1}, {4, -4});
        EXPECT_EQ(toKsv(name, name + ".ksv").exitCode, 0);
        EXPECT_EQ(fromKsv(name + ".ksv", name + ".back").exitCode, 0);
        EXPECT_EQ(readFits(name + ".back").values, (std::vector<double>{4, -4}));
    }
    std::filesystem::current_path(home);
    EXPECT_EQ(listFolder(dir.path()).size(), names.size() * 3);
}
