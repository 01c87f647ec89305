#pragma once

#include "engine/EngineContext.h"
#include "kiln/base/PathString.h"
#include "model/BookCheck.h"
#include "model/ModelOptions.h"
#include "model/PackageDocuments.h"
#include "model/ProgressObserver.h"
#include "model/UnpackLimits.h"
#include "model/WorkerPool.h"
#include "model/ZephraModelError.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

// Runs one conversion for a front end: the pre-process or post-process of an
// EPUB (unpacked into a working directory of its own, rewritten, packed) or
// of a single XHTML file. Every failure is thrown as a ZephraModelError; the
// destination is written only by a conversion that succeeds, and the working
// directory stays after a failure until removeWorkDirectory.
//
// The content documents of a book are converted on a pool of workers
// (workerCount), each pre-processing with an analyser of its own made from
// the same options; what they share (the options, the working directory,
// the package) is only read while they run. Errors, messages and progress
// reports come in spine order, as from a one-thread run, on the calling
// thread. A model serves one conversion at a time.
class ZephraModel {
public:
    ZephraModel() = default;
    ZephraModel(const ZephraModel&) = delete;
    ZephraModel& operator=(const ZephraModel&) = delete;
    // Frees the package, the analyser and the path; never touches files.
    ~ZephraModel();

    void preProcessEpub(const PreProcessOptions& options, const KILN::PathString& source,
                        const KILN::PathString& destination);
    void postProcessEpub(const KILN::PathString& source, const KILN::PathString& destination,
                         const PostProcessOptions& options);
    void preProcessHtml(const PreProcessOptions& options, const KILN::PathString& source,
                        const KILN::PathString& destination);
    void postProcessHtml(const KILN::PathString& source, const KILN::PathString& destination,
                         const PostProcessOptions& options);

    // Checks the book (EPUB) or the one XHTML file as the post-process would
    // read it, writing nothing but the working directory it unpacks into and
    // removes again; a book that cannot be opened at all still raises the
    // post-process's error.
    void checkEpub(const KILN::PathString& source, BookCheck& check);
    void checkHtml(const KILN::PathString& source, BookCheck& check);

    // Makes the working directory unless the model has one (error 1).
    void createWorkDirectory();
    // Removes the working directory, if any, with everything in it (error 2).
    void removeWorkDirectory();
    const KILN::PathString& workDirectory() const { return m_workDirectory; }
    // Why the working directory of a successful conversion could not be
    // removed: the book is written, so this is no failure of the conversion.
    const std::optional<ZephraModelError>& cleanupProblem() const { return m_cleanupProblem; }

    // Told of each content document as it is converted; null for none.
    void setObserver(ProgressObserver* observer) { m_observer = observer; }
    // How far an EPUB may unpack (error 29 beyond).
    void setUnpackLimits(const UnpackLimits& limits) { m_limits = limits; }

private:
    // An analyser with the options' switches (error 27).
    static std::unique_ptr<EngineContext> makeEngine(const PreProcessOptions& options);
    // Creates an analyser for each worker of the pool.
    void setUpEngines(const PreProcessOptions& options);
    WorkerPool& pool();
    // Unpacks source and loads its package; answers the navigation path and
    // fills the spine and the package document's folder. A destination in
    // the working directory is refused first (error 26).
    KILN::PathString openBook(const KILN::PathString& source, const KILN::PathString& destination,
                              std::vector<LinkPair>& spine, KILN::PathString& opfDirectory);
    // The file a spine href names below the package document's folder
    // (error 12 when it would leave the working directory).
    KILN::PathString contentPath(const KILN::PathString& opfDirectory, const KILN::Utf8String& href) const;
    // Calls convert on the pool's workers with the spine index and the path
    // of every content document, once per file, telling the observer; a
    // failure is raised as the first failing document's in spine order.
    using Conversion = std::function<void(size_t index, const KILN::PathString& path, unsigned worker)>;
    void forEachDocument(WorkerPool& workers, const KILN::PathString& opfDirectory,
                         const std::vector<LinkPair>& spine, const Conversion& convert);
    void finishBook(const KILN::PathString& destination);
    // Raises error 23 again with every error the book's documents hold,
    // from a check of them, and the first one's place in its message.
    [[noreturn]] void raiseNotationErrors(const ZephraModelError& error, const std::function<void(BookCheck&)>& check);
    std::string bookName(const KILN::PathString& path) const { return nameInBook(m_workDirectory, path); }

    std::unique_ptr<PackageDocuments> m_package;
    KILN::PathString m_opfPath;
    KILN::PathString m_workDirectory;
    // One analyser per worker of the pool.
    std::vector<std::unique_ptr<EngineContext>> m_engines;
    std::vector<const EngineContext*> m_contexts;
    std::unique_ptr<WorkerPool> m_pool;
    ProgressObserver* m_observer = nullptr;
    UnpackLimits m_limits;
    std::optional<ZephraModelError> m_cleanupProblem;
};
