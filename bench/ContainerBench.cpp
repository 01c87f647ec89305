// Measures the pointer containers and the formatter: AVLDict inserts, finds
// and removals of random keys, ArrayList appends (constant growth step) and
// sentinel searches, LinkList appends with a walk, and TString::format of a
// typical error line. Each case runs three times; the best time counts.

#include "BestTime.h"
#include "RunConditions.h"

#include "kiln/base/AVLDict.h"
#include "kiln/base/ArrayList.h"
#include "kiln/base/LinkList.h"
#include "kiln/base/TString.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <set>
#include <vector>

using namespace KILN;

namespace {

constexpr uint32_t Items = 1000000;

// Best of three runs, in million items per second.
double rate(uint32_t items, const std::function<void()>& run)
{
    return items / bestSeconds(run) / 1e6;
}

struct Entry {
    int key;
};

class EntryDict : public AVLDict<Entry, int> {
public:
    const int* keyOf(const Entry* e) const override { return &e->key; }
    int compare(const int* a, const int* b) const override { return *a < *b ? -1 : *a > *b; }
};

} // namespace

int main()
{
    printRunConditions("");
    std::vector<Entry> entries(Items);
    for (uint32_t i = 0; i < Items; ++i)
        entries[i].key = static_cast<int>(i);
    std::shuffle(entries.begin(), entries.end(), std::mt19937(1));

    std::printf("AVLDict, insert, find and remove 1M random keys: %.2f M keys/s\n", rate(Items, [&] {
        EntryDict dict;
        for (Entry& e : entries)
            dict.add(&e);
        for (const Entry& e : entries) {
            if (!dict.find(&e.key))
                std::abort();
        }
        for (Entry& e : entries)
            dict.remove(&e);
    }));
    // The same work through std::set, for scale: the machine's memory latency
    // dominates both.
    std::printf("std::set of pointers, the same:                   %.2f M keys/s\n", rate(Items, [&] {
        auto less = [](const Entry* a, const Entry* b) { return a->key < b->key; };
        std::set<Entry*, decltype(less)> set(less);
        for (Entry& e : entries)
            set.insert(&e);
        for (Entry& e : entries) {
            if (set.find(&e) == set.end())
                std::abort();
        }
        for (Entry& e : entries)
            set.erase(&e);
    }));
    std::printf("ArrayList, append 1M: %.1f M appends/s\n", rate(Items, [&] {
        ArrayList<Entry> list;
        for (Entry& e : entries)
            list.add(&e);
    }));
    constexpr uint32_t Searched = 10000;
    ArrayList<Entry> searched;
    for (uint32_t i = 0; i < Searched; ++i)
        searched.add(&entries[i]);
    std::printf("ArrayList, positionOf in 10K entries: %.0f M entries scanned/s\n",
                rate(1000 * Searched / 2, [&] {
                    uint64_t sum = 0;
                    for (uint32_t i = 0; i < 1000; ++i)
                        sum += searched.positionOf(&entries[(i * 7919) % Searched]);
                    if (sum == 0)
                        std::abort();
                }));
    std::printf("LinkList, append 1M and iterate: %.1f M elements/s\n", rate(Items, [&] {
        LinkList<Entry> list;
        for (Entry& e : entries)
            list.add(&e);
        std::unique_ptr<Iterator<Entry>> it(list.iterator());
        uint32_t n = 0;
        while (it->hasNext())
            n += it->next() != nullptr;
        if (n != Items)
            std::abort();
    }));
    constexpr uint32_t Lines = 200000;
    std::printf("TString::format \"ERROR: %%03d %%s\\n\": %.2f M lines/s\n", rate(Lines, [&] {
        TString<char> line;
        for (uint32_t i = 0; i < Lines; ++i)
            line.format("ERROR: %03d %s\n", static_cast<int>(i % 1000), "Can't find the opf file path.");
    }));
}
