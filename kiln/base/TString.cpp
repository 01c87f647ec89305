#include "kiln/base/TString.h"

#include "kiln/base/StringOFlow.h"
#include "kiln/base/TextWriter.h"
#include "kiln/base/VaListEnd.h"

namespace KILN {

// The string is emptied first; the writer's formatter copies the format and
// reads every argument before the first unit is appended, so a format or an
// argument inside this string's old text is still intact when it is read.
template <class T>
int32_t TString<T>::vformatN(const T* format, uint32_t length, va_list args)
{
    clear();
    StringOFlow<T> flow(this);
    TextWriter<T> writer(&flow);
    return writer.vformatN(format, length, args);
}

template <class T>
int32_t TString<T>::formatN(const T* format, uint32_t length, ...)
{
    va_list args;
    va_start(args, length);
    const VaListEnd end(args);
    return vformatN(format, length, args);
}

template <class T>
int32_t TString<T>::format(const T* format, ...)
{
    va_list args;
    va_start(args, format);
    const VaListEnd end(args);
    return vformatN(format, zeroTerminatedLength(format), args);
}

template <class T>
int32_t TString<T>::vformat(const T* format, va_list args)
{
    return vformatN(format, zeroTerminatedLength(format), args);
}

template <class T>
int32_t TString<T>::vformat(const TStringPtr<T>& format, va_list args)
{
    return vformatN(format.data(), format.length(), args);
}

template class TString<char>;
template class TString<unsigned short>;
template class TString<unsigned int>;

} // namespace KILN
