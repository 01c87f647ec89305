#include "kazenohawakati/Wakati.h"

#include "kazenohawakati/LineReader.h"
#include "app/OptionValue.h"
#include "engine/AnalyserFailure.h"
#include "engine/DictionaryCheck.h"
#include "engine/LiteralText.h"
#include "engine/WordDivision.h"
#include "kiln/base/Exception.h"
#include "kiln/base/TextWriter.h"
#include "kiln/file/FileIFlow.h"
#include "kiln/file/ConfigurationFile.h"
#include "kiln/file/FileOFlow.h"
#include "kiln/file/InstallationFile.h"
#include "kiln/file/OutputFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>

using KILN::IFlow;
using KILN::IOException;
using KILN::OFlow;
using KILN::TString;

namespace {

enum Kind : int32_t {
    VersionKind = 1,
    HelpKind = 2,
    RubyKind = 4,
    JyoshiKind = 8,
    NoKazenohaKind = 14,
    ReadingDicKind = 16,
};

const KILN::Application::Option wakatiOptions[] = {
    {"--version", VersionKind},
    {"-V", VersionKind},
    {"-h", HelpKind},
    {"-help", HelpKind},
    {"--help", HelpKind},
    {"-r", RubyKind},
    {"--ruby", RubyKind},
    {"-m-", NoKazenohaKind},
    {"--kazenoha-", NoKazenohaKind},
    {"-j", JyoshiKind},
    {"--jyoshi", JyoshiKind},
    {"--reading-dic", ReadingDicKind},
    {nullptr, 0},
};

// The ideographic space that stands for a word division in the output.
const char ideographicSpace[] = "\xE3\x80\x80";

// Strips one trailing line feed, then one trailing carriage return.
void stripLineEnd(TString<char>& line)
{
    for (char end : {'\n', '\r'}) {
        if (!line.isEmpty() && line[line.length() - 1] == end)
            line.erase(line.length() - 1, 1);
    }
}

// Appends the divided text with every division "_" written as an ideographic
// space and the input's own "_" and "~", which the engine doubled, as the
// characters again; a particle division "~" stays. One pass.
void appendSpaced(const TString<char>& text, TString<char>& output)
{
    const char* from = text.data();
    const char* const end = from + text.length();
    for (const char* at = from; at < end; ++at) {
        if (*at != '_' && *at != '~')
            continue;
        output.append(from, static_cast<uint32_t>(at - from));
        if (at + 1 < end && at[1] == *at)
            output.append(*at++);
        else if (*at == '_')
            output.append(ideographicSpace, 3);
        else
            output.append('~');
        from = at + 1;
    }
    output.append(from, static_cast<uint32_t>(end - from));
}

// True when the path names something that reads as a text: a regular file or
// a stream (a pipe, a terminal, a socket). A directory opens on Linux, but
// only fails at the first read.
bool isReadableKind(const char* path)
{
    struct stat st;
    return stat(path, &st) == 0
        && (S_ISREG(st.st_mode) || S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode) || S_ISSOCK(st.st_mode));
}

// The path and the system's reason for the last failure.
std::string withReason(KILN::Utf8String& path)
{
    const char* reason = std::strerror(errno);
    return std::string(path.zeroTerminated()) + ": " + reason;
}

// True when both paths name one existing file.
bool sameFile(const char* a, const char* b)
{
    struct stat first;
    struct stat second;
    return stat(a, &first) == 0 && stat(b, &second) == 0 && first.st_dev == second.st_dev
        && first.st_ino == second.st_ino;
}

} // namespace

bool Wakati::handleOption(int32_t kind, int32_t& index, const char* value)
{
    switch (kind) {
    case ReadingDicKind:
        return KILN::takeOptionValue(m_argc, m_argv, index, value, m_readingDic);
    case VersionKind:
        m_mode = Version;
        return true;
    case HelpKind:
        m_mode = Help;
        return true;
    case RubyKind:
        m_ruby = true;
        return true;
    case JyoshiKind:
        m_jyoshiWakachi = true;
        return true;
    case NoKazenohaKind:
        m_kazenoha = false;
        return true;
    default:
        break;
    }
    const char* argument = m_argv[index];
    if (m_source.isEmpty()) {
        m_source = argument;
    } else if (m_destination.isEmpty()) {
        m_destination = argument;
    } else {
        std::fprintf(stderr, "ERROR: unknown option:%s\n", argument);
        return false;
    }
    return true;
}

const KILN::Application::Option* Wakati::optionTable() const
{
    return wakatiOptions;
}

int32_t Wakati::run()
{
    try {
        if (m_mode == Divide) {
            divideFiles();
            return 0;
        }
        if (m_mode == Version)
            printBanner();
        else
            printUsage();
        if (std::fflush(stdout) != 0)
            failWith(OutputFailed, "cannot write ", "standard output");
    } catch (int32_t status) {
        return status;
    } catch (const LineTooLong&) {
        std::fprintf(stderr, "ERROR: a line of the input is longer than %u MiB\n", LineReader::MaxLineBytes >> 20);
        return InputFailed;
    } catch (const std::bad_alloc&) {
        std::fputs("ERROR: not enough memory for the input (a line too long?)\n", stderr);
        return InputFailed;
    }
    return 0;
}

