// Parses and serializes a generated XHTML content document of 20 MB (or the
// size in MB given as the first argument) and compares the time with xmllint
// doing the same. Our side is the path of a conversion: read, detect, decode
// and parse the file with the conversion model's flags, serialize the tree in
// entity mode and write it as UTF-8 with a byte-order mark through the
// converter chain. xmllint parses the file and saves it to /dev/null. Each
// side runs three times; the best time counts.

#include "kiln/base/CompositIFilter.h"
#include "kiln/base/Conveyer.h"
#include "kiln/base/Document.h"
#include "kiln/base/EncodingRegistry.h"
#include "kiln/base/Library.h"
#include "kiln/base/ParseXMLFile.h"
#include "kiln/base/StringIFlow.h"
#include "kiln/base/StringOFlow.h"
#include "kiln/base/XMLOutputter.h"
#include "kiln/file/FileOFlow.h"

#include "BestTime.h"
#include "RunConditions.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

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

// Seconds since start.
double since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The phases of one conversion-like run, in seconds.
struct Phases {
    double parse = 0;      // read, detect, decode and parse the file
    double serialize = 0;  // write the tree as UTF-16 text
    double write = 0;      // encode as UTF-8 and write it out
    double release = 0;    // destroy the tree
    double total = 0;      // the whole run, with the release of the text and the chain
};

// Parse, serialize and write as a conversion does; false on any failure.
bool parseAndSerialize(Utf16String& path, Phases& phases)
{
    auto start = std::chrono::steady_clock::now();
    std::unique_ptr<Document> document(parseXMLFile(path.zeroTerminated(), nullptr, XhtmlParseFlags));
    if (!document)
        return false;
    phases.parse = since(start);

    start = std::chrono::steady_clock::now();
    Utf16String text;
    StringOFlow<unsigned short> flow(&text);
    XMLOutputter outputter(flow, XhtmlOutputFlags);
    document->output(outputter);
    phases.serialize = since(start);

    start = std::chrono::steady_clock::now();
    const std::unique_ptr<CompositIFilter> chain(EncodingRegistry::chain(EncodingRegistry::Utf16N, EncodingRegistry::Utf8));
    StringIFlow<unsigned short> source(text);
    chain->attach(&source);
    FileOFlow out("/dev/null");
    conveyBytes(chain.get(), &out);
    const bool written = out.close();
    phases.write = since(start);

    start = std::chrono::steady_clock::now();
    document.reset();
    phases.release = since(start);
    return written;
}

} // namespace

int main(int argc, char** argv)
{
    printRunConditions(firstLineOf("xmllint --version"));
    const size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 20;
    const GeneratedXhtml xhtml(megabytes * 1024 * 1024);
    if (!xhtml.ok() || !startLibrary()) {
        std::fprintf(stderr, "xml_bench: cannot set up the document\n");
        return 1;
    }
    Utf16String path(xhtml.path().c_str());
    bool ok = true;
    Phases best;
    const double ours = bestSeconds([&] {
        Phases phases;
        const auto start = std::chrono::steady_clock::now();
        ok = parseAndSerialize(path, phases) && ok;
        phases.total = since(start);
        if (best.total == 0 || phases.total < best.total)
            best = phases;
    });
    const std::string command = "xmllint --output /dev/null " + xhtml.path();
    const double theirs = bestSeconds([&] { ok = std::system(command.c_str()) == 0 && ok; });
    stopLibrary();
    if (!ok) {
        std::fputs("xml_bench: a run failed\n", stderr);
        return 1;
    }
    std::printf("document: %.1f MB of XHTML\n", xhtml.size() / 1048576.0);
    std::printf("kiln parse + serialize + UTF-8 write: %8.1f ms  (%.1f MB/s)\n", ours * 1e3, xhtml.size() / ours / 1048576.0);
    std::printf("  parse %.1f ms, serialize %.1f ms, UTF-8 write %.1f ms, tree release %.1f ms, rest %.1f ms\n",
                best.parse * 1e3, best.serialize * 1e3, best.write * 1e3, best.release * 1e3,
                (best.total - best.parse - best.serialize - best.write - best.release) * 1e3);
    std::printf("xmllint --output /dev/null:           %8.1f ms  (%.1f MB/s)\n", theirs * 1e3, xhtml.size() / theirs / 1048576.0);
    std::printf("ratio kiln / xmllint: %.2f\n", ours / theirs);
    return 0;
}
