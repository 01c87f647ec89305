#include "kiln/base/EncodingRegistry.h"

#include "kiln/base/CenDictionary.h"
#include "kiln/base/CompositIFilter.h"
#include "kiln/base/ConverterTable.h"
#include "kiln/base/IFilterDictionary.h"
#include "kiln/base/Library.h"

#include <atomic>
#include <mutex>

namespace KILN {

namespace {

CenDictionary* names = nullptr;
IFilterDictionary* chains = nullptr;
// Set once both registries are made: the threads of a conversion may meet
// the registries for the first time together.
std::atomic<bool> made{false};
std::mutex making;

void start()
{
    if (made.load(std::memory_order_acquire))
        return;
    const std::lock_guard<std::mutex> lock(making);
    if (!names)
        names = new CenDictionary();
    if (!chains)
        chains = new IFilterDictionary();
    made.store(true, std::memory_order_release);
}

const LibraryRegistration registration(LibrarySlot::EncodingRegistries, &EncodingRegistry::lifeCycle);

} // namespace

bool EncodingRegistry::lifeCycle(bool starting)
{
    if (starting) {
        start();
    } else {
        made.store(false, std::memory_order_release);
        delete chains;
        chains = nullptr;
        delete names;
        names = nullptr;
    }
    return true;
}

int32_t EncodingRegistry::idOf(const char* name)
{
    if (!name)
        return Unknown;
    start();
    const CenDictionaryEntry* entry = names->find(name);
    return entry ? entry->id : Unknown;
}

CompositIFilter* EncodingRegistry::chain(int32_t from, int32_t to)
{
    start();
    if (from == to) {
        auto* identity = new CompositIFilter();
        identity->add(new IFilter());
        return identity;
    }
    const int key = IFilterDictionary::keyFor(from, to);
    const IFilterDictionaryEntry* entry = chains->find(&key);
    if (!entry)
        return nullptr;
    auto* composite = new CompositIFilter();
    for (const int32_t* step = entry->steps; *step >= 0; ++step)
        composite->add(converterTable[*step].create());
    return composite;
}

} // namespace KILN