void Wakati::printUsage()
{
    std::fputs("kazenohawakati.exe [options] source_path destination_path\n"
               "OPTION:\n"
               "-r, --ruby         Output ruby information\n"
               "-m-, --kazenoha-   Don't use kazenoha wakati rule\n"
               "-j, --jyoshi       Output jyoshi wakati\n",
               stdout);
}

void Wakati::printBanner()
{
    std::fputs("kazenohawakati version 1.3.0\n", stdout);
}

void Wakati::divideFiles()
{
    const bool fromFile = !m_source.isEmpty();
    const bool toFile = !m_destination.isEmpty();
    const auto input = fromFile ? std::make_unique<KILN::FileIFlow>(m_source.zeroTerminated())
                                : std::make_unique<KILN::FileIFlow>(stdin, true);
    if (!input->isOpen())
        failWith(InputFailed, "cannot open ", withReason(m_source).c_str());
    if (fromFile && !isReadableKind(m_source.zeroTerminated()))
        failWith(InputFailed, "not a file or a stream: ", m_source.zeroTerminated());
    // Opening the destination truncates it: it must not be the source.
    if (toFile && sameFile(m_source.zeroTerminated(), m_destination.zeroTerminated()))
        failWith(OutputFailed, "source and destination are the same file: ", m_destination.zeroTerminated());
    // The analyser first, so that its failure creates no destination.
    const EngineContext context = createEngine();
    // A file is written beside its destination and takes its place only
    // once complete: a failed run leaves an existing file as it was.
    std::unique_ptr<KILN::OutputFile> file;
    if (toFile) {
        file = std::make_unique<KILN::OutputFile>(m_destination.zeroTerminated());
        if (!file->open())
            failWith(OutputFailed, "cannot open ", withReason(m_destination).c_str());
    }
    KILN::FileOFlow output(toFile ? file->stream() : stdout, true);
    divide(context, *input, output);
    if (file && !file->commit())
        failWith(OutputFailed, "cannot write ", m_destination.zeroTerminated());
}

EngineContext Wakati::createEngine()
{
    EngineContext context;
    // The converters' configuration when it is installed, so that all
    // programs divide with the same dictionary; else MeCab's default one.
    std::string mecabrc;
    const bool pinned = KILN::existingInstallationFile("mecabrc", mecabrc);
    if (pinned && !KILN::isConfigurationFile(mecabrc))
        failWith(AnalyserFailed, "MeCab's configuration file is not a regular file of at most 1 MiB: ", mecabrc.c_str());
    // MeCab takes the first entry of an argument vector as the program name.
    const char* withFile[] = {"kazenohawakati", "--rcfile", mecabrc.c_str(), nullptr};
    const char* withDefaults[] = {"kazenohawakati", nullptr};
    const int count = pinned ? 3 : 1;
    char** arguments = const_cast<char**>(pinned ? withFile : withDefaults);
    context.tagger.reset(MeCab::createTagger(count, arguments));
    if (!context.tagger)
        failWith(AnalyserFailed, "cannot create the MeCab tagger: ", analyserFailure(count, arguments).c_str());
    const std::string problem = dictionaryProblem(*context.tagger);
    if (!problem.empty())
        failWith(AnalyserFailed, problem.c_str(), "");
    if (!m_readingDic.empty()) {
        try {
            context.readings = ReadingSource::open(m_readingDic.c_str(), std::vector<const char*>(arguments, arguments + count));
        } catch (const ReadingSource::Refused& refused) {
            failWith(AnalyserFailed, refused.what(), "");
        }
    }
    context.wakachi = true;
    context.jyoshi_wakachi = m_jyoshiWakachi;
    context.kazenoha = m_kazenoha;
    context.ruby = m_ruby;
    return context;
}

void Wakati::divide(const EngineContext& context, IFlow& input, OFlow& output)
{
    const char* const inputName = m_source.isEmpty() ? "standard input" : m_source.zeroTerminated();
    const char* const outputName = m_destination.isEmpty() ? "standard output" : m_destination.zeroTerminated();
    LineReader reader(input);
    KILN::TextWriter<char> writer(&output);
    TString<char> line;
    TString<char> divided;
    TString<char> spaced;
    for (;;) {
        bool more = false;
        try {
            more = reader.readLine(line);
        } catch (const IOException&) {
            failWith(InputFailed, "cannot read ", inputName);
        }
        if (!more)
            break;
        stripLineEnd(line);
        divided.clear();
        divideLiteralText(context, line, divided);
        spaced.clear();
        appendSpaced(divided, spaced);
        // By length: a line may hold U+0000, which a "%s" would end it at.
        spaced.append("\r\n", 2);
        try {
            writer.write(spaced);
        } catch (const KILN::Exception&) {
            failWith(OutputFailed, "cannot write ", outputName);
        }
    }
    // Buffered text may still fail to reach the file.
    try {
        writer.flush();
        if (!output.close())
            failWith(OutputFailed, "cannot write ", outputName);
    } catch (const IOException&) {
        failWith(OutputFailed, "cannot write ", outputName);
    }
}

void Wakati::failWith(int32_t status, const char* message, const char* detail)
{
    std::fprintf(stderr, "ERROR: %s%s\n", message, detail);
    fail(status);
}
