#include "kiln/base/Detector.h"

#include "kiln/base/EncodingRegistry.h"
#include "kiln/base/HtmlDetector.h"
#include "kiln/base/JaDetector.h"
#include "kiln/base/XmlDetector.h"

namespace KILN {

namespace {

template <class D>
Detector* make() { return new D; }

struct DetectorFactory {
    int32_t encodingId;
    Detector* (*create)();
};

// Searched linearly; the entry with identifier 0 ends the table.
constexpr DetectorFactory factories[] = {
    {EncodingRegistry::JaDetector, make<JaDetector>},
    {EncodingRegistry::XmlDetector, make<XmlDetector>},
    {EncodingRegistry::HtmlDetector, make<HtmlDetector>},
    {0, nullptr},
};

} // namespace

Detector* Detector::create(int32_t encodingId)
{
    for (const DetectorFactory* f = factories; f->encodingId != 0; ++f) {
        if (f->encodingId == encodingId)
            return f->create();
    }
    return nullptr;
}

} // namespace KILN
