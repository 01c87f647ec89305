#include "zef/Zephra.h"

#include <cstdint>

int main(int argc, char** argv)
{
    Zephra zephra(argc, argv);
    try {
        if (!zephra.start())
            return Zephra::StoppedParsing;
        return zephra.finish(zephra.run());
    } catch (int32_t status) {
        return status;
    }
}
