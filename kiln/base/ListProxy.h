#pragma once

#include "kiln/base/List.h"

namespace KILN {

// A list that stands for another list: every operation goes to the target,
// so code can be handed a list whose implementation it does not know (or that
// is swapped later with retarget). The target is not owned.
template <class T>
class ListProxy : public List<T> {
public:
    explicit ListProxy(List<T>& target) : m_target(&target) {}

    List<T>& target() const { return *m_target; }
    void retarget(List<T>& target) { m_target = &target; }

    bool isEmpty() const override { return m_target->isEmpty(); }
    uint32_t count() const override { return m_target->count(); }
    bool add(T* element) override { return m_target->add(element); }
    bool remove(T* element) override { return m_target->remove(element); }
    void clear() override { m_target->clear(); }
    bool contains(const T* element) const override { return m_target->contains(element); }
    Iterator<T>* iterator() const override { return m_target->iterator(); }

    T* atIndex(uint32_t index) const override { return m_target->atIndex(index); }
    uint32_t positionOf(const T* element) const override { return m_target->positionOf(element); }
    T* previous(const T* element) const override { return m_target->previous(element); }
    T* next(const T* element) const override { return m_target->next(element); }
    T* first() const override { return m_target->first(); }
    T* last() const override { return m_target->last(); }
    void prepend(T* element) override { m_target->prepend(element); }
    T* removeFirst() override { return m_target->removeFirst(); }
    T* removeLast() override { return m_target->removeLast(); }
    bool insertAt(uint32_t position, T* element) override { return m_target->insertAt(position, element); }
    bool insertBefore(const T* before, T* element) override { return m_target->insertBefore(before, element); }
    bool insertAfter(const T* after, T* element) override { return m_target->insertAfter(after, element); }
    bool removeAt(uint32_t position) override { return m_target->removeAt(position); }
    bool replace(const T* old, T* element) override { return m_target->replace(old, element); }
    T* setAt(uint32_t position, T* element) override { return m_target->setAt(position, element); }
    bool swap(uint32_t position1, uint32_t position2) override { return m_target->swap(position1, position2); }
    bool removeRange(uint32_t position1, uint32_t position2) override
    {
        return m_target->removeRange(position1, position2);
    }

private:
    List<T>* m_target;
};

} // namespace KILN
