#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <unistd.h>

#ifdef KESTROVA_TEST_CFITSIO
#include <fitsio.h>
#endif

#include "LogicFixture.h"
#include "gFileConvert.h"
#include "gFileOrg.h"

using namespace kestrova;
using namespace testsupport;

namespace {

const std::string kOpenFailed = "Error - when reading image from input file";
const std::string kSaveFailed = "Error - when writing image to output file";
const std::string kWrongOutput = "Error - output file does not have the extension .bmp, .fit, .fts .fits, or .pgm";

bool haveConverter(const char* name)
{
    return fileExists(program(name));
}

#ifdef KESTROVA_TEST_CFITSIO
void writeFloatFits(const std::string& path, long width, long height, const std::vector<float>& values)
{
    int status = 0;
    fitsfile* f = nullptr;
    long axes[2] = {width, height};
    fits_create_diskfile(&f, path.c_str(), &status);
    fits_create_img(f, FLOAT_IMG, 2, axes, &status);
    fits_write_img(f, TFLOAT, 1, static_cast<LONGLONG>(values.size()), const_cast<float*>(values.data()), &status);
    fits_close_file(f, &status);
    ASSERT_EQ(status, 0);
}

int fitsEquivalentType(const std::string& path)
{
    int status = 0;
    int type = 0;
    fitsfile* f = nullptr;
    fits_open_diskfile(&f, path.c_str(), READONLY, &status);
    fits_get_img_equivtype(f, &type, &status);
    fits_close_file(f, &status);
    EXPECT_EQ(status, 0);
    return type;
}
#endif

}  // namespace

class ImageFiles : public LogicTest {
protected:
    // Opens a PGM written into the test folder and prepares it.
    void openPgm(const std::string& name, int width, int height, int maxValue, const std::vector<int>& samples)
    {
        writeBytes(file(name), pgmFile(width, height, maxValue, samples));
        ASSERT_TRUE(OpenImage(state, file(name), messages)) << (messages.empty() ? "" : messages.front());
        ASSERT_TRUE(PrepareLoadedImage(state, messages));
        ASSERT_TRUE(messages.empty());
    }

    // A stand-in pgm2ksv that copies a prepared file to the KSV path and succeeds.
    void stubProducing(const Bytes& ksv)
    {
        writeBytes(file("prepared.ksv"), ksv);
        writeStub("pgm2ksv", "cp '" + file("prepared.ksv") + "' \"$HLV_KSVOUTFN\"");
        state.converterFolder = stubFolder();
    }
};

TEST_F(ImageFiles, OpensPgmImagesWithTheirTypesAndTexts)
{
    struct Case {
        int maxValue;
        std::vector<int> samples;
        int dataType;
        const char* typeName;
        const char* format;
        const char* minText;
        const char* maxText;
        bool hasRange;
    };
    const Case cases[] = {
        {255, {0, 10, 200, 255, 7, 9}, 8, "Unsigned byte", "##0", "0", "255", true},
        {65535, {300, 65535, 1, 2, 3, 40000}, 20, "Unsigned integer (16 bit)", "####0", "1", "65535", true},
        {255, {9, 9, 9, 9, 9, 9}, 8, "Unsigned byte", "##0", "9", "9", false},  // flat: loads, no thresholds
    };
    for (const Case& c : cases) {
        openPgm("run.pgm", 3, 2, c.maxValue, c.samples);
        const ImageStore& image = state.image;
        EXPECT_EQ(image.width, 3);
        EXPECT_EQ(image.height, 2);
        EXPECT_EQ(image.dataType, c.dataType);
        EXPECT_FALSE(image.isFloat);
        EXPECT_EQ(std::vector<int>(image.intPixels.begin(), image.intPixels.end()), c.samples);
        EXPECT_EQ(image.dataTypeName, c.typeName);
        EXPECT_EQ(image.valueFormat, c.format);
        EXPECT_EQ(image.minText, c.minText);
        EXPECT_EQ(image.maxText, c.maxText);
        EXPECT_EQ(image.thresholdsAllowed, c.hasRange);
        EXPECT_EQ(image.analysisAllowed, c.hasRange);
        EXPECT_EQ(image.imageFolder, dir.path() + "/");
        EXPECT_EQ(image.imageBaseName, "run");
        EXPECT_EQ(image.imageExtension, ".pgm");
        EXPECT_EQ(image.dibHeader.imageSize, 3u * 4u * 2u);
        // Neither the temporary KSV file nor an error file is left behind.
        EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"run.pgm"});
    }
}

