#pragma once

#include "kiln/base/Exception.h"
#include "kiln/base/PushbackIFilter.h"

#include <cstdint>
#include <exception>

namespace KILN {

// Base of the encoding converters: an input filter answering units of type
// Out made from source units of type In. A read answers a pushed-back unit
// first, else Derived::convert() (inlined, not virtual), which reads the source
// until it can answer a unit and pushes back the further units of a character
// that yields several. The filter is fresh during the first convert() after
// attaching or resetting, which is where byte-order marks are handled.
//
// A block read converts a whole block in one call: it reads the source in
// blocks into a window of source units, which convert() takes before it reads
// the source unit by unit, so the units answered are the same however the
// reads are cut. The source may thus be read ahead by up to WindowUnits units
// that the converter keeps for its next reads; a failure of the source's
// block read is kept too and raised where a unit read would have met it.
// A Derived that maps units one to one once fresh handling is done declares
// passBlock(Out*, count), which transforms units in place; its block reads
// then take the source's blocks straight into the destination. A Derived may
// also declare convertRun(next, end, dest, destEnd): it converts the window's
// units from next in one loop, exactly as convert() would, advancing next and
// dest, and stops where its units do not fit or where it leaves a unit to
// convert() (state held over, a malformed or rare form).
template <class Derived, class Out, class In>
class Converter : public PushbackIFilter<Out> {
public:
    static constexpr uint32_t WindowUnits = 1024;

    Converter() : PushbackIFilter<Out>(Flow::widthOf<In>()) {}

    // Units read ahead and a kept failure belong to the old source.
    void attach(IFlow* source) override
    {
        dropWindow();
        PushbackIFilter<Out>::attach(source);
    }
    bool reset() override
    {
        dropWindow();
        return PushbackIFilter<Out>::reset();
    }

    uint8_t read8() override
    {
        if constexpr (sizeof(Out) == 1)
            return static_cast<uint8_t>(next());
        else
            return PushbackIFilter<Out>::read8();
    }
    uint16_t read16() override
    {
        if constexpr (sizeof(Out) == 2)
            return next();
        else
            return PushbackIFilter<Out>::read16();
    }
    uint32_t read32() override
    {
        if constexpr (sizeof(Out) == 4)
            return next();
        else
            return PushbackIFilter<Out>::read32();
    }

    void readBlock8(uint32_t count, uint8_t* dest, uint32_t& got) override
    {
        if constexpr (sizeof(Out) == 1)
            nextBlock(count, reinterpret_cast<Out*>(dest), got, true);
        else
            PushbackIFilter<Out>::readBlock8(count, dest, got);
    }
    void readBlock16(uint32_t count, uint16_t* dest, uint32_t& got) override
    {
        if constexpr (sizeof(Out) == 2)
            nextBlock(count, dest, got, true);
        else
            PushbackIFilter<Out>::readBlock16(count, dest, got);
    }
    void readBlock32(uint32_t count, uint32_t* dest, uint32_t& got) override
    {
        if constexpr (sizeof(Out) == 4)
            nextBlock(count, dest, got, true);
        else
            PushbackIFilter<Out>::readBlock32(count, dest, got);
    }
    void readSome8(uint32_t count, uint8_t* dest, uint32_t& got) override
    {
        if constexpr (sizeof(Out) == 1)
            nextBlock(count, reinterpret_cast<Out*>(dest), got, false);
        else
            PushbackIFilter<Out>::readSome8(count, dest, got);
    }
    void readSome16(uint32_t count, uint16_t* dest, uint32_t& got) override
    {
        if constexpr (sizeof(Out) == 2)
            nextBlock(count, dest, got, false);
        else
            PushbackIFilter<Out>::readSome16(count, dest, got);
    }
    void readSome32(uint32_t count, uint32_t* dest, uint32_t& got) override
    {
        if constexpr (sizeof(Out) == 4)
            nextBlock(count, dest, got, false);
        else
            PushbackIFilter<Out>::readSome32(count, dest, got);
    }

protected:
    // The next unit of the source: from the window while it holds units.
    In input()
    {
        if (m_next != m_end)
            return *m_next++;
        if (m_failure)
            raiseFailure();
        return this->m_source->template readUnit<In>();
    }

    // Answers first and pushes back second, so the next read answers it.
    Out answer(Out first, Out second)
    {
        this->pushBack(second);
        return first;
    }
    Out answer(Out first, Out second, Out third)
    {
        this->pushBack(third);
        this->pushBack(second);
        return first;
    }
    Out answer(Out first, Out second, Out third, Out fourth)
    {
        this->pushBack(fourth);
        return answer(first, second, third);
    }
    // Answers a one-byte code (up to FF) or the lead byte of a two-byte code,
    // pushing back its trail byte.
    Out answerCode(uint32_t code)
    {
        if (code > 0xFF)
            return answer(static_cast<Out>(code >> 8), static_cast<Out>(code));
        return static_cast<Out>(code);
    }
    // Answers units[0] and pushes back units[1, count) (count at least 1).
    Out answer(const Out* units, uint32_t count)
    {
        for (uint32_t i = count - 1; i > 0; --i)
            this->pushBack(units[i]);
        return units[0];
    }

private:
    static constexpr const char* Module = "kiln/base/Converter";

