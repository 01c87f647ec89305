#include "kiln/base/TextWriter.h"

#include "kiln/base/TString.h"
#include "kiln/base/VaListEnd.h"

#include <memory>

namespace KILN {

template <class T>
TextWriter<T>::TextWriter(OFlow* target)
{
    if (target)
        this->attach(target);
}

// Blocks of T go to the target as blocks; other widths go unit by unit to the
// typed filter, which refuses them.
template <class T>
template <class U>
void TextWriter<T>::forwardBlock(uint32_t count, const U* src, uint32_t& written)
{
    written = 0;
    if constexpr (sizeof(U) != sizeof(T)) {
        for (; written < count; ++written)
            this->writeUnit(src[written]);
    } else {
        OFlow& target = this->checkedTarget();
        this->m_fresh = false;
        target.writeBlock(count, src, written);
    }
}

template <class T>
void TextWriter<T>::writeBlock8(uint32_t count, const uint8_t* src, uint32_t& written) { forwardBlock(count, src, written); }
template <class T>
void TextWriter<T>::writeBlock16(uint32_t count, const uint16_t* src, uint32_t& written) { forwardBlock(count, src, written); }
template <class T>
void TextWriter<T>::writeBlock32(uint32_t count, const uint32_t* src, uint32_t& written) { forwardBlock(count, src, written); }

template <class T>
void TextWriter<T>::write(T unit)
{
    this->passUnit(static_cast<Raw>(unit));
}

template <class T>
void TextWriter<T>::write(const T* units, uint32_t count, uint32_t& written)
{
    forwardBlock(count, units, written);
}

template <class T>
bool TextWriter<T>::write(const TStringPtr<T>& text, uint32_t offset, uint32_t count)
{
    if (offset > text.length() || count > text.length() - offset)
        return false;
    uint32_t written = 0;
    write(text.data() + offset, count, written);
    return written == count;
}

template <class T>
bool TextWriter<T>::write(const T* zeroTerminated)
{
    uint32_t written = 0;
    const uint32_t count = TString<T>::zeroTerminatedLength(zeroTerminated);
    write(zeroTerminated, count, written);
    return written == count;
}

template <class T>
bool TextWriter<T>::write(const TStringPtr<T>& text)
{
    return write(text, 0, text.length());
}

template <class T>
int32_t TextWriter<T>::formatN(const T* format, uint32_t length, ...)
{
    va_list args;
    va_start(args, length);
    const VaListEnd end(args);
    return vformatN(format, length, args);
}

template <class T>
int32_t TextWriter<T>::format(const T* format, ...)
{
    va_list args;
    va_start(args, format);
    const VaListEnd end(args);
    return vformatN(format, TString<T>::zeroTerminatedLength(format), args);
}

template <class T>
int32_t TextWriter<T>::vformatN(const T* format, uint32_t length, va_list args)
{
    const std::unique_ptr<TString<T>> text(this->formatArguments(format, length, args));
    write(*text);
    return static_cast<int32_t>(text->length());
}

template <class T>
int32_t TextWriter<T>::vformat(const T* format, va_list args)
{
    return vformatN(format, TString<T>::zeroTerminatedLength(format), args);
}

template <class T>
int32_t TextWriter<T>::vformat(const TStringPtr<T>& format, va_list args)
{
    return vformatN(format.data(), format.length(), args);
}

template class TextWriter<char>;
template class TextWriter<unsigned short>;
template class TextWriter<unsigned int>;

} // namespace KILN
