#include "model/DocumentFile.h"

#include "kiln/base/Exception.h"
#include "kiln/base/NamedNodeMap.h"
#include "kiln/base/ParseXMLFile.h"
#include "kiln/base/StringOFlow.h"
#include "kiln/base/TextWriter.h"
#include "kiln/base/XMLDecl.h"
#include "kiln/base/XMLOutputter.h"
#include "kiln/file/NativePath.h"
#include "kiln/file/ReplacingFile.h"
#include "model/Transcoding.h"
#include "model/XmlLookup.h"

#include <sys/stat.h>

#include <cstdio>
#include <string>

using KILN::PathString;

bool isRegularFile(const PathString& path)
{
    std::string native;
    struct stat st;
    return KILN::toNativePath(path, native) && ::stat(native.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::unique_ptr<KILN::Document> readDocument(const PathString& path, uint32_t flags)
{
    // Also refuses a path with a zero unit, which the terminated copy below
    // would cut short.
    if (!isRegularFile(path))
        return nullptr;
    PathString terminated(path);
    // The parse entry prints its errors itself; what the reader writes is not used.
    KILN::Utf16String messages;
    KILN::StringOFlow<unsigned short> messageFlow(&messages);
    KILN::TextWriter<unsigned short> messageWriter(&messageFlow);
    return std::unique_ptr<KILN::Document>(KILN::parseXMLFile(terminated.zeroTerminated(), &messageWriter, flags));
}

WriteResult writeDocument(const PathString& path, KILN::Document& document)
{
    if (KILN::XMLDecl* declaration = document.getXMLDecl()) {
        if (KILN::Node* encoding = declaration->getAttributes()->getNamedItem(KILN::Utf16String(units(u"encoding"))))
            encoding->setNodeValue(units(u"UTF-8"));
    }
    // Serialized in machine order, which is what the utf-16n converter reads.
    KILN::Utf16String text;
    try {
        KILN::StringOFlow<unsigned short> flow(&text);
        KILN::XMLOutputter outputter(flow, KILN::XMLOutputter::entityMode);
        document.output(outputter);
    } catch (const KILN::IOException&) {
        return WriteResult::OutputFailed;
    }
    KILN::ReplacingFile file(path);
    if (!file.open())
        return WriteResult::OpenFailed;
    KILN::TString<char> bytes;
    utf16ToUtf8(text.data(), text.length(), bytes);
    static const char byteOrderMark[] = "\xEF\xBB\xBF";
    if (std::fwrite(byteOrderMark, 1, 3, file.stream()) != 3
        || std::fwrite(bytes.data(), 1, bytes.length(), file.stream()) != bytes.length() || !file.commit())
        return WriteResult::WriteFailed;
    return WriteResult::Done;
}
