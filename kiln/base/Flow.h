#pragma once

#include "kiln/base/Object.h"

#include <cstdint>

namespace KILN {

// The common state of every input and output flow: whether something is
// attached, which unit widths the flow carries, and whether it is fresh (just
// attached or reset, nothing read or written since).
class Flow : public Object {
public:
    // Unit width masks.
    static constexpr uint32_t Width8 = 1;
    static constexpr uint32_t Width16 = 2;
    static constexpr uint32_t Width32 = 4;
    static constexpr uint32_t AllWidths = 7;

    // The width mask of units of type T.
    template <class T>
    static constexpr uint32_t widthOf() { return sizeof(T) == 1 ? Width8 : sizeof(T) == 2 ? Width16 : Width32; }

    // Detaches what is attached; false when nothing was.
    virtual bool close();
    virtual bool isOpen() const { return m_open; }
    virtual uint32_t widths() const { return m_widths; }
    virtual bool carriesWidth(uint32_t width) const { return (width & widths()) != 0; }
    // Marks the flow fresh and rewinds it where it can; false when not open.
    virtual bool reset();
    virtual bool isFresh() const { return m_fresh; }
    // True when the flow can move units now.
    virtual bool isReady() const { return m_open; }

protected:
    Flow(uint32_t widths, bool open) : m_open(open), m_widths(widths), m_fresh(true) {}

    bool m_open;
    uint32_t m_widths;
    bool m_fresh;
};

} // namespace KILN
