#include "kiln/base/AVLDict.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <set>
#include <vector>

using namespace KILN;

namespace {

struct Entry {
    int key;
};

class EntryDict : public AVLDict<Entry, int> {
public:
    const int* keyOf(const Entry* e) const override { return &e->key; }
    int compare(const int* a, const int* b) const override { return *a < *b ? -1 : *a > *b; }
};

std::vector<int> keys(const EntryDict& dict)
{
    std::vector<int> out;
    std::unique_ptr<Iterator<Entry>> it(dict.iterator());
    while (it->hasNext())
        out.push_back(it->next()->key);
    return out;
}

} // namespace

namespace KILN {

// Walks the tree on its own: parent links, key order, the height of every
// node (1 for a leaf) and every balance factor within -1..1.
template <class T, class K>
struct AVLDictInspector {
    using Node = typename AVLDict<T, K>::Node;

    static int check(const AVLDict<T, K>& dict)
    {
        if (dict.m_root && dict.m_root->parent)
            ADD_FAILURE() << "root has a parent";
        return height(dict, dict.m_root, nullptr, nullptr);
    }

    static int height(const AVLDict<T, K>& dict, const Node* node, const K* low, const K* high)
    {
        if (!node)
            return 0;
        const K* key = dict.keyOf(node->element);
        EXPECT_TRUE(!low || dict.compare(key, low) > 0) << "out of order at key " << *key;
        EXPECT_TRUE(!high || dict.compare(key, high) < 0) << "out of order at key " << *key;
        EXPECT_TRUE(!node->left || node->left->parent == node);
        EXPECT_TRUE(!node->right || node->right->parent == node);
        const int left = height(dict, node->left, low, key);
        const int right = height(dict, node->right, key, high);
        EXPECT_LE(std::abs(left - right), 1) << "unbalanced at key " << *key;
        const int h = 1 + std::max(left, right);
        EXPECT_EQ(node->height, h) << "wrong height at key " << *key;
        return h;
    }
};

} // namespace KILN

TEST(AVLDictTest, EqualKeyIsRejectedAndTheFirstStays)
{
    Entry first{5}, second{5}, other{7};
    EntryDict dict;
    EXPECT_TRUE(dict.isEmpty());
    EXPECT_TRUE(dict.add(&first));
    EXPECT_FALSE(dict.add(&second));
    EXPECT_FALSE(dict.add(nullptr));
    EXPECT_EQ(dict.count(), 1u);
    const int five = 5, six = 6;
    EXPECT_EQ(dict.find(&five), &first);
    EXPECT_EQ(dict.find(&six), nullptr);
    EXPECT_TRUE(dict.contains(&first));
    EXPECT_FALSE(dict.contains(&second));
    // Removal is by identity: an equal key does not remove the element.
    EXPECT_FALSE(dict.remove(&second));
    EXPECT_FALSE(dict.remove(&other));
    EXPECT_EQ(dict.find(&five), &first);
    EXPECT_TRUE(dict.remove(&first));
    EXPECT_TRUE(dict.isEmpty());
}

TEST(AVLDictTest, IteratorYieldsAscendingKeys)
{
    std::vector<Entry> entries{{8}, {3}, {10}, {1}, {6}, {14}, {4}, {7}, {13}};
    EntryDict dict;
    for (Entry& e : entries)
        dict.add(&e);
    EXPECT_EQ(keys(dict), (std::vector<int>{1, 3, 4, 6, 7, 8, 10, 13, 14}));
    std::unique_ptr<Iterator<Entry>> it(dict.iterator());
    EXPECT_EQ(it->last()->key, 14);
    EXPECT_EQ(it->next()->key, 14);
    EXPECT_FALSE(it->hasNext());
    EXPECT_EQ(it->first()->key, 1);

    EntryDict empty;
    std::unique_ptr<Iterator<Entry>> none(empty.iterator());
    EXPECT_FALSE(none->hasNext());
    EXPECT_EQ(none->next(), nullptr);
    EXPECT_EQ(none->first(), nullptr);
}

TEST(AVLDictTest, SortedInsertionStaysBalanced)
{
    std::vector<Entry> entries(1023);
    EntryDict dict;
    for (int i = 0; i < 1023; ++i) {
        entries[i].key = i;
        ASSERT_TRUE(dict.add(&entries[i]));
    }
    // A perfectly balanced tree of 1023 nodes is 10 high; AVL allows 1.44 log n.
    const int height = AVLDictInspector<Entry, int>::check(dict);
    EXPECT_LE(height, 14);
    EXPECT_EQ(dict.count(), 1023u);
}

TEST(AVLDictTest, RandomInsertsAndRemovalsMatchASetAndStayBalanced)
{
    constexpr int Keys = 3000;
    std::vector<Entry> entries(Keys);
    for (int i = 0; i < Keys; ++i)
        entries[i].key = i;
    std::set<int> model;
    EntryDict dict;
    std::mt19937 random(7);
    for (int step = 0; step < 30000; ++step) {
        Entry& e = entries[random() % Keys];
        if (random() % 5 < 3) {
            ASSERT_EQ(dict.add(&e), model.insert(e.key).second);
        } else {
            ASSERT_EQ(dict.remove(&e), model.erase(e.key) == 1);
        }
        if (step % 500 == 0) {
            AVLDictInspector<Entry, int>::check(dict);
            ASSERT_EQ(keys(dict), std::vector<int>(model.begin(), model.end()));
        }
    }
    AVLDictInspector<Entry, int>::check(dict);
    ASSERT_EQ(keys(dict), std::vector<int>(model.begin(), model.end()));
    ASSERT_EQ(dict.count(), model.size());
    for (int key = 0; key < Keys; ++key)
        ASSERT_EQ(dict.find(&key) != nullptr, model.count(key) == 1);
    // Removing everything leaves an empty, usable dictionary.
    for (int key : std::vector<int>(model.begin(), model.end()))
        ASSERT_TRUE(dict.remove(&entries[key]));
    EXPECT_TRUE(dict.isEmpty());
    EXPECT_TRUE(dict.add(&entries[0]));
}

TEST(AVLDictTest, AddAllReportsRefusedElements)
{
    Entry a{1}, b{2}, twin{2};
    EntryDict one, two;
    one.add(&a);
    one.add(&b);
    two.add(&twin);
    EXPECT_FALSE(two.addAll(one));
    EXPECT_EQ(keys(two), (std::vector<int>{1, 2}));
    EXPECT_TRUE(two.contains(&twin));
    EXPECT_TRUE(two.removeAll(one) == false);  // b is not in two: twin has its key
    EXPECT_EQ(keys(two), (std::vector<int>{2}));
}
