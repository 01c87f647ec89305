#include "model/ZephraModel.h"

#include "engine/AnalyserFailure.h"
#include "engine/DictionaryCheck.h"
#include "kiln/base/Utf8String.h"
#include "kiln/file/ConfigurationFile.h"
#include "model/ContentDocument.h"
#include "model/DocumentFile.h"
#include "model/EpubPacker.h"
#include "model/EpubUnpacker.h"
#include "model/Href.h"
#include "model/NavigationDocument.h"
#include "model/PageBreaks.h"
#include "model/PostProcess.h"
#include "model/PreProcess.h"
#include "model/WorkDirectory.h"
#include "model/ZephraModelError.h"

#include <functional>
#include <set>
#include <string>

using KILN::Document;
using KILN::Element;
using KILN::PathString;
using KILN::Utf8String;

namespace {

Utf8String utf8(const PathString& path)
{
    return Utf8String(static_cast<const KILN::Utf16String&>(path));
}

// A book that lists one document twice in its spine has it converted once:
// a second pre-process would annotate the notation itself.
bool firstVisit(std::set<std::u16string>& visited, const PathString& path)
{
    return visited.emplace(path.data(), path.dataEnd()).second;
}

// The folder of the package document: its path up to the last separator.
PathString parentOf(const PathString& path)
{
    PathString parent = path;
    parent.toParent();
    return parent;
}

// The rewritings of one content document after authoring: ruby and word
// breaks in the body, and with the publisher option the head cleaned and the
// page spans marked. Answers the body, or null when there is none.
Element* rewriteAfterAuthoring(Document& document, const char* label, const PostProcessOptions& options)
{
    Element* body = findBody(document);
    if (body) {
        convertRuby(*body, document, label, options.rp_output);
        convertWordBreaks(*body, document);
    }
    if (options.publisher) {
        cleanHead(document);
        if (body)
            markPageBreaks(document, *body);
    }
    return body;
}

} // namespace

ZephraModel::~ZephraModel() = default;

void ZephraModel::createWorkDirectory()
{
    if (m_workDirectory.isEmpty())
        m_workDirectory = ::createWorkDirectory();
}

void ZephraModel::removeWorkDirectory()
{
    if (m_workDirectory.isEmpty())
        return;
    ::removeWorkDirectory(m_workDirectory);
    // Another run may take the name from now on: a second call must not
    // remove its directory.
    m_workDirectory.clear();
}

void ZephraModel::setUpEngine(const PreProcessOptions& options)
{
    if (options.mecabrc && !KILN::isConfigurationFile(options.mecabrc))
        raiseModelError(27, "MeCab's configuration file is not a regular file of at most 1 MiB: %s", options.mecabrc);
    m_engine = std::make_unique<EngineContext>();
    // MeCab takes the first entry of an argument vector as the program name.
    const char* withFile[] = {"zef", "--rcfile", options.mecabrc, nullptr};
    const char* withDefaults[] = {"zef", nullptr};
    const int count = options.mecabrc ? 3 : 1;
    char** arguments = const_cast<char**>(options.mecabrc ? withFile : withDefaults);
    m_engine->tagger.reset(MeCab::createTagger(count, arguments));
    if (!m_engine->tagger)
        raiseModelError(27, "%s", analyserFailure(count, arguments).c_str());
    const std::string problem = dictionaryProblem(*m_engine->tagger);
    if (!problem.empty())
        raiseModelError(27, "%s", problem.c_str());
    if (options.reading_dic) {
        try {
            m_engine->readings = ReadingSource::open(
                options.reading_dic, std::vector<const char*>(arguments, arguments + count));
        } catch (const ReadingSource::Refused& refused) {
            raiseModelError(27, "%s", refused.what());
        }
    }
    m_engine->wakachi = options.wakachi;
    m_engine->kazenoha = options.kazenoha;
    m_engine->jyoshi_wakachi = options.jyoshi_wakachi;
    m_engine->ruby = true;
}

PathString ZephraModel::openBook(const PathString& source, const PathString& destination, std::vector<LinkPair>& spine,
                                 PathString& opfDirectory)
{
    createWorkDirectory();
    // The book would be packed there and removed with the folder.
    if (holdsPath(m_workDirectory, destination))
        raiseModelError(26, "Can't create the output epub file. '%s' It lies in the working folder %s.",
                        utf8(destination).zeroTerminated(), utf8(m_workDirectory).zeroTerminated());
    unpackEpub(source, m_workDirectory, m_limits);
    if (!locateOpf(m_workDirectory, m_opfPath))
        raiseModelError(8, "Can't find the opf file path.");
    m_package = std::make_unique<PackageDocuments>();
    PathString navigationPath = loadPackage(m_opfPath, m_workDirectory, *m_package);
    spineList(*m_package, spine);
    opfDirectory = parentOf(m_opfPath);
    return navigationPath;
}

PathString ZephraModel::contentPath(const PathString& opfDirectory, const Utf8String& href) const
{
    const PathString path = hrefPath(opfDirectory, href);
    if (!staysInside(m_workDirectory, path))
        raiseModelError(12, "Can't open a xhtml file (%s) for reading.", utf8(path).zeroTerminated());
    return path;
}

void ZephraModel::forEachDocument(const PathString& opfDirectory, const std::vector<LinkPair>& spine,
                                  const std::function<void(const PathString&, const LinkPair&)>& convert)
{
    std::set<std::u16string> visited;
    for (uint32_t i = 0; i < spine.size(); ++i) {
        if (m_observer)
            m_observer->documentStarted(i + 1, static_cast<uint32_t>(spine.size()));
        const PathString path = contentPath(opfDirectory, spine[i].href);
        if (firstVisit(visited, path))
            convert(path, spine[i]);
    }
}

