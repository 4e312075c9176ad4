#pragma once

// Messages for the user, in the order they are to be shown. The logic appends the exact texts;
// the window layer shows each in a critical message box titled "Kestrova".

#include <string>
#include <vector>

namespace kestrova {

using Messages = std::vector<std::string>;

}  // namespace kestrova
