#include "kiln/base/IFilterDictionary.h"

#include "kiln/base/Iterator.h"
#include "kiln/base/generated/ChainTable.h"

namespace KILN {

IFilterDictionary::IFilterDictionary()
{
    for (int32_t r = 0; tables::chainTable[r][0] != 0; ++r) {
        const int32_t* record = tables::chainTable[r];
        auto* entry = new IFilterDictionaryEntry;
        entry->from = record[0];
        entry->to = record[1];
        entry->lossy = record[2];
        for (int32_t i = 0; i < tables::ChainSteps; ++i)
            entry->steps[i] = record[3 + i];
        entry->steps[tables::ChainSteps] = -1;
        entry->key = keyFor(entry->from, entry->to);
        if (!add(entry))
            delete entry;
    }
}

IFilterDictionary::~IFilterDictionary()
{
    Iterator<IFilterDictionaryEntry>* entries = iterator();
    while (entries->hasNext())
        delete entries->next();
    delete entries;
    clear();
}

} // namespace KILN
