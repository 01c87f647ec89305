#include "zef/Zephra.h"

#include "kiln/base/Exception.h"
#include "kiln/base/Utf8String.h"
#include "kiln/file/InstallationFile.h"
#include "kiln/file/ReadingDictionary.h"
#include "app/OptionValue.h"
#include "model/ZephraModel.h"
#include "model/PrintableText.h"
#include "model/ZephraModelError.h"
#include "zef/ProgressLine.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <new>
#include <string>

namespace {

enum Kind : int32_t {
    VersionKind = 1,
    HelpKind = 2,
    PositionalKind = 3,
    PreKind = 4,
    PostKind = 5,
    PreHtmlKind = 6,
    PostHtmlKind = 7,
    JyoshiKind = 8,
    WakachiOffKind = 9,
    PublisherOffKind = 10,
    RightToLeftKind = 11,
    LeftToRightKind = 12,
    NoProgressionKind = 13,
    KazenohaKind = 14,
    WithoutRpKind = 15,
    ReadingDicKind = 16,
    MaxSizeKind = 20,
    MaxEntriesKind = 21,
    MaxRatioKind = 22,
    CheckKind = 23,
    CheckHtmlKind = 24,
};

const KILN::Application::Option zephraOptions[] = {
    {"--version", VersionKind},
    {"-V", VersionKind},
    {"-h", HelpKind},
    {"-help", HelpKind},
    {"--help", HelpKind},
    {"-a", PreKind},
    {"--pre", PreKind},
    {"-b", PostKind},
    {"--post", PostKind},
    {"-ha", PreHtmlKind},
    {"--pre-html", PreHtmlKind},
    {"-hb", PostHtmlKind},
    {"--post-html", PostHtmlKind},
    {"-c", CheckKind},
    {"--check", CheckKind},
    {"-hc", CheckHtmlKind},
    {"--check-html", CheckHtmlKind},
    {"--pre-jyoshi-wakachi", JyoshiKind},
    {"-j", JyoshiKind},
    {"--pre-kazenoha-wakachi", KazenohaKind},
    {"-m", KazenohaKind},
    {"--pre-wakachi-off", WakachiOffKind},
    {"-w-", WakachiOffKind},
    {"-p-", PublisherOffKind},
    {"--post-publisher-uniq-process-off", PublisherOffKind},
    {"-r", RightToLeftKind},
    {"--rtol", RightToLeftKind},
    {"--page-progression-rtol", RightToLeftKind},
    {"-l", LeftToRightKind},
    {"--ltor", LeftToRightKind},
    {"--page-progression-ltor", LeftToRightKind},
    {"-n", NoProgressionKind},
    {"--none", NoProgressionKind},
    {"--page-progression-none", NoProgressionKind},
    {"-br-", WithoutRpKind},
    {"--without-rp", WithoutRpKind},
    {"--reading-dic", ReadingDicKind},
    {"--max-unpacked-size", MaxSizeKind},
    {"--max-entries", MaxEntriesKind},
    {"--max-ratio", MaxRatioKind},
    {nullptr, 0},
};

void printModelError(const ZephraModelError& error, const char* kind = "ERROR")
{
    for (const std::string& line : error.diagnostics())
        std::fprintf(stderr, "%s\n", printableText(line).c_str());
    std::fprintf(stderr, "%s: %03d %s\n", kind, static_cast<int>(error.number()), error.text());
}

// A count or a size such as "8G" (K, M, G and T count in powers of 1024);
// false for anything else, zero and overflow included.
bool parseLimit(const char* text, uint64_t& limit)
{
    if (!text || *text < '0' || *text > '9')
        return false;
    char* end;
    errno = 0;
    const unsigned long long value = std::strtoull(text, &end, 10);
    int shift = 0;
    if (*end != '\0') {
        const std::string units = "KMGT";
        const size_t unit = units.find(*end);
        if (unit == std::string::npos || end[1] != '\0')
            return false;
        shift = 10 * static_cast<int>(unit + 1);
    }
    if (errno == ERANGE || value == 0 || value > (~uint64_t(0) >> shift))
        return false;
    limit = static_cast<uint64_t>(value) << shift;
    return true;
}

// Writes out what the banner or usage left in standard output's buffer; a
// full disk or a closed pipe is an error, not a success.
int32_t flushedOutput()
{
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return 0;
    std::fputs("ERROR: cannot write standard output\n", stderr);
    return Zephra::PostProcessFailed;
}

} // namespace