TEST_F(ImageFiles, PreparingAnImageResetsWhatBelongedToThePreviousOne)
{
    state.inversion.invertDisplay = state.inversion.invertIntensity = state.inversion.regionInvertDisplay = true;
    state.displayThresholds.lower.on = state.displayThresholds.upper.on = true;
    state.displayThresholds.lower.percentText = "5.00";
    state.dataThresholds.lower.on = true;
    state.zoom.zoomText = "207.60";
    state.zoom.regionZoomText = "50.00";
    state.roi.RoI1On = state.roi.RoI2On = state.roi.RoI2Placement = true;
    state.roi.Subtract = false;
    state.resultFlags.spectrumComputed = true;

    openPgm("wide.pgm", 8, 2, 255, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
    EXPECT_FALSE(state.inversion.invertDisplay);
    EXPECT_FALSE(state.inversion.invertIntensity);
    EXPECT_FALSE(state.inversion.regionInvertDisplay);
    const DisplayThresholds& d = state.displayThresholds;
    EXPECT_FALSE(d.lower.on);
    EXPECT_FALSE(d.upper.on);
    EXPECT_EQ(d.lower.valueText, "1");
    EXPECT_EQ(d.upper.valueText, "16");
    EXPECT_EQ(d.lower.intValue, 1);
    EXPECT_EQ(d.upper.intValue, 16);
    EXPECT_EQ(d.lower.percentText, "5.00");  // the per-cent figures are not the image's
    EXPECT_FALSE(state.dataThresholds.lower.on);
    EXPECT_EQ(state.dataThresholds.lower.text, "1");
    EXPECT_EQ(state.dataThresholds.upper.intValue, 16);
    EXPECT_EQ(state.zoom.zoomText, "100");
    EXPECT_EQ(state.zoom.regionZoomText, "100");
    EXPECT_FLOAT_EQ(state.zoom.baseScale, 128.0f);  // 1024 / 8
    EXPECT_FALSE(state.roi.RoI1On);
    EXPECT_FALSE(state.roi.RoI2On);
    EXPECT_FALSE(state.roi.RoI2Placement);
    EXPECT_TRUE(state.roi.Subtract);
    EXPECT_EQ(state.roi.RoI1, (RoIRect{1, 1, 8, 2}));
    EXPECT_EQ(state.roi.RegionWidth, 8);
    EXPECT_FALSE(state.resultFlags.spectrumComputed);
}

TEST(ImageTypes, NamesAndValueFormats)
{
    struct Case {
        int dataType;
        double largest;
        const char* name;
        const char* format;
    };
    const Case cases[] = {
        {8, 255, "Unsigned byte", "##0"},
        {10, 128, "Signed byte", "##0"},
        {16, 5, "Signed integer (16 bit)", "####0"},
        {20, 65535, "Unsigned integer (16 bit)", "####0"},
        {32, 99999, "Signed integer (32 bit)", "####0"},
        {32, 100000, "Signed integer (32 bit)", "#####E+#"},
        {40, 100000, "Unsigned integer (32 bit)", "#####E+#"},
        {64, 3, "Signed integer (64 bit)", "####0"},
        {-32, 100000, "Single precision floating point", "#####E+###"},
        {-32, 99999.9, "Single precision floating point", "####0"},
        {-32, 10000, "Single precision floating point", "####0"},
        {-32, 9999, "Single precision floating point", "###0.0"},
        {-32, 1000, "Single precision floating point", "###0.0"},
        {-32, 100, "Single precision floating point", "##0.00"},
        {-32, 12.5, "Single precision floating point", "#0.000"},  // maximum 12.5, minimum -3
        {-64, 10, "Double precision floating point", "#0.000"},
        {-64, 1, "Double precision floating point", "0.0000"},
        {-64, 0.5, "Double precision floating point", "#####E+###"},  // maximum 0.5, minimum 0.1
        {-32, 0, "Single precision floating point", "#####E+###"},
    };
    for (const Case& c : cases) {
        ASSERT_NE(dataTypeNameOf(c.dataType), nullptr);
        EXPECT_STREQ(dataTypeNameOf(c.dataType), c.name);
        EXPECT_STREQ(valueFormatOf(c.dataType, c.largest), c.format) << c.dataType << " " << c.largest;
    }
    for (int unknown : {0, 1, 12, -16, 100})
        EXPECT_EQ(valueFormatOf(unknown, 1), nullptr) << unknown;
}

TEST_F(ImageFiles, UnrecognisedDataTypeStopsPreparing)
{
    state.image.dataType = 12;
    state.image.width = 4;
    state.image.height = 4;
    state.zoom.zoomText = "200";
    EXPECT_FALSE(PrepareLoadedImage(state, messages));
    EXPECT_EQ(messages, Messages{"Error - unrecognized datatype"});
    EXPECT_EQ(state.zoom.zoomText, "200");
}

TEST(ImagePaths, SplitAtTheLastSlashAndDot)
{
    struct Case {
        const char* path;
        PathParts expected;
    };
    const Case cases[] = {
        {"/img/a.b.fits", {"/img/", "a.b", ".fits"}},   {"/img/RUN.FITS", {"/img/", "RUN", ".fits"}},
        {"/img.d/noext", {"/img.d/", "noext", ""}},     {"x.pgm", {"", "x", ".pgm"}},
        {"/d/run.fits.gz", {"/d/", "run.fits", ".gz"}},
    };
    for (const Case& c : cases) {
        const PathParts p = SplitImagePath(c.path);
        EXPECT_EQ(p.folder, c.expected.folder) << c.path;
        EXPECT_EQ(p.baseName, c.expected.baseName) << c.path;
        EXPECT_EQ(p.extension, c.expected.extension) << c.path;
    }
    EXPECT_EQ(errorFilePath("/img/", "a.b"), "/img/a.b_error.txt");
}

TEST_F(ImageFiles, ExtensionInCapitalsIsAccepted)
{
    writeBytes(file("UP.PGM"), pgmFile(2, 1, 255, {3, 4}));
    EXPECT_TRUE(OpenImage(state, file("UP.PGM"), messages));
    EXPECT_EQ(state.image.imageExtension, ".pgm");
}

TEST_F(ImageFiles, FailedOpenLeavesThePreviousImageUsable)
{
    const std::vector<int> first = {1, 2, 3, 4, 5, 6};
    openPgm("first.pgm", 3, 2, 255, first);
    writeBytes(file("second.pgm"), pgmFile(2, 2, 255, {7, 8, 9, 10}));

    struct Case {
        const char* what;
        std::string path;
        std::function<void()> arrange;
        Messages expected;
    };
    const std::string wrongInput = "Error - input file does not have the extension .bmp, .fit, fts or .pgm";
    const std::string ksvFolder = dir.path() + "/Tmp.ksv";
    const Case cases[] = {
        {"wrong extension", file("second.png"), [] {}, {wrongInput}},
        {"compressed FITS", file("second.fits.gz"), [] {}, {wrongInput}},
        {"converter reports a failure", file("absent.pgm"), [] {}, {"Error - when opening PGM input file"}},
        {"converter missing",
         file("second.pgm"),
         [&] {
             state.converterFolder = stubFolder();
             ::setenv("PATH", stubFolder().c_str(), 1);
         },
         {kOpenFailed}},
        {"converter crashes",
         file("second.pgm"),
         [&] {
             writeStub("pgm2ksv", "kill -9 $$");
             state.converterFolder = stubFolder();
         },
         {kOpenFailed}},
        {"converter succeeds without output",
         file("second.pgm"),
         [&] {
             writeStub("pgm2ksv", "exit 0");
             state.converterFolder = stubFolder();
         },
         {kOpenFailed}},
        {"pixel block cut short",
         file("second.pgm"),
         [&] {
             Bytes ksv = makeKsv("KSV V000\r 8\r 2\r 2\r 7\r 10\r", {7, 8, 9, 10});
             ksv.resize(ksv.size() - 1);
             stubProducing(ksv);
         },
         {"Error - when reading image from temporary KSV input fil"}},
        {"header unreadable",
         file("second.pgm"),
         [&] {
             stubProducing(makeKsv("KSV V000\r 8\r two\r 2\r 7\r 10\r", {7, 8, 9, 10}));
         },
         {kOpenFailed}},
        {"more pixels than the program holds",
         file("second.pgm"),
         [&] { stubProducing(makeKsv("KSV V000\r 8\r 6145\r 4096\r 0\r 1\r", {})); },
         {kOpenFailed}},
        {"temporary KSV file is a folder",
         file("second.pgm"),
         [&] {
             writeStub("pgm2ksv", "rm -f \"$HLV_KSVOUTFN\"; mkdir \"$HLV_KSVOUTFN\"");
             state.converterFolder = stubFolder();
         },
         {kOpenFailed}},
    };
    const std::string savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    for (const Case& c : cases) {
        state.converterFolder = binDir();
        messages.clear();
        c.arrange();
        EXPECT_FALSE(OpenImage(state, c.path, messages)) << c.what;
        ::setenv("PATH", savedPath.c_str(), 1);
        EXPECT_EQ(messages, c.expected) << c.what;
        // The store still holds the first image, names included.
        EXPECT_EQ(state.image.width, 3) << c.what;
        EXPECT_EQ(state.image.height, 2) << c.what;
        EXPECT_EQ(std::vector<int>(state.image.intPixels.begin(), state.image.intPixels.end()), first) << c.what;
        EXPECT_EQ(state.image.imageBaseName, "first") << c.what;
        EXPECT_EQ(state.image.imageExtension, ".pgm") << c.what;
        EXPECT_EQ(state.image.intMax, 6) << c.what;
        std::filesystem::remove_all(ksvFolder);
    }
}

TEST_F(ImageFiles, ConvertersReportIsTheFailuresDetailAndNoFileIsLeft)
{
    // A link beside the image with the old error file's name is the user's and stays untouched.
    std::filesystem::create_directories(file("work"));
    state.workFolder = file("work");
    writeText(file("notes.txt"), "my notes");
    ASSERT_EQ(::symlink(file("notes.txt").c_str(), file("run7_error.txt").c_str()), 0);
    writeText(file("run7.pgm"), "P5 not a picture");
    EXPECT_FALSE(OpenImage(state, file("run7.pgm"), messages));
    ASSERT_EQ(messages, Messages{"Error - when reading image parameters from PGM input file"});
    EXPECT_EQ(messages.detailOf(0), "Error - when reading image parameters from PGM input file");
    EXPECT_EQ(readText(file("notes.txt")), "my notes");
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"notes.txt", "run7.pgm", "run7_error.txt", "work"}));
    EXPECT_TRUE(listFolder(file("work")).empty());

    // An image over the pixel limit leaves no temporary file either.
    stubProducing(makeKsv("KSV V000\r 8\r 6145\r 4096\r 0\r 1\r", {}));
    writeBytes(file("big.pgm"), pgmFile(1, 1, 255, {1}));
    messages.clear();
    EXPECT_FALSE(OpenImage(state, file("big.pgm"), messages));
    EXPECT_TRUE(listFolder(file("work")).empty());