    static constexpr bool passesBlocks()
    {
        return requires(Derived& d, Out* units) { d.passBlock(units, 0u); };
    }
    // A Derived may declare holdsNothing(): true while convert() has nothing
    // to finish at the end of the source (no unit held back), so that its
    // units end with the source's. Without it, convert() always meets the end.
    bool endsWithSource()
    {
        if constexpr (requires(Derived& d) { d.holdsNothing(); })
            return derived().holdsNothing();
        else
            return false;
    }
    static constexpr bool convertsRuns()
    {
        return requires(Derived& d, const In*& next, Out*& dest) { d.convertRun(next, next, dest, dest); };
    }

    Derived& derived() { return *static_cast<Derived*>(this); }

    Out next()
    {
        Out unit;
        if (this->popPushback(unit)) {
            this->m_fresh = false;
            return unit;
        }
        if (!this->m_source)
            throw IOException(Module, __LINE__, IOException::NoSource);
        unit = derived().convert();
        this->m_fresh = false;
        return unit;
    }

    // The block form of next(): got counts the units stored, also when a
    // failure cuts the block short. The end of input raises only when
    // raiseAtEnd, else it ends the block. Flattened: convert() is inlined
    // into the loop wherever its definition is in sight.
    [[gnu::flatten]] void nextBlock(uint32_t count, Out* dest, uint32_t& got, bool raiseAtEnd)
    {
        uint32_t n = 0;
        try {
            while (n < count) {
                if (this->popPushback(dest[n])) {
                    this->m_fresh = false;
                    ++n;
                    continue;
                }
                if (!this->m_source)
                    throw IOException(Module, __LINE__, IOException::NoSource);
                // Byte-order marks are handled unit by unit, straight from the source.
                if (m_next == m_end && !this->m_fresh && !m_failure) {
                    if (m_ended) {
                        // The source has ended. Unless the block may end here,
                        // convert() meets the end in a unit read, where a
                        // converter finishes what it holds or the end raises.
                        m_ended = false;
                        if (!raiseAtEnd && endsWithSource())
                            break;
                    } else if constexpr (passesBlocks()) {
                        passSource(count, dest, n);
                        continue;
                    } else {
                        fillWindow(count - n);
                    }
                }
                if constexpr (convertsRuns()) {
                    if (m_next != m_end && !this->m_fresh) {
                        Out* out = dest + n;
                        derived().convertRun(m_next, m_end, out, dest + count);
                        const auto done = static_cast<uint32_t>(out - (dest + n));
                        n += done;
                        if (done || m_next == m_end)
                            continue;
                    }
                }
                dest[n] = derived().convert();
                this->m_fresh = false;
                ++n;
            }
        } catch (const IOException& e) {
            // A unit read met the end (an empty source while fresh, a
            // character cut short): the units before it are the block.
            got = n;
            if (raiseAtEnd || e.code() != IOException::EndOfInput)
                throw;
            return;
        } catch (...) {
            got = n;
            throw;
        }
        got = n;
    }

    // Reads the source's units for dest[n, count) straight into place,
    // transforms them and counts them in n, also when a failure cuts them short.
    // (A template, so that converters without passBlock never instantiate it.)
    template <class D = Derived>
    void passSource(uint32_t count, Out* dest, uint32_t& n)
    {
        uint32_t got = 0;
        try {
            this->m_source->readSome(count - n, dest + n, got);
        } catch (...) {
            static_cast<D&>(*this).passBlock(dest + n, got);
            n += got;
            throw;
        }
        static_cast<D&>(*this).passBlock(dest + n, got);
        m_ended = got < count - n;
        n += got;
    }

    // Reads up to count (at most WindowUnits) source units into the window;
    // a failure is kept for the unit read that would have met it, the end of
    // the source for the block read that reaches it.
    void fillWindow(uint32_t count)
    {
        const uint32_t wanted = count < WindowUnits ? count : WindowUnits;
        uint32_t got = 0;
        try {
            this->m_source->readSome(wanted, m_window, got);
            m_ended = got < wanted;
        } catch (...) {
            m_failure = std::current_exception();
        }
        m_next = m_window;
        m_end = m_window + got;
    }

    [[noreturn]] void raiseFailure()
    {
        const std::exception_ptr failure = m_failure;
        m_failure = nullptr;
        std::rethrow_exception(failure);
    }

    void dropWindow()
    {
        m_next = m_end = m_window;
        m_failure = nullptr;
        m_ended = false;
    }

    In m_window[WindowUnits];
    const In* m_next = m_window;
    const In* m_end = m_window;
    std::exception_ptr m_failure;
    // The source answered a short block: it has nothing after the window.
    bool m_ended = false;
};

} // namespace KILN