bool Zephra::handleOption(int32_t kind, int32_t& index, const char* value)
{
    switch (kind) {
    case ReadingDicKind:
        return KILN::takeOptionValue(m_argc, m_argv, index, value, m_readingDic);
    case VersionKind:
    case HelpKind:
    case PreKind:
    case PostKind:
    case PreHtmlKind:
    case PostHtmlKind:
    case CheckKind:
    case CheckHtmlKind:
        m_mode = kind;
        return true;
    case JyoshiKind:
        m_preOptions.jyoshi_wakachi = true;
        return true;
    case KazenohaKind:
        m_preOptions.kazenoha = true;
        return true;
    case WakachiOffKind:
        m_preOptions.wakachi = false;
        m_preOptions.jyoshi_wakachi = false;
        return true;
    case PublisherOffKind:
        m_postOptions.publisher = false;
        return true;
    case RightToLeftKind:
        m_postOptions.page_progression = 1;
        return true;
    case LeftToRightKind:
        m_postOptions.page_progression = 2;
        return true;
    case NoProgressionKind:
        m_postOptions.page_progression = 0;
        return true;
    case WithoutRpKind:
        m_postOptions.rp_output = false;
        return true;
    case MaxSizeKind:
    case MaxEntriesKind:
    case MaxRatioKind: {
        uint64_t& limit = kind == MaxSizeKind ? m_limits.size : kind == MaxEntriesKind ? m_limits.entries : m_limits.ratio;
        if (parseLimit(value, limit))
            return true;
        std::fprintf(stderr, "ERROR: a limit needs a number above 0 after '=': %s\n", m_argv[index]);
        return false;
    }
    default:
        break;
    }
    const char* argument = m_argv[index];
    if (m_source.isEmpty()) {
        m_source.assignUtf8(argument);
    } else if (m_destination.isEmpty()) {
        m_destination.assignUtf8(argument);
    } else {
        std::fprintf(stderr, "ERROR: unknown option:%s\n", argument);
        return false;
    }
    return true;
}

const KILN::Application::Option* Zephra::optionTable() const
{
    return zephraOptions;
}

int32_t Zephra::run()
{
    try {
        switch (m_mode) {
        case Version:
            printBanner();
            return flushedOutput();
        case Help:
            printUsage();
            return flushedOutput();
        case PreEpub:
        case PostEpub:
        case PreHtml:
        case PostHtml:
            return convert();
        case CheckEpub:
        case CheckHtml:
            return check();
        default:
            return 0;
        }
    } catch (int32_t status) {
        return status;
    }
}

int32_t Zephra::convert()
{
    if (m_source.isEmpty()) {
        std::fputs("ERROR: The source EPUB path is not set.\n", stderr);
        fail(NoSource);
    }
    if (m_destination.isEmpty()) {
        std::fputs("ERROR: The distination EPUB path is not set.\n", stderr);
        fail(NoDestination);
    }
    const bool pre = m_mode == PreEpub || m_mode == PreHtml;
    std::string mecabrc;
    if (pre) {
        if (!KILN::installationFile("mecabrc", mecabrc)) {
            std::fputs("ERROR: Can't get mecabrc path.\n", stderr);
            fail(NoMecabrc);
        }
        m_preOptions.mecabrc = mecabrc.c_str();
        if (m_readingDic.empty())
            KILN::readingDictionary(m_readingDic);
        if (!m_readingDic.empty())
            m_preOptions.reading_dic = m_readingDic.c_str();
    }
    ZephraModel model;
    ProgressLine progress(stderr);
    model.setObserver(&progress);
    model.setUnpackLimits(m_limits);
    const int32_t failed = pre ? PreProcessFailed : PostProcessFailed;
    try {
        switch (m_mode) {
        case PreEpub:
            model.preProcessEpub(m_preOptions, m_source, m_destination);
            break;
        case PostEpub:
            model.postProcessEpub(m_source, m_destination, m_postOptions);
            break;
        case PreHtml:
            model.preProcessHtml(m_preOptions, m_source, m_destination);
            break;
        default:
            model.postProcessHtml(m_source, m_destination, m_postOptions);
            break;
        }
    } catch (const ZephraModelError& error) {
        progress.documentsDone();
        printModelError(error);
        return discardWorkDirectory(model, failed);
    } catch (const std::bad_alloc&) {
        progress.documentsDone();
        std::fputs("ERROR: not enough memory for the conversion\n", stderr);
        return discardWorkDirectory(model, failed);
    } catch (const KILN::Exception& error) {
        progress.documentsDone();
        std::fprintf(stderr, "ERROR: unexpected failure in %s, line %d\n", error.sourceFile(),
                     static_cast<int>(error.line()));
        return discardWorkDirectory(model, failed);
    } catch (const std::exception& error) {
        progress.documentsDone();
        std::fprintf(stderr, "ERROR: unexpected failure: %s\n", error.what());
        return discardWorkDirectory(model, failed);
    }
    // The book is written: a folder left behind only deserves a warning.
    if (model.cleanupProblem())
        printModelError(*model.cleanupProblem(), "WARNING");
    return 0;
}