#ifdef KESTROVA_TEST_CFITSIO
    // The FITS library's own words say why a FITS file did not open.
    if (haveConverter("fit2ksv")) {
        state.converterFolder = binDir();
        writeText(file("plain.fits"), "plain text, no FITS header");
        messages.clear();
        EXPECT_FALSE(OpenImage(state, file("plain.fits"), messages));
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages.detailOf(0).find("FITS"), std::string::npos) << messages.detailOf(0);
        EXPECT_NE(messages.detailOf(0), messages[0]);
    }
#endif
}

TEST_F(ImageFiles, OldTemporaryFileIsNeverTakenForTheConvertersOutput)
{
    writeBytes(temporaryKsvPath(state.workFolder), makeKsv("KSV V000\r 8\r 1\r 1\r 5\r 5\r", {5}));
    writeStub("pgm2ksv", "exit 0");
    state.converterFolder = stubFolder();
    writeBytes(file("a.pgm"), pgmFile(1, 1, 255, {1}));
    EXPECT_FALSE(OpenImage(state, file("a.pgm"), messages));
    EXPECT_EQ(messages, Messages{kOpenFailed});
}

TEST_F(ImageFiles, SavedImageReadsBackAndNamesTheImage)
{
    const std::vector<int> samples = {300, 65535, 1, 2, 3, 40000};
    openPgm("in.pgm", 3, 2, 65535, samples);
    std::filesystem::create_directories(file("out"));
    ASSERT_TRUE(SaveImage(state, file("out/result.pgm"), messages));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(state.image.imageFolder, file("out") + "/");
    EXPECT_EQ(state.image.imageBaseName, "result");
    EXPECT_EQ(state.image.imageExtension, ".pgm");
    EXPECT_FALSE(fileExists(temporaryKsvPath(state.workFolder)));
    EXPECT_EQ(listFolder(file("out")), std::vector<std::string>{"result.pgm"});

    ProgramState other;
    other.workFolder = state.workFolder;
    other.converterFolder = state.converterFolder;
    ASSERT_TRUE(OpenImage(other, file("out/result.pgm"), messages));
    EXPECT_EQ(std::vector<int>(other.image.intPixels.begin(), other.image.intPixels.end()), samples);
    EXPECT_EQ(other.image.dataType, 20);
}

