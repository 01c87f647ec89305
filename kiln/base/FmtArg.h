#pragma once

#include "kiln/base/TStringPtr.h"

#include <cstdint>

namespace KILN {

// One typed argument of the formatter: the type says which conversions
// accept it, the value holds an integer (widened to 64 bits), a pointer or a
// double.
template <class T>
struct FmtArg {
    enum Type : int32_t {
        Pointer = 0,         // const void*
        SignedChar = 1,
        UnsignedChar = 2,
        Short = 3,
        UnsignedShort = 4,
        Int = 5,             // int32_t; also width and precision given by '*'
        UnsignedInt = 6,
        Long = 7,            // int64_t
        UnsignedLong = 8,    // uint64_t
        ZeroTerminated = 9,  // const T*, zero-terminated
        String = 10,         // const TStringPtr<T>*
        Double = 11,
        Float = 12,          // kept widened to double
        CountTarget = 13,    // int32_t*: receives the number of units written so far
    };

    FmtArg(Type t, int64_t integer) : type(t) { value.integer = integer; }
    FmtArg(Type t, const void* pointer) : type(t) { value.pointer = pointer; }
    FmtArg(Type t, double real) : type(t) { value.real = real; }

    int32_t type;
    union {
        int64_t integer;
        const void* pointer;
        double real;
    } value;
};

} // namespace KILN
