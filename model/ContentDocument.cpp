#include "model/ContentDocument.h"

#include "model/Diagnostic.h"
#include "model/DocumentFile.h"
#include "model/NamespaceScope.h"
#include "model/XmlLookup.h"
#include "model/ZephraModelError.h"

using KILN::PathString;

std::unique_ptr<KILN::Document> readContent(const PathString& path, const char* name)
{
    KILN::XMLParseReport report;
    std::unique_ptr<KILN::Document> document;
    const ReadResult read = readDocument(path, ContentParseFlags, report, document);
    if (read == ReadResult::NoRegularFile)
        raiseModelError(12, "Can't open a xhtml file (%s) for reading.", toUtf8(path).zeroTerminated());
    if (read == ReadResult::NotParsed) {
        const Diagnostic diagnostic = xmlDiagnostic(name ? name : toUtf8(path).zeroTerminated(), report);
        raiseModelError({diagnostic.text()}, 13, "Can't parse the xhtml file (%s).", toUtf8(path).zeroTerminated());
    }
    return document;
}

void writeContent(const PathString& path, KILN::Document& document, WritePlace place)
{
    switch (writeDocument(path, document, place)) {
    case WriteResult::Done:
        return;
    case WriteResult::OutputFailed:
        raiseModelError(14, "Can't output the xhtml file (%s).", toUtf8(path).zeroTerminated());
    case WriteResult::OpenFailed:
        raiseModelError(15, "Can't open for writing the xhtml file (%s).", toUtf8(path).zeroTerminated());
    case WriteResult::WriteFailed:
        raiseModelError(16, "Can't write the xhtml file (%s).", toUtf8(path).zeroTerminated());
    }
}

KILN::Element* findBody(KILN::Document& document)
{
    const KILN::Element* root = firstChildElement(document);
    return root ? firstXhtmlChild(*root, u"body") : nullptr;
}