TEST_F(ImageFiles, FailedSavesWriteNothingAndKeepTheName)
{
    openPgm("in.pgm", 2, 1, 255, {1, 2});
    struct Case {
        const char* what;
        std::string path;
        std::function<void()> arrange;
        Messages expected;
    };
    std::filesystem::create_directories(file("taken.pgm"));  // a folder where the file should go
    const Case cases[] = {
        {"wrong extension", file("out.png"), [] {}, {kWrongOutput}},
        {"converter reports a failure", file("taken.pgm"), [] {}, {"Error - when opening PGM output file"}},
        {"converter crashes",
         file("out.pgm"),
         [&] {
             writeStub("ksv2pgm", "kill -9 $$");
             state.converterFolder = stubFolder();
         },
         {kSaveFailed}},
        {"work folder missing",
         file("out.pgm"),
         [&] { state.workFolder = file("gone"); },
         {"Error - when opening temporary KSV file"}},
    };
    for (const Case& c : cases) {
        state.converterFolder = binDir();
        state.workFolder = dir.path();
        messages.clear();
        c.arrange();
        EXPECT_FALSE(SaveImage(state, c.path, messages)) << c.what;
        EXPECT_EQ(messages, c.expected) << c.what;
        EXPECT_FALSE(fileExists(file("out.png"))) << c.what;
        EXPECT_FALSE(fileExists(file("out.pgm"))) << c.what;
        EXPECT_EQ(state.image.imageBaseName, "in") << c.what;
    }
    EXPECT_FALSE(fileExists(file("taken_error.txt")));
}

