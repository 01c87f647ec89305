#include "kiln/base/DefaultWriters.h"

#include "kiln/base/Library.h"

namespace KILN {

namespace {

constinit NullOFlow* theNullFlow = nullptr;
constinit TextWriter<char>* writer8 = nullptr;
constinit TextWriter<unsigned short>* writer16 = nullptr;
constinit TextWriter<unsigned int>* writer32 = nullptr;

template <class W>
void make(W*& object)
{
    if (!object)
        object = new W;
}

template <class W>
void drop(W*& object)
{
    delete object;
    object = nullptr;
}

const LibraryRegistration registration(LibrarySlot::DefaultWriters, DefaultWriters::lifeCycle);

} // namespace

bool DefaultWriters::lifeCycle(bool startUp)
{
    if (startUp) {
        make(theNullFlow);
        make(writer8);
        make(writer16);
        make(writer32);
    } else {
        drop(writer8);
        drop(writer16);
        drop(writer32);
        drop(theNullFlow);
    }
    return true;
}

NullOFlow* DefaultWriters::nullFlow() { return theNullFlow; }

template <>
TextWriter<char>* DefaultWriters::writer<char>() { return writer8; }
template <>
TextWriter<unsigned short>* DefaultWriters::writer<unsigned short>() { return writer16; }
template <>
TextWriter<unsigned int>* DefaultWriters::writer<unsigned int>() { return writer32; }

} // namespace KILN
