#include "zef/Zephra.h"
#include "kiln/file/InterruptCleanup.h"

#include <cstdint>

int main(int argc, char** argv)
{
    // An interrupted run removes its working folder and temporary files.
    KILN::InterruptCleanup::install();
    Zephra zephra(argc, argv);
    try {
        if (!zephra.start())
            return Zephra::StoppedParsing;
        return zephra.finish(zephra.run());
    } catch (int32_t status) {
        return status;
    }
}
