#pragma once

#include "kiln/base/Formatter.h"
#include "kiln/base/TOFilter.h"
#include "kiln/base/TStringPtr.h"

#include <cstdarg>
#include <type_traits>

namespace KILN {

// Writes units, strings and (through the formatter it also is) formatted text
// of type T to a target flow it does not own. Nothing is translated on the way: a line
// feed is the single unit 10 and no byte-order mark is added. Without a
// target every write raises code 7.
template <class T>
class TextWriter : public TOFilter<T>, public Formatter<T> {
public:
    explicit TextWriter(OFlow* target = nullptr);

    // Blocks of T go to the target as blocks.
    void writeBlock8(uint32_t count, const uint8_t* src, uint32_t& written) override;
    void writeBlock16(uint32_t count, const uint16_t* src, uint32_t& written) override;
    void writeBlock32(uint32_t count, const uint32_t* src, uint32_t& written) override;

    virtual void write(T unit);
    // Writes count units; written counts those the target took.
    virtual void write(const T* units, uint32_t count, uint32_t& written);
    // Writes count units of text from offset; false, writing nothing, when the
    // range does not lie inside the text.
    virtual bool write(const TStringPtr<T>& text, uint32_t offset, uint32_t count);
    virtual bool write(const T* zeroTerminated);
    virtual bool write(const TStringPtr<T>& text);

    // Formatted output (see Formatter): the arguments are read from the call
    // by the pre-scan of the format; the text goes to the target. Each
    // answers the number of units written.
    int32_t formatN(const T* format, uint32_t length, ...);
    int32_t format(const T* format, ...);
    int32_t vformatN(const T* format, uint32_t length, va_list args);
    int32_t vformat(const T* format, va_list args);
    int32_t vformat(const TStringPtr<T>& format, va_list args);
    // The formatter's own pass over a format set and arguments added before.
    using Formatter<T>::format;

private:
    using Raw = std::make_unsigned_t<T>;
    template <class U>
    void forwardBlock(uint32_t count, const U* src, uint32_t& written);
};

extern template class TextWriter<char>;
extern template class TextWriter<unsigned short>;
extern template class TextWriter<unsigned int>;

} // namespace KILN
