#pragma once

#include "kiln/base/OFlow.h"
#include "kiln/base/TString.h"

namespace KILN {

// An output flow that appends units of type T to a string it does not own;
// it carries only the width of T.
template <class T>
class StringOFlow : public OFlow {
public:
    // Null: a closed flow.
    explicit StringOFlow(TString<T>* target = nullptr) : OFlow(widthOf<T>(), false) { open(target); }

    // Attaches a string (null: none); its text stays.
    void open(TString<T>* target);
    bool close() override;
    // Empties the string.
    bool reset() override;
    // True when the string is empty (or none is attached).
    bool isEmpty() const { return !m_target || m_target->length() == 0; }

    void write8(uint8_t unit) override;
    void write16(uint16_t unit) override;
    void write32(uint32_t unit) override;
    void writeBlock8(uint32_t count, const uint8_t* src, uint32_t& written) override;
    void writeBlock16(uint32_t count, const uint16_t* src, uint32_t& written) override;
    void writeBlock32(uint32_t count, const uint32_t* src, uint32_t& written) override;

private:
    template <class U>
    void put(U unit);
    template <class U>
    void putBlock(uint32_t count, const U* src, uint32_t& written);

    TString<T>* m_target = nullptr;
};

extern template class StringOFlow<char>;
extern template class StringOFlow<unsigned short>;
extern template class StringOFlow<unsigned int>;

} // namespace KILN
