// Fuzzes the main program's own reading of the temporary KSV file: OpenImage runs a stand-in
// converter that hands over the fuzzer's bytes as "Tmp.ksv", then reads it; a loaded image is
// prepared for display (type name, number format, range texts).

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "FuzzSupport.h"
#include "ProgramState.h"
#include "gFileOrg.h"

namespace {

using fuzzing::require;

// The image loaded before each open; a failed open must leave it exactly so.
kestrova::ImageStore previousImage()
{
    kestrova::ImageStore image;
    image.width = 2;
    image.height = 1;
    image.dataType = 20;
    image.intPixels = {7, 300};
    image.intMin = 7;
    image.intMax = 300;
    image.imageFolder = "/earlier/";
    image.imageBaseName = "earlier";
    image.imageExtension = ".pgm";
    return image;
}

bool sameImage(const kestrova::ImageStore& a, const kestrova::ImageStore& b)
{
    return a.width == b.width && a.height == b.height && a.dataType == b.dataType && a.isFloat == b.isFloat &&
           a.intPixels == b.intPixels && a.floatPixels == b.floatPixels && a.intMin == b.intMin &&
           a.intMax == b.intMax && a.imageFolder == b.imageFolder && a.imageBaseName == b.imageBaseName &&
           a.imageExtension == b.imageExtension;
}

bool isOpenMessage(const std::string& text)
{
    return text == "Error - when reading image from input file" ||
           text == "Error - when reading image from temporary KSV input fil" ||
           text == "Error - when closing temporary KSV file" || text == "Error - when deleting temporary KSV file";
}

struct Setup {
    std::string workFolder;
    std::string converterFolder;
    std::string imagePath;
};

const Setup& setup()
{
    static const Setup s = [] {
        Setup made;
        made.workFolder = fuzzing::scratchFile("work");
        made.converterFolder = fuzzing::scratchFile("converters");
        ::mkdir(made.workFolder.c_str(), 0700);
        ::mkdir(made.converterFolder.c_str(), 0700);
        require(::symlink(KESTROVA_COPY_CONVERTER, (made.converterFolder + "/pgm2ksv").c_str()) == 0,
                "cannot link the stand-in converter");
        made.imagePath = fuzzing::scratchFile("image.pgm");
        return made;
    }();
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Setup& s = setup();
    fuzzing::writeFile(s.imagePath, data, size);

    kestrova::ProgramState state;
    state.workFolder = s.workFolder;
    state.converterFolder = s.converterFolder;
    state.image = previousImage();
    kestrova::Messages messages;
    const bool opened = kestrova::OpenImage(state, s.imagePath, messages);
    if (!opened) {
        require(!messages.empty(), "a failed open without a message");
        for (const std::string& m : messages)
            require(isOpenMessage(m), "an unexpected message from a failed open");
        require(sameImage(state.image, previousImage()), "a failed open changed the loaded image");
        return 0;
    }
    const kestrova::ImageStore& image = state.image;
    require(image.width > 0 && image.height > 0, "an image without pixels was loaded");
    const auto count = static_cast<std::size_t>(image.pixelCount());
    require((image.isFloat ? image.floatPixels.size() : image.intPixels.size()) == count,
            "the pixel array does not match the size");
    require(::access((s.workFolder + "/Tmp.ksv").c_str(), F_OK) != 0, "the temporary KSV file outlived the open");

    kestrova::Messages prepareMessages;
    if (kestrova::PrepareLoadedImage(state, prepareMessages)) {
        require(!image.minText.empty() && !image.maxText.empty(), "a prepared image without range texts");
        require(!image.dataTypeName.empty(), "a prepared image without a type name");
    } else {
        require(prepareMessages.size() == 1 && prepareMessages.front() == "Error - unrecognized datatype",
                "an unexpected message while preparing an image");
    }
    return 0;
}
