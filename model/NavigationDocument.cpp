#include "model/NavigationDocument.h"

#include "kiln/base/Utf8String.h"
#include "model/Diagnostic.h"
#include "model/DocumentFile.h"
#include "model/ZephraModelError.h"

#include <string>

void rebuildNavigation(const KILN::PathString& path, const std::vector<TocItem>& items, const char* bookName)
{
    KILN::Utf8String name(static_cast<const KILN::Utf16String&>(path));
    const std::string native = name.zeroTerminated();
    KILN::XMLParseReport report;
    std::unique_ptr<KILN::Document> navigation;
    const ReadResult read = readDocument(path, ContentParseFlags, report, navigation);
    if (read == ReadResult::NoRegularFile)
        raiseModelError(18, "Can't open the nav file. %s", native.c_str());
    if (read == ReadResult::NotParsed)
        raiseModelError({xmlDiagnostic(bookName ? bookName : native, report).text()}, 19, "The nav file parse error. %s",
                        native.c_str());
    if (!rebuildPageList(*navigation, items))
        raiseModelError(19, "The nav file parse error. %s", native.c_str());
    switch (writeDocument(path, *navigation, WritePlace::WorkFolder)) {
    case WriteResult::Done:
        return;
    case WriteResult::OutputFailed:
        raiseModelError(20, "Can't output the nav file. %s", native.c_str());
    case WriteResult::OpenFailed:
        raiseModelError(21, "Can't open the nav file. %s", native.c_str());
    case WriteResult::WriteFailed:
        raiseModelError(22, "Can't write the nav file. %s", native.c_str());
    }
}
