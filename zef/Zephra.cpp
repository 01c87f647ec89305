#include "zef/Zephra.h"

#include "kiln/base/Utf8String.h"
#include "kiln/file/InstallationFile.h"
#include "model/ZephraModel.h"
#include "model/ZephraModelError.h"
#include "zef/ProgressLine.h"

#include <cstdio>
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
    CheckKind = 16,
    CheckHtmlKind = 17,
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
    {nullptr, 0},
};

void printModelError(const ZephraModelError& error)
{
    for (const std::string& line : error.diagnostics())
        std::fprintf(stderr, "%s\n", line.c_str());
    std::fprintf(stderr, "ERROR: %03d %s\n", static_cast<int>(error.number()), error.text());
}

// Prints the error of a failed run and removes what it unpacked, which would
// otherwise stay in the temporary folder.
void reportFailure(ZephraModel& model, ProgressLine& progress, const ZephraModelError& error)
{
    progress.documentsDone();
    printModelError(error);
    try {
        model.removeWorkDirectory();
    } catch (const ZephraModelError& leftOver) {
        printModelError(leftOver);
    }
}

} // namespace

bool Zephra::handleOption(int32_t kind, int32_t& index, const char*)
{
    switch (kind) {
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
            return 0;
        case Help:
            printUsage();
            return 0;
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
    }
    ZephraModel model;
    ProgressLine progress(stderr);
    model.setObserver(&progress);
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
        reportFailure(model, progress, error);
        return pre ? PreProcessFailed : PostProcessFailed;
    }
    return 0;
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
        reportFailure(model, progress, error);
        return CheckFoundErrors;
    }
    for (const Diagnostic& diagnostic : found.diagnostics())
        std::printf("%s\n", diagnostic.text().c_str());
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
