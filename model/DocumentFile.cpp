#include "model/DocumentFile.h"

#include "kiln/base/Exception.h"
#include "kiln/base/NamedNodeMap.h"
#include "kiln/base/ParseXMLFile.h"
#include "kiln/base/StringOFlow.h"
#include "kiln/base/TextWriter.h"
#include "kiln/base/XMLDecl.h"
#include "kiln/base/XMLOutputter.h"
#include "kiln/file/FileOFlow.h"
#include "kiln/file/NativePath.h"
#include "kiln/file/OverwrittenFile.h"
#include "kiln/file/RegularFile.h"
#include "kiln/file/ReplacingFile.h"
#include "model/XmlLookup.h"

#include <sys/stat.h>

#include <string>

using KILN::PathString;

bool isRegularFile(const PathString& path)
{
    std::string native;
    struct stat st;
    return KILN::toNativePath(path, native) && ::stat(native.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

namespace {

// The most bytes a document may have: the parser counts in 32 bits.
constexpr uint64_t MaxDocumentBytes = UINT32_MAX - 1;

} // namespace

ReadResult readDocument(const PathString& path, uint32_t flags, KILN::XMLParseReport& report,
                        std::unique_ptr<KILN::Document>& document, KILN::XMLSourceMap* sources)
{
    report = KILN::XMLParseReport();
    document.reset();
    std::string bytes;
    switch (KILN::readRegularFile(path, bytes, MaxDocumentBytes)) {
    case KILN::FileRead::NotRegular:
        return ReadResult::NoRegularFile;
    case KILN::FileRead::Failed:
        return ReadResult::NotParsed;
    case KILN::FileRead::Read:
        break;
    }
    // What the reader writes is not used: the parse tells its errors itself.
    KILN::Utf16String messages;
    KILN::StringOFlow<unsigned short> messageFlow(&messages);
    KILN::TextWriter<unsigned short> messageWriter(&messageFlow);
    document.reset(KILN::parseXMLBytes(reinterpret_cast<const uint8_t*>(bytes.data()),
                                       static_cast<uint32_t>(bytes.size()), &messageWriter, flags, report, sources));
    return document ? ReadResult::Parsed : ReadResult::NotParsed;
}

std::unique_ptr<KILN::Document> readDocument(const PathString& path, uint32_t flags)
{
    KILN::XMLParseReport report;
    std::unique_ptr<KILN::Document> document;
    readDocument(path, flags, report, document);
    KILN::printParseReport(report);
    return document;
}

std::unique_ptr<KILN::Document> readDocument(const PathString& path, uint32_t flags, KILN::XMLParseReport& report,
                                             KILN::XMLSourceMap* sources)
{
    std::unique_ptr<KILN::Document> document;
    readDocument(path, flags, report, document, sources);
    return document;
}

namespace {

// Serializes the document into file, an open ReplacingFile or OverwrittenFile.
template <class File>
WriteResult serializeInto(File& file, KILN::Document& document)
{
    if (!file.open())
        return WriteResult::OpenFailed;
    // The text is encoded and written as it is made.
    try {
        KILN::FileOFlow bytes(file.stream(), true);
        KILN::XMLOutputter::writeUtf8(document, bytes, KILN::XMLOutputter::entityMode, true);
    } catch (const KILN::IOException& e) {
        const bool fileFailed = e.code() == KILN::IOException::ShortWrite || e.code() == KILN::IOException::FileError;
        return fileFailed ? WriteResult::WriteFailed : WriteResult::OutputFailed;
    }
    return file.commit() ? WriteResult::Done : WriteResult::WriteFailed;
}

} // namespace

WriteResult writeDocument(const PathString& path, KILN::Document& document, WritePlace place)
{
    if (KILN::XMLDecl* declaration = document.getXMLDecl()) {
        if (KILN::Node* encoding = declaration->getAttributes()->getNamedItem(KILN::Utf16String(units(u"encoding"))))
            encoding->setNodeValue(units(u"UTF-8"));
    }
    if (place == WritePlace::WorkFolder) {
        KILN::OverwrittenFile file(path);
        return serializeInto(file, document);
    }
    // No flush to disk: a document's file is a step towards a book, which
    // is flushed as a whole.
    KILN::ReplacingFile file(path, KILN::ReplacingFile::Durability::Scratch);
    return serializeInto(file, document);
}
