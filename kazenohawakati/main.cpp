#include "kazenohawakati/Wakati.h"

#include <cstdint>

int main(int argc, char** argv)
{
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
