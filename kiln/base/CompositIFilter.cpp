#include "kiln/base/CompositIFilter.h"

#include "kiln/base/Exception.h"

#include <memory>

namespace KILN {

CompositIFilter::~CompositIFilter()
{
    while (IFilter* filter = m_filters.removeFirst())
        delete filter;
}

void CompositIFilter::add(IFilter* filter)
{
    if (!filter)
        return;
    filter->attach(m_outputEnd ? m_outputEnd : m_source);
    m_filters.prepend(filter);
    m_outputEnd = filter;
    if (!m_inputEnd)
        m_inputEnd = filter;
}

void CompositIFilter::attach(IFlow* source)
{
    IFilter::attach(source);
    if (m_inputEnd)
        m_inputEnd->attach(source);
}

bool CompositIFilter::close()
{
    if (!IFilter::close())
        return false;
    if (m_inputEnd)
        m_inputEnd->attach(nullptr);
    return true;
}

uint32_t CompositIFilter::widths() const
{
    return m_outputEnd ? m_outputEnd->widths() : AllWidths;
}

uint32_t CompositIFilter::inputWidths() const
{
    return m_inputEnd ? m_inputEnd->inputWidths() : AllWidths;
}

bool CompositIFilter::reset()
{
    bool all = IFlow::reset();
    std::unique_ptr<Iterator<IFilter>> it(m_filters.iterator());
    while (it->hasNext())
        all = it->next()->reset() && all;
    if (m_source)
        all = m_source->reset() && all;
    return all;
}

bool CompositIFilter::isFresh() const
{
    return m_outputEnd ? m_outputEnd->isFresh() : m_fresh;
}

IFlow& CompositIFilter::output()
{
    if (m_outputEnd)
        return *m_outputEnd;
    if (!m_source)
        throw IOException("kiln/base/CompositIFilter", __LINE__, IOException::NoSource);
    m_fresh = false;
    return *m_source;
}

uint8_t CompositIFilter::read8() { return output().read8(); }
uint16_t CompositIFilter::read16() { return output().read16(); }
uint32_t CompositIFilter::read32() { return output().read32(); }

void CompositIFilter::readBlock8(uint32_t count, uint8_t* dest, uint32_t& got)
{
    got = 0;
    output().readBlock8(count, dest, got);
}

void CompositIFilter::readBlock16(uint32_t count, uint16_t* dest, uint32_t& got)
{
    got = 0;
    output().readBlock16(count, dest, got);
}

void CompositIFilter::readBlock32(uint32_t count, uint32_t* dest, uint32_t& got)
{
    got = 0;
    output().readBlock32(count, dest, got);
}

void CompositIFilter::readSome8(uint32_t count, uint8_t* dest, uint32_t& got)
{
    got = 0;
    output().readSome8(count, dest, got);
}

void CompositIFilter::readSome16(uint32_t count, uint16_t* dest, uint32_t& got)
{
    got = 0;
    output().readSome16(count, dest, got);
}

void CompositIFilter::readSome32(uint32_t count, uint32_t* dest, uint32_t& got)
{
    got = 0;
    output().readSome32(count, dest, got);
}

} // namespace KILN
