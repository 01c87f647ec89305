#pragma once

#include "kiln/base/IFilter.h"
#include "kiln/base/LinkList.h"

namespace KILN {

// A chain of input filters that acts as one filter. The first-added filter
// reads the composite's source; each later one reads the filter added before
// it; reads are answered by the most recently added filter. An empty chain
// passes its source through. The composite owns and deletes its filters.
class CompositIFilter : public IFilter {
public:
    CompositIFilter() = default;
    CompositIFilter(const CompositIFilter&) = delete;
    CompositIFilter& operator=(const CompositIFilter&) = delete;
    ~CompositIFilter() override;

    // Appends a filter at the output end of the chain and takes ownership
    // (null: nothing happens).
    void add(IFilter* filter);
    // Attaches the source to the input end of the chain.
    void attach(IFlow* source) override;
    // Detaches the source from the chain too.
    bool close() override;
    // Those of the most recently added filter (all when empty).
    uint32_t widths() const override;
    // Those of the first-added filter (all when empty).
    uint32_t inputWidths() const override;
    // Resets every filter and the source; true when all succeeded.
    bool reset() override;
    bool isFresh() const override;

    uint8_t read8() override;
    uint16_t read16() override;
    uint32_t read32() override;
    void readBlock8(uint32_t count, uint8_t* dest, uint32_t& got) override;
    void readBlock16(uint32_t count, uint16_t* dest, uint32_t& got) override;
    void readBlock32(uint32_t count, uint32_t* dest, uint32_t& got) override;
    void readSome8(uint32_t count, uint8_t* dest, uint32_t& got) override;
    void readSome16(uint32_t count, uint16_t* dest, uint32_t& got) override;
    void readSome32(uint32_t count, uint32_t* dest, uint32_t& got) override;

private:
    // The flow that answers reads: the output end, or the source when empty.
    IFlow& output();

    // Most recently added first.
    LinkList<IFilter> m_filters;
    IFilter* m_outputEnd = nullptr;
    IFilter* m_inputEnd = nullptr;
};

} // namespace KILN
