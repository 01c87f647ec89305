#pragma once

#include "kiln/base/TStringPtr.h"

namespace KILN {

// A view of `length` units starting at `offset` in an owner string's text.
template <class T>
class TSubString : public TStringPtr<T> {
public:
    TSubString(const TStringPtr<T>& owner, uint32_t offset, uint32_t length)
        : TStringPtr<T>(&owner, offset, length) {}

    const T* data() const override { return this->m_owner->data() + this->m_begin; }
    uint32_t offset() const override { return this->m_begin; }
    uint32_t length() const override { return this->m_end; }
    const T* dataEnd() const override { return data() + this->m_end; }

protected:
    // Used by TString, which reinterprets the fields as buffer indexes.
    TSubString() : TStringPtr<T>(this, 0, 0) {}
};

} // namespace KILN
