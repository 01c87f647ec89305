#pragma once

// A test source of units of type T that fails once, with a file error, when a
// read reaches a chosen position, and goes on from there at the next read.

#include "kiln/base/Exception.h"
#include "kiln/base/IFlow.h"

#include <algorithm>
#include <vector>

namespace KILN::test {

template <class T>
class FailingIFlow : public IFlow {
public:
    static constexpr size_t Never = static_cast<size_t>(-1);

    FailingIFlow(std::vector<T> units, size_t failAt) : IFlow(widthOf<T>(), true), m_units(std::move(units)), m_failAt(failAt) {}

    // Rewinds and arms the failure again.
    bool reset() override
    {
        m_position = 0;
        m_failed = false;
        return IFlow::reset();
    }

    uint8_t read8() override { return unit<uint8_t>(); }
    uint16_t read16() override { return unit<uint16_t>(); }
    uint32_t read32() override { return unit<uint32_t>(); }
    void readBlock8(uint32_t count, uint8_t* dest, uint32_t& got) override { block(count, dest, got); }
    void readBlock16(uint32_t count, uint16_t* dest, uint32_t& got) override { block(count, dest, got); }
    void readBlock32(uint32_t count, uint32_t* dest, uint32_t& got) override { block(count, dest, got); }

private:
    // The units that can be read before the failure or the end.
    size_t available() const
    {
        const size_t end = m_failed || m_failAt < m_position ? m_units.size() : std::min(m_failAt, m_units.size());
        return end - m_position;
    }

    [[noreturn]] void stop()
    {
        if (!m_failed && m_position == m_failAt) {
            m_failed = true;
            throw IOException("test/FailingIFlow", __LINE__, IOException::FileError);
        }
        throw IOException("test/FailingIFlow", __LINE__, IOException::EndOfInput);
    }

    template <class U>
    U unit()
    {
        if constexpr (sizeof(U) != sizeof(T)) {
            throw IOException("test/FailingIFlow", __LINE__, IOException::WidthNotCarried);
        } else {
            if (available() == 0)
                stop();
            return static_cast<U>(m_units[m_position++]);
        }
    }

    template <class U>
    void block(uint32_t count, U* dest, uint32_t& got)
    {
        got = 0;
        if constexpr (sizeof(U) != sizeof(T)) {
            throw IOException("test/FailingIFlow", __LINE__, IOException::WidthNotCarried);
        } else {
            while (got < count && available() > 0)
                dest[got++] = static_cast<U>(m_units[m_position++]);
            if (got < count)
                stop();
        }
    }

    std::vector<T> m_units;
    size_t m_position = 0;
    size_t m_failAt;
    bool m_failed = false;
};

} // namespace KILN::test
