#include "kazenohawakati/Wakati.h"
#include "kiln/file/InterruptCleanup.h"

#include <cstdint>

int main(int argc, char** argv)
{
    // An interrupted run removes its working folder and temporary files.
    KILN::InterruptCleanup::install();
    Wakati wakati(argc, argv);
    try {
        // Parsing stops only at an argument too many.
        if (!wakati.start())
            return Wakati::TooManyArguments;
        return wakati.finish(wakati.run());
    } catch (int32_t status) {
        return status;
    }
}
