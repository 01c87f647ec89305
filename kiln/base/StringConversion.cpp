#include "kiln/base/StringConversion.h"

#include "kiln/base/CompositIFilter.h"
#include "kiln/base/Conveyer.h"
#include "kiln/base/EncodingRegistry.h"
#include "kiln/base/Exception.h"
#include "kiln/base/StringIFlow.h"
#include "kiln/base/StringOFlow.h"

#include <memory>

namespace KILN {

template <class S, class D>
bool convertEncoding(const S* units, uint32_t length, int32_t from, int32_t to, TString<D>& destination)
{
    destination.clear();
    const std::unique_ptr<CompositIFilter> chain(EncodingRegistry::chain(from, to));
    if (!chain)
        return false;
    // A null source reads as empty text.
    static const S none[1] = {};
    StringIFlow<S> input(units ? units : none, units ? length : 0);
    StringOFlow<D> output(&destination);
    chain->attach(&input);
    try {
        convey(chain.get(), &output);
    } catch (const IOException&) {
        return false;
    }
    return true;
}

template bool convertEncoding<char, char>(const char*, uint32_t, int32_t, int32_t, TString<char>&);
template bool convertEncoding<char, unsigned short>(const char*, uint32_t, int32_t, int32_t, TString<unsigned short>&);
template bool convertEncoding<char, unsigned int>(const char*, uint32_t, int32_t, int32_t, TString<unsigned int>&);
template bool convertEncoding<unsigned short, char>(const unsigned short*, uint32_t, int32_t, int32_t, TString<char>&);
template bool convertEncoding<unsigned short, unsigned short>(const unsigned short*, uint32_t, int32_t, int32_t, TString<unsigned short>&);
template bool convertEncoding<unsigned short, unsigned int>(const unsigned short*, uint32_t, int32_t, int32_t, TString<unsigned int>&);
template bool convertEncoding<unsigned int, char>(const unsigned int*, uint32_t, int32_t, int32_t, TString<char>&);
template bool convertEncoding<unsigned int, unsigned short>(const unsigned int*, uint32_t, int32_t, int32_t, TString<unsigned short>&);
template bool convertEncoding<unsigned int, unsigned int>(const unsigned int*, uint32_t, int32_t, int32_t, TString<unsigned int>&);

} // namespace KILN
