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
#include "model/WorkerCount.h"
#include "model/ZephraModelError.h"

#include <exception>
#include <functional>
#include <optional>
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

std::unique_ptr<EngineContext> ZephraModel::makeEngine(const PreProcessOptions& options)
{
    if (options.mecabrc && !KILN::isConfigurationFile(options.mecabrc))
        raiseModelError(27, "MeCab's configuration file is not a regular file of at most 1 MiB: %s", options.mecabrc);
    auto engine = std::make_unique<EngineContext>();
    // MeCab takes the first entry of an argument vector as the program name.
    const char* withFile[] = {"zef", "--rcfile", options.mecabrc, nullptr};
    const char* withDefaults[] = {"zef", nullptr};
    const int count = options.mecabrc ? 3 : 1;
    char** arguments = const_cast<char**>(options.mecabrc ? withFile : withDefaults);
    engine->tagger.reset(MeCab::createTagger(count, arguments));
    if (!engine->tagger)
        raiseModelError(27, "%s", analyserFailure(count, arguments).c_str());
    const std::string problem = dictionaryProblem(*engine->tagger);
    if (!problem.empty())
        raiseModelError(27, "%s", problem.c_str());
    if (options.reading_dic) {
        try {
            engine->readings = ReadingSource::open(
                options.reading_dic, std::vector<const char*>(arguments, arguments + count));
        } catch (const ReadingSource::Refused& refused) {
            raiseModelError(27, "%s", refused.what());
        }
    }
    engine->wakachi = options.wakachi;
    engine->kazenoha = options.kazenoha;
    engine->jyoshi_wakachi = options.jyoshi_wakachi;
    engine->ruby = true;
    return engine;
}

WorkerPool& ZephraModel::pool()
{
    if (!m_pool)
        m_pool = std::make_unique<WorkerPool>(workerCount());
    return *m_pool;
}

void ZephraModel::setUpEngines(const PreProcessOptions& options)
{
    m_engines.clear();
    m_contexts.clear();
    // The first analyser tells of a bad configuration before a thread starts.
    m_engines.push_back(makeEngine(options));
    while (m_engines.size() < pool().size())
        m_engines.push_back(makeEngine(options));
    for (const std::unique_ptr<EngineContext>& engine : m_engines)
        m_contexts.push_back(engine.get());
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

void ZephraModel::forEachDocument(WorkerPool& workers, const PathString& opfDirectory,
                                  const std::vector<LinkPair>& spine, const Conversion& convert)
{
    // The paths are worked out first, in spine order; one that leaves the
    // working directory fails after the documents before it.
    std::set<std::u16string> visited;
    std::vector<std::optional<PathString>> paths;  // none for a file met before
    std::exception_ptr badPath;
    for (const LinkPair& pair : spine) {
        try {
            const PathString path = contentPath(opfDirectory, pair.href);
            paths.push_back(firstVisit(visited, path) ? std::optional<PathString>(path) : std::nullopt);
        } catch (const ZephraModelError&) {
            badPath = std::current_exception();
            break;
        }
    }
    const auto count = static_cast<uint32_t>(spine.size());
    auto tell = [&](size_t index) {
        if (m_observer)
            m_observer->documentStarted(static_cast<uint32_t>(index + 1), count);
    };
    workers.run(
        paths.size(),
        [&](size_t index, unsigned worker) {
            if (paths[index])
                convert(index, *paths[index], worker);
        },
        tell);
    if (badPath) {
        tell(paths.size());
        std::rethrow_exception(badPath);
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
    setUpEngines(options);
    std::vector<LinkPair> spine;
    PathString opfDirectory;
    // A book without a navigation item fails here too, though the
    // pre-process does not rewrite it.
    openBook(source, destination, spine, opfDirectory);
    forEachDocument(pool(), opfDirectory, spine, [this](size_t, const PathString& path, unsigned worker) {
        const std::unique_ptr<Document> document = readContent(path);
        if (Element* body = findBody(*document))
            preProcessBody(*body, m_contexts, pool(), worker);
        writeContent(path, *document, WritePlace::WorkFolder);
    });
    finishBook(destination);
}

void ZephraModel::postProcessEpub(const PathString& source, const PathString& destination,
                                  const PostProcessOptions& options)
{
    std::vector<LinkPair> spine;
    PathString opfDirectory;
    const PathString navigationPath = openBook(source, destination, spine, opfDirectory);
    // Each document's page breaks, joined in spine order after.
    std::vector<std::vector<TocItem>> pages(spine.size());
    try {
        forEachDocument(pool(), opfDirectory, spine, [&](size_t index, const PathString& path, unsigned) {
            const std::string name = bookName(path);
            const std::unique_ptr<Document> document = readContent(path, name.c_str());
            Element* body = rewriteAfterAuthoring(*document, name.c_str(), options);
            if (options.publisher && body)
                collectPageBreaks(*body, hrefEncoded(utf8(relativeHref(navigationPath, path))), pages[index]);
            writeContent(path, *document, WritePlace::WorkFolder);
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
    std::vector<TocItem> pageList;
    for (std::vector<TocItem>& documentPages : pages)
        pageList.insert(pageList.end(), std::make_move_iterator(documentPages.begin()),
                        std::make_move_iterator(documentPages.end()));
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
    setUpEngines(options);
    const std::unique_ptr<Document> document = readContent(source);
    if (Element* body = findBody(*document))
        preProcessBody(*body, m_contexts, pool(), 0);
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
    // The check gathers its findings in order, on this thread.
    WorkerPool oneWorker(1);
    forEachDocument(oneWorker, opfDirectory, spine, [&](size_t, const PathString& path, unsigned) {
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
