#pragma once

#include "kiln/base/Object.h"

#include <cstdint>

namespace KILN {

// A view of the units [begin, end) of an owner string's text. The owner keeps
// the storage; the view copies nothing and must not outlive it.
template <class T>
class TStringPtr : public Object {
public:
    using Unit = T;

    TStringPtr(const TStringPtr<T>* owner, uint32_t begin, uint32_t end)
        : m_owner(owner), m_begin(begin), m_end(end) {}

    // Pointer to the first unit of the range.
    virtual const T* data() const { return m_owner->data() + m_begin; }
    // The range's offset in the owner's text.
    virtual uint32_t offset() const { return m_begin; }
    // Pointer to the unit at index i of the range.
    virtual const T* unitAt(uint32_t i) const { return data() + i; }
    // Length of the range in units.
    virtual uint32_t length() const { return m_end - m_begin; }
    // Pointer one past the last unit of the range.
    virtual const T* dataEnd() const { return data() + length(); }

    bool isEmpty() const { return length() == 0; }
    T operator[](uint32_t i) const { return data()[i]; }

protected:
    // For a TString itself these index its own buffer; TSubString reads them
    // as {offset, length}.
    const TStringPtr<T>* m_owner;
    uint32_t m_begin;
    uint32_t m_end;
};

} // namespace KILN
