#pragma once

#include "kiln/base/CompositIFilter.h"
#include "kiln/base/Conveyer.h"
#include "kiln/base/EncodingRegistry.h"
#include "kiln/base/FixedMemIFlow.h"
#include "kiln/base/MemOFlow.h"

#include <memory>
#include <stdexcept>
#include <string>

namespace KILN::test {

// Runs bytes through the registry's chain from one encoding to another; 16-
// and 32-bit units travel in little-endian byte order on both sides.
class ChainRunner {
public:
    ChainRunner(int32_t from, int32_t to) : m_chain(EncodingRegistry::chain(from, to))
    {
        if (!m_chain)
            throw std::invalid_argument("no chain");
    }

    std::string run(const std::string& bytes)
    {
        FixedMemIFlow input(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<uint32_t>(bytes.size()));
        MemOFlow output;
        // Attaching reaches only the chain's input end; the reset makes every
        // converter start afresh (byte-order marks, shift states).
        m_chain->attach(&input);
        m_chain->reset();
        convey(m_chain.get(), &output);
        m_chain->attach(nullptr);
        return std::string(reinterpret_cast<const char*>(output.data()), output.length());
    }

private:
    std::unique_ptr<CompositIFilter> m_chain;
};

inline std::string convertBytes(int32_t from, int32_t to, const std::string& bytes)
{
    return ChainRunner(from, to).run(bytes);
}

// Little-endian bytes of 16-bit units.
inline std::string utf16(std::initializer_list<uint16_t> units)
{
    std::string bytes;
    for (uint16_t u : units) {
        bytes += static_cast<char>(u & 0xFF);
        bytes += static_cast<char>(u >> 8);
    }
    return bytes;
}

// Little-endian bytes of 32-bit units.
inline std::string utf32(std::initializer_list<uint32_t> units)
{
    std::string bytes;
    for (uint32_t u : units)
        for (int shift = 0; shift < 32; shift += 8)
            bytes += static_cast<char>((u >> shift) & 0xFF);
    return bytes;
}

} // namespace KILN::test
