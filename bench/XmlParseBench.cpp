// Measures the XML parser on a synthetic XHTML book chapter of about 8 MB
// (Japanese paragraphs with ruby markup, attributes and entity references,
// read with the conversion model's XHTML flags): the grammar alone on decoded
// UTF-16 text, the whole file path (read, detect, decode, parse), and
// xmllint --noout on the same file as an independent reference. Each case
// runs three times; the best time counts.

#include "kiln/base/Document.h"
#include "kiln/base/ParseXMLFile.h"
#include "kiln/base/Utf16String.h"

#include "BestTime.h"
#include "RunConditions.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

using namespace KILN;

namespace {

constexpr uint32_t XhtmlFlags = 0x2F06;

std::string chapter()
{
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE html [<!ENTITY nbsp \"&#160;\">]>\n"
                       "<html xmlns=\"http://www.w3.org/1999/xhtml\" xmlns:epub=\"http://www.idpf.org/2007/ops\">\n"
                       "<head><title>\xE8\x8D\x89\xE6\x9E\x95</title></head>\n<body>\n";
    const std::string paragraph =
        "<p class=\"honbun\">\xE5\xB1\xB1\xE8\xB7\xAF\xE3\x82\x92\xE7\x99\xBB\xE3\x82\x8A\xE3\x81\xAA\xE3\x81\x8C\xE3\x82\x89"
        "\xE3\x80\x81<ruby><rb>\xE6\x80\x9D\xE6\xA1\x88</rb><rp>(</rp><rt>\xE3\x81\x97\xE3\x81\x82\xE3\x82\x93</rt><rp>)</rp></ruby>"
        "\xE3\x81\x97\xE3\x81\x9F\xE3\x80\x82&nbsp;\xE6\x99\xBA\xE3\x81\xAB\xE5\x83\x8D\xE3\x81\x91\xE3\x81\xB0&#x89D2;"
        "\xE3\x81\x8C\xE7\xAB\x8B\xE3\x81\xA4\xE3\x80\x82<span epub:type=\"pagebreak\" id=\"p1\"/></p>\n";
    while (text.size() < 8u * 1024 * 1024)
        text += paragraph;
    return text + "</body>\n</html>\n";
}

} // namespace

int main()
{
    printRunConditions(firstLineOf("xmllint --version"));
    const std::string bytes = chapter();
    const std::string path = "/tmp/zef-xml-bench.xhtml";
    std::ofstream(path, std::ios::binary) << bytes;
    const double megabytes = bytes.size() / 1e6;

    const Utf16String decoded(bytes.c_str());
    std::printf("document: %.1f MB UTF-8, %u UTF-16 units\n", megabytes, decoded.length());
    std::printf("grammar on decoded UTF-16 text: %.0f MB/s\n", megabytes / bestSeconds([&] {
        std::unique_ptr<Document> document(parseXMLText(decoded.data(), decoded.length(), XhtmlFlags));
        if (!document)
            std::abort();
    }));
    Utf16String widePath(path.c_str());
    const unsigned short* file = widePath.zeroTerminated();
    std::printf("parseXMLFile (read, detect, decode, parse): %.0f MB/s\n", megabytes / bestSeconds([&] {
        std::unique_ptr<Document> document(parseXMLFile(file, nullptr, XhtmlFlags));
        if (!document)
            std::abort();
    }));
    const std::string lint = "xmllint --noout " + path + " > /dev/null 2>&1";
    std::printf("xmllint --noout (reference, with process start): %.0f MB/s\n", megabytes / bestSeconds([&] {
        if (std::system(lint.c_str()) != 0)
            std::abort();
    }));
    std::remove(path.c_str());
    return 0;
}
