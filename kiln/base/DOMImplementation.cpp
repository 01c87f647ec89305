#include "kiln/base/DOMImplementation.h"

#include "kiln/base/Library.h"
#include "kiln/base/Utf16String.h"

namespace KILN {

namespace {

DOMImplementation* processImplementation = nullptr;
Utf16String* processEmptyString = nullptr;

const LibraryRegistration registration(LibrarySlot::DOMImplementation, DOMImplementation::lifeCycle);

} // namespace

bool DOMImplementation::lifeCycle(bool startUp)
{
    if (startUp) {
        // A repeated start-up (after a later slot failed) keeps what is made.
        if (!processImplementation)
            processImplementation = new DOMImplementation();
        if (!processEmptyString)
            processEmptyString = new Utf16String();
        return true;
    }
    delete processImplementation;
    delete processEmptyString;
    processImplementation = nullptr;
    processEmptyString = nullptr;
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
