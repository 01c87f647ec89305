// The list contract, run on every list implementation: positions, insertion,
// removal, replacement and iteration, and a random run against std::vector.
#include "kiln/base/ArrayList.h"
#include "kiln/base/LinkList.h"
#include "kiln/base/NDLinkList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

using namespace KILN;

namespace {

struct Item : NDLinkListNode<Item> {
    explicit Item(int v = 0) : value(v) {}
    int value;
};

template <class L>
class ListContract : public ::testing::Test {
protected:
    ListContract()
    {
        for (int i = 0; i < 60; ++i)
            items.push_back(std::make_unique<Item>(i));
    }
    Item* item(int i) { return items[i].get(); }
    void fill(int n)
    {
        for (int i = 0; i < n; ++i)
            ASSERT_TRUE(subject.add(item(i)));
    }
    std::vector<int> values()
    {
        std::vector<int> out;
        std::unique_ptr<Iterator<Item>> it(subject.iterator());
        while (it->hasNext())
            out.push_back(it->next()->value);
        return out;
    }

    // Declared before the list: a list may still look at its elements when destroyed.
    std::vector<std::unique_ptr<Item>> items;
    L subject;
};

using ListTypes = ::testing::Types<ArrayList<Item>, LinkList<Item>, NDLinkList<Item>>;
TYPED_TEST_SUITE(ListContract, ListTypes);

TYPED_TEST(ListContract, AccessAndSearchAnswerNullOrZeroOutsideTheList)
{
    auto& list = this->subject;
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(list.first(), nullptr);
    EXPECT_EQ(list.last(), nullptr);
    EXPECT_EQ(list.atIndex(0), nullptr);
    this->fill(3);
    EXPECT_FALSE(list.isEmpty());
    EXPECT_EQ(list.count(), 3u);
    EXPECT_EQ(list.atIndex(2), this->item(2));
    EXPECT_EQ(list.atIndex(3), nullptr);  // index == count
    EXPECT_EQ(list.atPosition(0), nullptr);
    EXPECT_EQ(list.atPosition(1), this->item(0));
    EXPECT_EQ(list.positionOf(this->item(2)), 3u);
    EXPECT_EQ(list.positionOf(this->item(5)), 0u);
    EXPECT_EQ(list.positionOf(nullptr), 0u);
    EXPECT_FALSE(list.contains(this->item(5)));
    EXPECT_TRUE(list.contains(this->item(1)));
    EXPECT_EQ(list.first(), this->item(0));
    EXPECT_EQ(list.last(), this->item(2));
    EXPECT_EQ(list.previous(this->item(0)), nullptr);
    EXPECT_EQ(list.previous(this->item(1)), this->item(0));
    EXPECT_EQ(list.next(this->item(1)), this->item(2));
    EXPECT_EQ(list.next(this->item(2)), nullptr);
    EXPECT_EQ(list.previous(this->item(5)), nullptr);
    EXPECT_EQ(list.next(this->item(5)), nullptr);
    // A failed search leaves the list as it was.
    EXPECT_EQ(list.count(), 3u);
    EXPECT_EQ(this->values(), (std::vector<int>{0, 1, 2}));
}

TYPED_TEST(ListContract, InsertionsTakeValidPositionsAndPresentNeighbours)
{
    auto& list = this->subject;
    EXPECT_FALSE(list.insertAt(0, this->item(0)));
    EXPECT_FALSE(list.insertAt(2, this->item(0)));
    EXPECT_TRUE(list.insertAt(1, this->item(1)));
    EXPECT_TRUE(list.insertAt(2, this->item(3)));
    EXPECT_TRUE(list.insertAt(2, this->item(2)));
    list.prepend(this->item(0));
    EXPECT_TRUE(list.insertAfter(this->item(3), this->item(5)));
    EXPECT_TRUE(list.insertBefore(this->item(5), this->item(4)));
    EXPECT_FALSE(list.insertAfter(this->item(7), this->item(6)));
    EXPECT_FALSE(list.insertBefore(this->item(7), this->item(6)));
    EXPECT_FALSE(list.add(nullptr));
    EXPECT_EQ(this->values(), (std::vector<int>{0, 1, 2, 3, 4, 5}));
}

TYPED_TEST(ListContract, RemovalsRejectInvalidPositionsWithoutChange)
{
    auto& list = this->subject;
    EXPECT_EQ(list.removeFirst(), nullptr);
    EXPECT_EQ(list.removeLast(), nullptr);
    this->fill(8);
    EXPECT_FALSE(list.removeAt(0));
    EXPECT_FALSE(list.removeAt(9));
    EXPECT_FALSE(list.removeRange(0, 2));
    EXPECT_FALSE(list.removeRange(3, 9));
    EXPECT_FALSE(list.removeBeforePosition(0));
    EXPECT_FALSE(list.removeAfterPosition(9));
    Item stranger(99);
    EXPECT_FALSE(list.remove(&stranger));
    EXPECT_FALSE(list.removeBefore(&stranger));
    EXPECT_EQ(list.count(), 8u);

    EXPECT_EQ(list.removeFirst(), this->item(0));
    EXPECT_EQ(list.removeLast(), this->item(7));
    EXPECT_TRUE(list.removeAt(2));                     // 1 3 4 5 6
    EXPECT_TRUE(list.remove(this->item(4)));           // 1 3 5 6
    EXPECT_EQ(this->values(), (std::vector<int>{1, 3, 5, 6}));
    EXPECT_TRUE(list.removeRange(3, 2));               // either order: 1 6
    EXPECT_EQ(this->values(), (std::vector<int>{1, 6}));
    EXPECT_EQ(list.last(), this->item(6));
    EXPECT_TRUE(list.add(this->item(7)));
    EXPECT_EQ(list.last(), this->item(7));
}

TYPED_TEST(ListContract, RemoveBeforeAndAfterKeepTheGivenElement)
{
    auto& list = this->subject;
    this->fill(6);
    EXPECT_TRUE(list.removeBefore(this->item(2)));
    EXPECT_EQ(this->values(), (std::vector<int>{2, 3, 4, 5}));
    EXPECT_TRUE(list.removeAfterPosition(3));
    EXPECT_EQ(this->values(), (std::vector<int>{2, 3, 4}));
    EXPECT_TRUE(list.removeAfter(this->item(4)));  // nothing after the last
    EXPECT_TRUE(list.removeBeforePosition(1));     // nothing before the first
    EXPECT_TRUE(list.removeAfter(this->item(2)));
    EXPECT_EQ(this->values(), (std::vector<int>{2}));
    EXPECT_EQ(list.last(), this->item(2));
}

TYPED_TEST(ListContract, ReplaceSetAndSwapExchangeElementsInPlace)
{
    auto& list = this->subject;
    this->fill(4);
    EXPECT_FALSE(list.replace(this->item(7), this->item(6)));
    EXPECT_TRUE(list.replace(this->item(0), this->item(4)));  // 4 1 2 3
    EXPECT_EQ(list.setAt(4, this->item(5)), this->item(3));   // 4 1 2 5
    EXPECT_EQ(list.setAt(5, this->item(6)), nullptr);
    EXPECT_EQ(list.setAt(0, this->item(6)), nullptr);
    EXPECT_EQ(this->values(), (std::vector<int>{4, 1, 2, 5}));
    EXPECT_TRUE(list.swap(1, 2));  // adjacent
    EXPECT_EQ(this->values(), (std::vector<int>{1, 4, 2, 5}));
    EXPECT_TRUE(list.swap(4, 1));  // the ends, either order
    EXPECT_EQ(this->values(), (std::vector<int>{5, 4, 2, 1}));
    EXPECT_TRUE(list.swap(3, 3));
    EXPECT_FALSE(list.swap(0, 1));
    EXPECT_FALSE(list.swap(2, 5));
    EXPECT_EQ(this->values(), (std::vector<int>{5, 4, 2, 1}));
    EXPECT_EQ(list.first(), this->item(5));
    EXPECT_EQ(list.last(), this->item(1));
    EXPECT_EQ(list.previous(this->item(1)), this->item(2));
}

TYPED_TEST(ListContract, IteratorWalksFromFirstToLastAndRestarts)
{
    std::unique_ptr<Iterator<Item>> empty(this->subject.iterator());
    EXPECT_FALSE(empty->hasNext());
    EXPECT_EQ(empty->next(), nullptr);
    EXPECT_EQ(empty->first(), nullptr);
    EXPECT_EQ(empty->last(), nullptr);

    this->fill(3);
    std::unique_ptr<Iterator<Item>> it(this->subject.iterator());
    EXPECT_EQ(it->next(), this->item(0));
    EXPECT_EQ(it->next(), this->item(1));
    EXPECT_EQ(it->next(), this->item(2));
    EXPECT_FALSE(it->hasNext());
    EXPECT_EQ(it->next(), nullptr);
    EXPECT_EQ(it->first(), this->item(0));
    EXPECT_EQ(it->next(), this->item(0));
    EXPECT_EQ(it->last(), this->item(2));
    EXPECT_TRUE(it->hasNext());
    EXPECT_EQ(it->next(), this->item(2));
    EXPECT_FALSE(it->hasNext());
}

TYPED_TEST(ListContract, AddAllAndRemoveAllTakeAnotherCollection)
{
    ArrayList<Item> others;
    others.add(this->item(2));
    others.add(this->item(3));
    this->fill(2);
    EXPECT_TRUE(this->subject.addAll(others));
    EXPECT_EQ(this->values(), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_TRUE(this->subject.removeAll(others));
    EXPECT_EQ(this->values(), (std::vector<int>{0, 1}));
    EXPECT_FALSE(this->subject.removeAll(others));
    EXPECT_TRUE(this->subject.removeAll(this->subject));
    EXPECT_TRUE(this->subject.isEmpty());
}

// Random operations checked against std::vector after each step.
TYPED_TEST(ListContract, RandomOperationsMatchAVector)
{
    auto& pool = this->items;
    std::vector<Item*> model;
    auto& list = this->subject;
    std::mt19937 random(20261207);
    auto pick = [&](uint32_t bound) { return static_cast<uint32_t>(random() % bound); };
    auto outside = [&]() -> Item* {
        for (int tries = 0; tries < 200; ++tries) {
            Item* candidate = pool[pick(pool.size())].get();
            if (std::find(model.begin(), model.end(), candidate) == model.end())
                return candidate;
        }
        return nullptr;
    };
    for (int step = 0; step < 4000; ++step) {
        const uint32_t n = model.size();
        switch (pick(7)) {
        case 0:
        case 1:
            if (Item* e = outside()) {
                const uint32_t position = 1 + pick(n + 1);
                ASSERT_TRUE(list.insertAt(position, e));
                model.insert(model.begin() + position - 1, e);
            }
            break;
        case 2:
            if (Item* e = outside()) {
                ASSERT_TRUE(list.add(e));
                model.push_back(e);
            }
            break;
        case 3: {
            const uint32_t position = pick(n + 2);
            const bool valid = position >= 1 && position <= n;
            ASSERT_EQ(list.removeAt(position), valid);
            if (valid)
                model.erase(model.begin() + position - 1);
            break;
        }
        case 4:
            if (n > 0) {
                const uint32_t a = 1 + pick(n);
                const uint32_t b = 1 + pick(n);
                ASSERT_TRUE(list.removeRange(a, b));
                model.erase(model.begin() + std::min(a, b) - 1, model.begin() + std::max(a, b));
            }
            break;
        case 5:
            if (n > 0) {
                const uint32_t a = 1 + pick(n);
                const uint32_t b = 1 + pick(n);
                ASSERT_TRUE(list.swap(a, b));
                std::swap(model[a - 1], model[b - 1]);
            }
            break;
        case 6:
            if (n > 0) {
                Item* e = model[pick(n)];
                ASSERT_EQ(list.removeFirst(), model.front());
                model.erase(model.begin());
                ASSERT_EQ(list.positionOf(e), static_cast<uint32_t>(
                    std::find(model.begin(), model.end(), e) == model.end() ? 0 :
                    std::find(model.begin(), model.end(), e) - model.begin() + 1));
            }
            break;
        }
        ASSERT_EQ(list.count(), model.size());
        ASSERT_EQ(list.first(), model.empty() ? nullptr : model.front());
        ASSERT_EQ(list.last(), model.empty() ? nullptr : model.back());
        for (uint32_t i = 0; i < model.size(); ++i)
            ASSERT_EQ(list.atIndex(i), model[i]) << "step " << step;
        ASSERT_EQ(list.atIndex(model.size()), nullptr);
    }
}

} // namespace