TEST_F(ImageFiles, RegionImageIsSavedWithItsOwnRange)
{
    openPgm("in.pgm", 3, 2, 255, {1, 2, 3, 4, 5, 6});
    RegionArray region;
    region.width = 2;
    region.height = 2;
    region.intPixels = {0, 20, 30, 40};
    region.intMin = 0;
    region.intMax = 40;
    ASSERT_TRUE(SaveRegionImage(state, region, file("in-RoI.pgm"), messages));
    EXPECT_EQ(state.image.imageBaseName, "in");  // the loaded image keeps its name

    ProgramState other;
    other.workFolder = state.workFolder;
    other.converterFolder = state.converterFolder;
    ASSERT_TRUE(OpenImage(other, file("in-RoI.pgm"), messages));
    EXPECT_EQ(other.image.width, 2);
    EXPECT_EQ(std::vector<int>(other.image.intPixels.begin(), other.image.intPixels.end()),
              (std::vector<int>{0, 20, 30, 40}));

    region.intPixels.resize(3);  // smaller than its size says
    messages.clear();
    EXPECT_FALSE(SaveRegionImage(state, region, file("bad.pgm"), messages));
    EXPECT_EQ(messages, Messages{kSaveFailed});
    EXPECT_FALSE(fileExists(file("bad.pgm")));
}

