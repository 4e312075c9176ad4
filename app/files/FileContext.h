#pragma once

// Where the file steps find their folders: all that opening, saving and the settings files need
// besides the records they fill, so that a program without windows can call them too.

#include <string>

namespace kestrova {

struct FileContext {
    std::string workFolder;       // the program's private folder: "Tmp.ksv", "Pic.Bmp", error files
    std::string converterFolder;  // looked in first for the converters; then PATH
    std::string settingsFolder;   // ".../Halvern Labs/Kestrova"
};

}  // namespace kestrova