void ZephraModel::finishBook(const PathString& destination)
{
    if (m_observer)
        m_observer->documentsDone();
    packEpub(m_workDirectory, destination);
    try {
        removeWorkDirectory();
    } catch (const ZephraModelError& error) {
        m_cleanupProblem = error;
    }
}

void ZephraModel::preProcessEpub(const PreProcessOptions& options, const PathString& source,
                                 const PathString& destination)
{
    setUpEngine(options);
    std::vector<LinkPair> spine;
    PathString opfDirectory;
    // A book without a navigation item fails here too, though the
    // pre-process does not rewrite it.
    openBook(source, destination, spine, opfDirectory);
    forEachDocument(opfDirectory, spine, [this](const PathString& path, const LinkPair&) {
        const std::unique_ptr<Document> document = readContent(path);
        if (Element* body = findBody(*document))
            preProcessBody(*body, *m_engine);
        writeContent(path, *document);
    });
    finishBook(destination);
}

void ZephraModel::postProcessEpub(const PathString& source, const PathString& destination,
                                  const PostProcessOptions& options)
{
    std::vector<TocItem> pageList;
    std::vector<LinkPair> spine;
    PathString opfDirectory;
    const PathString navigationPath = openBook(source, destination, spine, opfDirectory);
    try {
        forEachDocument(opfDirectory, spine, [&](const PathString& path, const LinkPair&) {
            const std::string name = bookName(path);
            const std::unique_ptr<Document> document = readContent(path, name.c_str());
            Element* body = rewriteAfterAuthoring(*document, name.c_str(), options);
            if (options.publisher && body) {
                collectPageBreaks(*body, hrefEncoded(utf8(relativeHref(navigationPath, path))), pageList);
            }
            writeContent(path, *document);
        });
    } catch (const ZephraModelError& error) {
        if (error.number() != 23)
            throw;
        // Documents already converted hold no notation errors any more.
        raiseNotationErrors(error, [&](BookCheck& check) {
            std::set<std::u16string> visited;
            for (const LinkPair& pair : spine) {
                const PathString path = contentPath(opfDirectory, pair.href);
                if (firstVisit(visited, path))
                    check.checkContent(path, bookName(path));
            }
        });
    }
    // A book without page spans keeps its navigation document as it is: an
    // empty page list would only make it invalid.
    if (options.publisher && !pageList.empty())
        rebuildNavigation(navigationPath, pageList, bookName(navigationPath).c_str());
    if (options.page_progression != 0) {
        setPageProgression(*m_package, options.page_progression == 1);
        if (!writeOpf(m_opfPath, *m_package))
            raiseModelError(28, "can't write OPF file");
    }
    finishBook(destination);
}

void ZephraModel::preProcessHtml(const PreProcessOptions& options, const PathString& source,
                                 const PathString& destination)
{
    setUpEngine(options);
    const std::unique_ptr<Document> document = readContent(source);
    if (Element* body = findBody(*document))
        preProcessBody(*body, *m_engine);
    writeContent(destination, *document);
}

void ZephraModel::postProcessHtml(const PathString& source, const PathString& destination,
                                  const PostProcessOptions& options)
{
    const std::string name = utf8(source).zeroTerminated();
    const std::unique_ptr<Document> document = readContent(source, name.c_str());
    try {
        rewriteAfterAuthoring(*document, name.c_str(), options);
    } catch (const ZephraModelError& error) {
        if (error.number() != 23)
            throw;
        raiseNotationErrors(error, [&](BookCheck& check) { check.checkContent(source, name); });
    }
    writeContent(destination, *document);
}

void ZephraModel::raiseNotationErrors(const ZephraModelError& error, const std::function<void(BookCheck&)>& check)
{
    BookCheck found;
    check(found);
    std::vector<std::string> lines;
    const Diagnostic* first = nullptr;
    for (const Diagnostic& diagnostic : found.diagnostics()) {
        if (!diagnostic.isError())
            continue;
        lines.push_back(diagnostic.text());
        if (!first && diagnostic.positioned)
            first = &diagnostic;
    }
    if (!first) {
        ZephraModelError copy(error);
        copy.setDiagnostics(std::move(lines));
        throw copy;
    }
    const std::string place = std::to_string(first->position.line) + ":" + std::to_string(first->position.column)
        + ": " + first->message;
    raiseModelError(std::move(lines), 23, "Ruby parser syntax error. %s:%s", first->document.c_str(), place.c_str());
}

void ZephraModel::checkEpub(const PathString& source, BookCheck& check)
{
    std::vector<LinkPair> spine;
    PathString opfDirectory;
    // The check writes nothing: no destination to keep out of the folder.
    const PathString navigationPath = openBook(source, PathString(), spine, opfDirectory);
    bool navigationInSpine = false;
    forEachDocument(opfDirectory, spine, [&](const PathString& path, const LinkPair&) {
        navigationInSpine = navigationInSpine || path == navigationPath;
        check.checkContent(path, bookName(path));
    });
    // The post-process reads the navigation document for its page list.
    if (!navigationInSpine && isRegularFile(navigationPath))
        check.checkParses(navigationPath, bookName(navigationPath));
    if (m_observer)
        m_observer->documentsDone();
    removeWorkDirectory();
}

void ZephraModel::checkHtml(const PathString& source, BookCheck& check)
{
    check.checkContent(source, utf8(source).zeroTerminated());
}
