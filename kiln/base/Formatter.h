#pragma once

#include "kiln/base/FmtArg.h"
#include "kiln/base/LinkList.h"
#include "kiln/base/TString.h"

#include <cstdarg>

namespace KILN {

// The printf-like formatter for units of type T. Arguments are first
// collected as typed records; the formatting pass then takes each directive's
// argument by position and checks its type, so a mismatch raises
// FmtException (module kiln/base/Formatter) instead of reading garbage.
//
// A directive is '%', an optional 1-based argument position "{n}" (the
// closing brace may be left out), the flags '-', '+', ' ', '0', '#' (each
// optional, in this order only), a width (digits or '*'), a precision ('.'
// then digits or '*'), an optional 'l', and one of the conversions
// d i u o x X c s f e E g G p n %. By default directives take the arguments
// in turn; a '*' takes the argument at the directive's position and moves the
// value one position on. A '*' width below 0 means '-' and its magnitude, a
// '*' precision below 0 means none.
template <class T>
class Formatter : public Object {
public:
    Formatter() = default;
    Formatter(const Formatter&) = delete;
    Formatter& operator=(const Formatter&) = delete;
    ~Formatter() override { clearArguments(); }

    void setFormat(const T* units, uint32_t length) { m_format.assign(units, length); }
    void setFormat(const T* zeroTerminated) { m_format = zeroTerminated; }
    void setFormat(const TStringPtr<T>& format) { m_format = format; }

    // Argument adders, one per argument type; each appends one argument.
    // Strings and count targets are kept as pointers and must outlive the pass.
    void addPointer(const void* pointer) { add(FmtArg<T>::Pointer, pointer); }
    void addSignedChar(signed char value) { add(FmtArg<T>::SignedChar, int64_t(value)); }
    void addUnsignedChar(unsigned char value) { add(FmtArg<T>::UnsignedChar, int64_t(value)); }
    void addShort(short value) { add(FmtArg<T>::Short, int64_t(value)); }
    void addUnsignedShort(unsigned short value) { add(FmtArg<T>::UnsignedShort, int64_t(value)); }
    void addInt(int32_t value) { add(FmtArg<T>::Int, int64_t(value)); }
    void addUnsignedInt(uint32_t value) { add(FmtArg<T>::UnsignedInt, int64_t(value)); }
    void addLong(int64_t value) { add(FmtArg<T>::Long, value); }
    void addUnsignedLong(uint64_t value) { add(FmtArg<T>::UnsignedLong, static_cast<int64_t>(value)); }
    void addString(const T* zeroTerminated) { add(FmtArg<T>::ZeroTerminated, static_cast<const void*>(zeroTerminated)); }
    void addString(const TStringPtr<T>& text) { add(FmtArg<T>::String, static_cast<const void*>(&text)); }
    void addDouble(double value) { add(FmtArg<T>::Double, value); }
    void addFloat(float value) { add(FmtArg<T>::Float, static_cast<double>(value)); }
    void addCountTarget(int32_t* target) { add(FmtArg<T>::CountTarget, static_cast<const void*>(target)); }

    uint32_t argumentCount() const { return m_arguments.count(); }
    void clearArguments();

    // Runs the formatting pass and answers a new string with the output (the
    // caller deletes it). With clear set the arguments are removed afterwards;
    // a failed pass leaves them as they were.
    TString<T>* format(bool clear);

    // Reads from args one argument for each argument-taking directive of the
    // format (the pre-scan of the variadic forms): c d i as int, ld li as
    // long, o u x X as unsigned int, lu as unsigned long, e E f g G as double,
    // s as a zero-terminated string of T, p as a pointer, n as a count target,
    // '*' as int. The arguments are read in position order; the pre-scan stops
    // at a conversion it does not know (any other 'l' form included), and
    // positions it cannot type (never named, or named by directives that
    // disagree) end the collection there: later directives find no argument.
    void addArguments(va_list args);

protected:
    // The variadic entry points: sets the format, collects its arguments from
    // args and runs the pass. The arguments are removed afterwards, also when
    // the pass fails, since they point into the caller's call.
    TString<T>* formatArguments(const T* format, uint32_t length, va_list args);

private:
    template <class V>
    void add(typename FmtArg<T>::Type type, V value) { m_arguments.add(new FmtArg<T>(type, value)); }

    TString<T> m_format;
    LinkList<FmtArg<T>> m_arguments;
};

extern template class Formatter<char>;
extern template class Formatter<unsigned short>;
extern template class Formatter<unsigned int>;

} // namespace KILN