int32_t Zephra::discardWorkDirectory(ZephraModel& model, int32_t status)
{
    // What the failed conversion unpacked would otherwise stay in the
    // temporary folder. The failure has its ERROR line already.
    try {
        model.removeWorkDirectory();
    } catch (const ZephraModelError& leftOver) {
        printModelError(leftOver, "WARNING");
    }
    return status;
}

int32_t Zephra::check()
{
    if (m_source.isEmpty()) {
        std::fputs("ERROR: The source EPUB path is not set.\n", stderr);
        fail(NoSource);
    }
    if (!m_destination.isEmpty()) {
        // The check writes nothing: a second path is a mistake, not a target.
        std::fprintf(stderr, "ERROR: unknown option:%s\n", KILN::Utf8String(m_destination).zeroTerminated());
        fail(StoppedParsing);
    }
    ZephraModel model;
    ProgressLine progress(stderr);
    model.setObserver(&progress);
    BookCheck found;
    try {
        if (m_mode == CheckEpub)
            model.checkEpub(m_source, found);
        else
            model.checkHtml(m_source, found);
    } catch (const ZephraModelError& error) {
        progress.documentsDone();
        printModelError(error);
        return discardWorkDirectory(model, CheckFoundErrors);
    } catch (const std::bad_alloc&) {
        progress.documentsDone();
        std::fputs("ERROR: not enough memory for the check\n", stderr);
        return discardWorkDirectory(model, CheckFoundErrors);
    }
    for (const Diagnostic& diagnostic : found.diagnostics())
        std::printf("%s\n", printableText(diagnostic.text()).c_str());
    std::printf("%s\n", found.summary().c_str());
    return found.errors() == 0 ? 0 : CheckFoundErrors;
}

void Zephra::printUsage()
{
    std::fputs("zef [options] source_path destination_path\n"
               "OPTION:\n"
               "-a, --pre          EPUB pre-process\n"
               "-b, --post         EPUB post-process (default)\n"
               "-ha, --pre-html    HTML pre-process\n"
               "-hb, --post-html   HTML post-process\n"

               "PRE-PROCESS OPTIONS:\n"
               "-w-, --pre-wakachi-off       don't output wakati information.\n"
               "-j, --pre-jyoshi-wakachi     output jyoshi wakati information.\n"
               "-m, --pre-kazenoha-wakati    use kazenoha wakati rule.\n"
               "POST-PROCESS OPTIONS:\n"
               "-p-, --post-publisher-uniq-process-off   don't do Dolphin Publisher uniq process.\n"
               "-r, --rtol, --page-progression-rtol      output right to left page progression.\n"
               "-l, --ltor, --page-progression-ltor      output left to ritht page progression.\n"
               "-n, --none, --page-progression-none      don't output page progression. (default)\n"
               "-br-, --without-rp                       don't output braces pair with rp tags.\n",
               stdout);
}

void Zephra::printBanner()
{
    std::fputs("zef version 1.3.0\n", stdout);
}
