#pragma once

#include "kiln/base/OFlow.h"

namespace KILN {

// An output flow that writes to another flow, its target, which it does not
// own. A plain OFilter forwards every unit unchanged; subclasses transform.
// Every write or flush without a target raises code 7.
class OFilter : public OFlow {
public:
    explicit OFilter(uint32_t widths = AllWidths, uint32_t inputWidths = AllWidths)
        : OFlow(widths, false), m_inputWidths(inputWidths) {}

    // Attaches a target (null: none); the filter becomes fresh.
    virtual void attach(OFlow* target);
    OFlow* target() const { return m_target; }
    // The widths the filter gives to its target.
    virtual uint32_t inputWidths() const { return m_inputWidths; }
    // The widths the filter gives that the target carries.
    uint32_t compatibility() const { return m_target ? m_target->widths() & inputWidths() : 0; }

    bool close() override;
    bool isReady() const override;

    void flush() override;
    void write8(uint8_t unit) override;
    void write16(uint16_t unit) override;
    void write32(uint32_t unit) override;

protected:
    // The target, or code 7 when there is none.
    OFlow& checkedTarget();
    // Writes one unit of width U to the target, unchanged.
    template <class U>
    void passUnit(U unit);

    OFlow* m_target = nullptr;
    uint32_t m_inputWidths;
};

} // namespace KILN