TEST_F(ImageFiles, DisplayBitmapBytes)
{
    const BitmapInfoHeader header = BitmapInfoHeader::forPicture(2, 1);
    const std::vector<std::uint8_t> picture = {10, 10, 10, 0, 200, 200, 200, 0};
    ASSERT_TRUE(WriteDisplayBitmap(state.workFolder, header, picture, messages));
    const Bytes b = readBytes(file("Pic.Bmp"));
    ASSERT_EQ(b.size(), 62u);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(getU32(b, 2), 62u);   // file size
    EXPECT_EQ(getU32(b, 6), 0u);    // reserved
    EXPECT_EQ(getU32(b, 10), 54u);  // pixel offset
    EXPECT_EQ(getU32(b, 14), 40u);
    EXPECT_EQ(getU32(b, 18), 2u);
    EXPECT_EQ(getU32(b, 22), 1u);  // positive: bottom-up
    EXPECT_EQ(b[26] | b[27] << 8, 1);
    EXPECT_EQ(b[28] | b[29] << 8, 32);
    EXPECT_EQ(getU32(b, 34), 8u);
    EXPECT_EQ(Bytes(b.begin() + 54, b.end()), Bytes(picture.begin(), picture.end()));

    messages.clear();
    EXPECT_FALSE(WriteDisplayBitmap(file("gone"), header, picture, messages));
    EXPECT_EQ(messages, Messages{"Error - when opening temporary Bmp file"});
}

