#include "kiln/base/DOMImplementation.h"

#include "kiln/base/Utf16String.h"

namespace KILN {

namespace {

DOMImplementation* processImplementation = nullptr;
Utf16String* processEmptyString = nullptr;

} // namespace

bool DOMImplementation::lifeCycle(bool startUp)
{
    delete processImplementation;
    delete processEmptyString;
    processImplementation = startUp ? new DOMImplementation() : nullptr;
    processEmptyString = startUp ? new Utf16String() : nullptr;
    return true;
}

DOMImplementation* DOMImplementation::instance()
{
    return processImplementation;
}

const Utf16String* DOMImplementation::emptyString()
{
    return processEmptyString;
}

} // namespace KILN
