#pragma once

#include "kiln/base/TIFilter.h"

namespace KILN {

// An input filter of units of type T with a stack of pushed-back units: a read
// answers the most recently pushed-back unit first and reads from the source
// only when the stack is empty. The stack starts with room for 16 units and
// doubles when full. Base of the converters, which push back the further
// units of a character that yields several.
template <class T>
class PushbackIFilter : public TIFilter<T> {
public:
    static constexpr uint32_t InitialPushbackCapacity = 16;

    explicit PushbackIFilter(uint32_t inputWidths = Flow::AllWidths);
    PushbackIFilter(const PushbackIFilter&) = delete;
    PushbackIFilter& operator=(const PushbackIFilter&) = delete;
    ~PushbackIFilter() override;

    // Empties the stack: units pushed back for the old source do not belong
    // to the new one.
    void attach(IFlow* source) override;
    // Empties the stack, then resets as a filter.
    bool reset() override;

    uint8_t read8() override;
    uint16_t read16() override;
    uint32_t read32() override;

    void pushBack(T unit)
    {
        if (m_pushbackCount == m_pushbackCapacity)
            growPushback();
        m_pushback[m_pushbackCount++] = unit;
    }
    uint32_t pushbackCount() const { return m_pushbackCount; }
    uint32_t pushbackCapacity() const { return m_pushbackCapacity; }

protected:
    // Pops the most recently pushed-back unit into unit; false when none.
    bool popPushback(T& unit)
    {
        if (m_pushbackCount == 0)
            return false;
        unit = m_pushback[--m_pushbackCount];
        return true;
    }

private:
    void growPushback();
    template <class U>
    U unit();

    T* m_pushback;
    uint32_t m_pushbackCapacity = InitialPushbackCapacity;
    uint32_t m_pushbackCount = 0;
};

extern template class PushbackIFilter<char>;
extern template class PushbackIFilter<unsigned short>;
extern template class PushbackIFilter<unsigned int>;

} // namespace KILN