TEST_F(ImageFiles, SavedDisplayIsABitmapOrConvertedFromOne)
{
    if (!haveConverter("bmp2ksv"))
        GTEST_SKIP() << "bmp2ksv is not built";
    openPgm("in.pgm", 2, 2, 255, {1, 2, 3, 4});
    const BitmapInfoHeader header = BitmapInfoHeader::forPicture(2, 2);
    const std::vector<std::uint8_t> picture = {0, 0, 0, 0, 255, 255, 255, 0, 30, 60, 90, 0, 100, 100, 100, 0};
    std::filesystem::create_directories(file("out"));

    ASSERT_TRUE(SaveDisplay(state, header, picture, file("out/shot.bmp"), messages));
    const Bytes bmp = readBytes(file("out/shot.bmp"));
    ASSERT_EQ(bmp.size(), 54u + 16u);
    EXPECT_EQ(Bytes(bmp.begin() + 54, bmp.end()), Bytes(picture.begin(), picture.end()));

    ASSERT_TRUE(SaveDisplay(state, header, picture, file("out/shot.pgm"), messages));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(listFolder(file("out")), (std::vector<std::string>{"shot.bmp", "shot.pgm"}));
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"in.pgm", "out"}));  // no temporary file left
    ProgramState other;
    other.workFolder = state.workFolder;
    other.converterFolder = state.converterFolder;
    ASSERT_TRUE(OpenImage(other, file("out/shot.pgm"), messages));
    EXPECT_EQ(other.image.dataType, 8);
    EXPECT_EQ(other.image.intMax, 255);
    EXPECT_EQ(other.image.intMin, 0);

    // A wrong extension writes nothing at all.
    messages.clear();
    EXPECT_FALSE(SaveDisplay(state, header, picture, file("out/shot.png"), messages));
    EXPECT_EQ(messages, Messages{kWrongOutput});
    EXPECT_FALSE(fileExists(file("out/shot.png")));

    // A converter that fails leaves the earlier file at the path as it was.
    const Bytes before = readBytes(file("out/shot.pgm"));
    writeStub("ksv2pgm", "kill -9 $$");
    writeStub("bmp2ksv", "exec '" + program("bmp2ksv") + "'");
    state.converterFolder = stubFolder();
    messages.clear();
    EXPECT_FALSE(SaveDisplay(state, header, picture, file("out/shot.pgm"), messages));
    EXPECT_EQ(messages, Messages{kSaveFailed});
    EXPECT_EQ(readBytes(file("out/shot.pgm")), before);
}

#ifdef KESTROVA_TEST_CFITSIO
TEST_F(ImageFiles, FitsImagesThroughTheRealConverters)
{
    if (!haveConverter("fit2ksv") || !haveConverter("ksv2fit"))
        GTEST_SKIP() << "the FITS converters are not built";
    const std::vector<float> values = {-3.0f, 0.5f, 12.5f, 2.25f, 7.0f, 1.0f};
    writeFloatFits(file("spectrum.FITS"), 3, 2, values);
    ASSERT_TRUE(OpenImage(state, file("spectrum.FITS"), messages));
    ASSERT_TRUE(PrepareLoadedImage(state, messages));
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(state.image.isFloat);
    EXPECT_EQ(state.image.dataType, -32);
    EXPECT_EQ(state.image.floatPixels, values);
    EXPECT_EQ(state.image.valueFormat, "#0.000");
    EXPECT_EQ(state.image.minText, "-3.000");
    EXPECT_EQ(state.image.maxText, "12.500");

    // A 16-bit PGM image saved as FITS is an unsigned 16-bit FITS image with the same values.
    const std::vector<int> samples = {0, 1000, 65535, 42};
    writeBytes(file("wide.pgm"), pgmFile(2, 2, 65535, samples));
    ASSERT_TRUE(OpenImage(state, file("wide.pgm"), messages));
    ASSERT_TRUE(SaveImage(state, file("wide.fits"), messages));
    EXPECT_EQ(fitsEquivalentType(file("wide.fits")), USHORT_IMG);
    ASSERT_TRUE(OpenImage(state, file("wide.fits"), messages));
    EXPECT_EQ(state.image.dataType, 20);
    EXPECT_EQ(std::vector<int>(state.image.intPixels.begin(), state.image.intPixels.end()), samples);
    EXPECT_TRUE(messages.empty());

    // The display saved as FITS holds grey bytes.
    const BitmapInfoHeader header = BitmapInfoHeader::forPicture(1, 1);
    const std::vector<std::uint8_t> picture = {9, 9, 9, 0};
    ASSERT_TRUE(SaveDisplay(state, header, picture, file("shot.fts"), messages));
    EXPECT_EQ(fitsEquivalentType(file("shot.fts")), BYTE_IMG);
}
#endif
