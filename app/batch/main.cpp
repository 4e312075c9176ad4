// kestrova-batch: the analyses of the Kestrova windows applied to a whole run of frames, with no
// window and no display. See BatchOptions.h for the command line.

#include <string>
#include <vector>

#include "BatchRun.h"

int main(int argc, char** argv)
{
    return kestrova::batch::RunBatch(std::vector<std::string>(argv + 1, argv + argc));
}
