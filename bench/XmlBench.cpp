// Parses and serializes a generated XHTML content document of 20 MB (or the
// size in MB given as the first argument) and compares the tool kiln-xml
// (parse, serialize, write as UTF-8) with xmllint doing the same
// (`xmllint --output /dev/null`): CPU time and peak memory of each as a child
// process, run alternately, the best of five counting. In this process the
// phases of a conversion are timed as well (CPU time, best of three, so on a
// heap that earlier runs have grown, without their page faults): read,
// detect, decode and parse with the conversion model's flags; serialize in
// entity mode, streamed as UTF-8 with a byte-order mark to /dev/null; release
// the tree. A second argument names another kiln-xml to compare (an older
// build, say).

#include "kiln/base/Document.h"
#include "kiln/base/Library.h"
#include "kiln/base/ParseXMLFile.h"
#include "kiln/base/XMLOutputter.h"
#include "kiln/file/FileOFlow.h"

#include "RunConditions.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace KILN;

namespace {

constexpr uint32_t XhtmlParseFlags = 0x2F06;
constexpr uint32_t XhtmlOutputFlags = XMLOutputter::entityMode;

// An XHTML content document of at least the size given, made as the books
// this system converts are: chapters of paragraphs of Japanese text with
// ruby, spans, page-break markers, notes, comments and references, with CRLF
// line ends. Removed at the end.
class GeneratedXhtml {
public:
    explicit GeneratedXhtml(size_t bytes) : m_path("/tmp/xml_bench." + std::to_string(getpid()) + ".xhtml")
    {
        std::FILE* file = std::fopen(m_path.c_str(), "wb");
        if (!file)
            return;
        std::string text =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<!DOCTYPE html>\r\n"
            "<html xmlns=\"http://www.w3.org/1999/xhtml\" xmlns:epub=\"http://www.idpf.org/2007/ops\" xml:lang=\"ja\">\r\n"
            "<head>\r\n<meta charset=\"UTF-8\"/>\r\n<title>草枕</title>\r\n"
            "<link rel=\"stylesheet\" type=\"text/css\" href=\"../css/vertical.css\"/>\r\n</head>\r\n"
            "<body class=\"p-text\" epub:type=\"bodymatter\">\r\n";
        for (int chapter = 1; text.size() < bytes; ++chapter) {
            const std::string n = std::to_string(chapter);
            text += "<section id=\"s" + n + "\" epub:type=\"chapter\">\r\n<h2 class=\"oo-midashi\">第" + n + "章</h2>\r\n";
            for (int paragraph = 0; paragraph < 50; ++paragraph) {
                text += "<p>　<ruby><rb>山路</rb><rp>（</rp><rt>やまみち</rt><rp>）</rp></ruby>を登りながら、こう考えた。"
                        "智に働けば角が立つ。情に<ruby>棹<rt>さお</rt></ruby>させば流される。"
                        "意地を通せば<span class=\"em-sesame\">窮屈</span>だ。とかくに人の世は住みにくい。</p>\r\n"
                        "<p>　住みにくさが高じると、安い所へ引き越したくなる。&#x3042;る日 &amp; ある時、"
                        "<span epub:type=\"pagebreak\" id=\"p" + n + "_" + std::to_string(paragraph) + "\" title=\"" + n + "\"></span>"
                        "どこへ越しても住みにくいと悟った時、詩が生れて、画が出来る。<a href=\"#n" + n + "\" epub:type=\"noteref\">※</a><br/></p>\r\n";
                if (paragraph % 10 == 0)
                    text += "<!-- 底本：「草枕」 -->\r\n";
            }
            text += "<aside id=\"n" + n + "\" epub:type=\"footnote\"><p>注" + n + "</p></aside>\r\n</section>\r\n";
        }
        text += "</body>\r\n</html>\r\n";
        m_size = text.size();
        m_ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
        m_ok = std::fclose(file) == 0 && m_ok;
    }
    ~GeneratedXhtml() { std::remove(m_path.c_str()); }
    bool ok() const { return m_ok; }
    size_t size() const { return m_size; }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
    size_t m_size = 0;
    bool m_ok = false;
};

// CPU seconds of this process so far.
double cpuSeconds()
{
    timespec now;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The CPU seconds of the phases of one conversion-like run.
struct Phases {
    double parse = 0;      // read, detect, decode and parse the file
    double write = 0;      // serialize, encode as UTF-8 and write, streamed
    double release = 0;    // destroy the tree
    double total() const { return parse + write + release; }
};

// Parse, serialize and write as a conversion does; false on any failure.
bool convertLike(Utf16String& path, Phases& phases)
{
    double start = cpuSeconds();
    std::unique_ptr<Document> document(parseXMLFile(path.zeroTerminated(), nullptr, XhtmlParseFlags));
    if (!document)
        return false;
    phases.parse = cpuSeconds() - start;

    start = cpuSeconds();
    FileOFlow out("/dev/null");
    XMLOutputter::writeUtf8(*document, out, XhtmlOutputFlags, true);
    const bool written = out.close();
    phases.write = cpuSeconds() - start;

    start = cpuSeconds();
    document.reset();
    phases.release = cpuSeconds() - start;
    return written;
}

// What a child process took: CPU seconds (user and system) and its peak
// resident memory.
struct ChildRun {
    bool ok = false;
    double cpu = 0;
    double peakBytes = 0;
};

ChildRun runChild(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    ChildRun run;
    const pid_t pid = fork();
    if (pid < 0)
        return run;
    if (pid == 0) {
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return run;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
    run.peakBytes = static_cast<double>(usage.ru_maxrss) * 1024.0;
    return run;
}

// The best (least) CPU time and peak memory of several runs.
void keepBest(ChildRun& best, const ChildRun& run)
{
    if (!run.ok) {
        best.ok = false;
        return;
    }
    best.cpu = best.cpu == 0 ? run.cpu : std::min(best.cpu, run.cpu);
    best.peakBytes = best.peakBytes == 0 ? run.peakBytes : std::min(best.peakBytes, run.peakBytes);
}

} // namespace

int main(int argc, char** argv)
{
    printRunConditions(firstLineOf("xmllint --version"));
    const size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 20;
    const std::string kilnXml = argc > 2 ? argv[2] : KILN_XML_PROGRAM;
    const GeneratedXhtml xhtml(megabytes * 1024 * 1024);
    if (!xhtml.ok()) {
        std::fprintf(stderr, "xml_bench: cannot set up the document\n");
        return 1;
    }
    // The children run first, while this process is small: a child's peak
    // counts the memory it was forked with. The tools alternate, so that a
    // change in the machine's load touches both.
    ChildRun ours{true};
    ChildRun theirs{true};
    for (int i = 0; i < 5; ++i) {
        keepBest(ours, runChild({kilnXml, "--parse-flags", std::to_string(XhtmlParseFlags), "--output-flags",
                                 std::to_string(XhtmlOutputFlags), xhtml.path(), "/dev/null"}));
        keepBest(theirs, runChild({"xmllint", "--output", "/dev/null", xhtml.path()}));
    }
    if (!startLibrary()) {
        std::fputs("xml_bench: the class library did not start\n", stderr);
        return 1;
    }
    Utf16String path(xhtml.path().c_str());
    bool ok = true;
    Phases best;
    for (int i = 0; i < 3; ++i) {
        Phases phases;
        ok = convertLike(path, phases) && ok;
        if (i == 0 || phases.total() < best.total())
            best = phases;
    }
    stopLibrary();

    if (!ok || !ours.ok || !theirs.ok) {
        std::fputs("xml_bench: a run failed\n", stderr);
        return 1;
    }
    const double size = static_cast<double>(xhtml.size());
    std::printf("document: %.1f MB of XHTML\n", size / 1048576.0);
    std::printf("in process, CPU: parse %.1f ms, serialize + UTF-8 write %.1f ms, tree release %.1f ms\n",
                best.parse * 1e3, best.write * 1e3, best.release * 1e3);
    std::printf("kiln-xml: %8.1f ms CPU (%5.1f MB/s), peak memory %6.1f MB (%4.1fx the input)\n", ours.cpu * 1e3,
                size / ours.cpu / 1048576.0, ours.peakBytes / 1048576.0, ours.peakBytes / size);
    std::printf("xmllint:  %8.1f ms CPU (%5.1f MB/s), peak memory %6.1f MB (%4.1fx the input)\n", theirs.cpu * 1e3,
                size / theirs.cpu / 1048576.0, theirs.peakBytes / 1048576.0, theirs.peakBytes / size);
    std::printf("throughput kiln-xml / xmllint: %.2f\n", theirs.cpu / ours.cpu);
    return 0;
}
