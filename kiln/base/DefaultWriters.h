#pragma once

#include "kiln/base/NullOFlow.h"
#include "kiln/base/TextWriter.h"

namespace KILN {

// The process-wide null output flow and the three default text writers
// (without a target), made at library start-up and deleted at shut-down, in
// the first slot of the library's life-cycle table. Each answers null while
// the library does not run. A writer keeps state as it writes: code that
// runs on several threads gives each its own writer instead.
class DefaultWriters {
public:
    static NullOFlow* nullFlow();
    template <class T>
    static TextWriter<T>* writer();

    // The life-cycle callback: makes the four objects (keeping those already
    // made) or deletes the writers and then the null flow.
    static bool lifeCycle(bool startUp);
};

template <>
TextWriter<char>* DefaultWriters::writer<char>();
template <>
TextWriter<unsigned short>* DefaultWriters::writer<unsigned short>();
template <>
TextWriter<unsigned int>* DefaultWriters::writer<unsigned int>();

} // namespace KILN
