#pragma once

#include "kiln/base/TOFilter.h"
#include "kiln/base/TStringPtr.h"

#include <type_traits>

namespace KILN {

// Writes units, strings and (through the formatter) formatted text of type T
// to a target flow it does not own. Nothing is translated on the way: a line
// feed is the single unit 10 and no byte-order mark is added. Without a
// target every write raises code 7.
template <class T>
class TextWriter : public TOFilter<T> {
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

    // The formatted-output operations follow here, built on the formatter.

private:
    using Raw = std::make_unsigned_t<T>;
    template <class U>
    void forwardBlock(uint32_t count, const U* src, uint32_t& written);
};

extern template class TextWriter<char>;
extern template class TextWriter<unsigned short>;
extern template class TextWriter<unsigned int>;

} // namespace KILN
