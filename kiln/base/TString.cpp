#include "kiln/base/TString.h"

namespace KILN {

template class TString<char>;
template class TString<unsigned short>;
template class TString<unsigned int>;

} // namespace KILN
