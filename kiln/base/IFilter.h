#pragma once

#include "kiln/base/IFlow.h"

namespace KILN {

// An input flow that reads from another flow, its source, which it does not
// own. A plain IFilter passes every unit through unchanged; subclasses
// transform. Every read without a source raises code 6.
class IFilter : public IFlow {
public:
    explicit IFilter(uint32_t widths = AllWidths, uint32_t inputWidths = AllWidths)
        : IFlow(widths, false), m_inputWidths(inputWidths) {}

    // Attaches a source (null: none); the filter becomes fresh.
    virtual void attach(IFlow* source);
    IFlow* source() const { return m_source; }
    // The widths the filter accepts from its source.
    virtual uint32_t inputWidths() const { return m_inputWidths; }
    // The widths the source gives that the filter accepts.
    uint32_t compatibility() const { return m_source ? m_source->widths() & inputWidths() : 0; }

    bool close() override;
    // Marks the filter fresh and resets the source.
    bool reset() override;
    bool isReady() const override;

    uint8_t read8() override;
    uint16_t read16() override;
    uint32_t read32() override;

protected:
    // The next unit of width U from the source, unchanged.
    template <class U>
    U passUnit();

    IFlow* m_source = nullptr;
    uint32_t m_inputWidths;
};

} // namespace KILN
