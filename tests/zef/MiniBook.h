#pragma once

// Small EPUBs made in memory: a container, a package document, a navigation
// document and content documents, each of which a test may replace or spoil.

#include "tests/support/ZipArchive.h"

#include <string>
#include <vector>

namespace zef::test {

inline std::string xhtmlDocument(const std::string& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<html xmlns=\"http://www.w3.org/1999/xhtml\" xmlns:epub=\"http://www.idpf.org/2007/ops\">\n"
           "<head><title>t</title></head>\n<body>" + body + "</body>\n</html>\n";
}

struct MiniBook {
    // Spine hrefs (relative to OEBPS/) with their documents.
    std::vector<std::pair<std::string, std::string>> chapters = {{"text/one.xhtml", xhtmlDocument("<p>本を読む。</p>")}};
    std::string navigationHref = "nav.xhtml";
    std::string opfPath = "OEBPS/content.opf";

    std::string container() const
    {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<container version=\"1.0\" xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\">"
               "<rootfiles><rootfile full-path=\"" + opfPath + "\" media-type=\"application/oebps-package+xml\"/>"
               "</rootfiles></container>\n";
    }

    std::string packageDocument() const
    {
        std::string items = "<item id=\"nav\" href=\"" + navigationHref
                          + "\" media-type=\"application/xhtml+xml\" properties=\"nav\"/>";
        std::string refs;
        for (size_t i = 0; i < chapters.size(); ++i) {
            const std::string id = "c" + std::to_string(i);
            items += "<item id=\"" + id + "\" href=\"" + chapters[i].first + "\" media-type=\"application/xhtml+xml\"/>";
            refs += "<itemref idref=\"" + id + "\"/>";
        }
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<package xmlns=\"http://www.idpf.org/2007/opf\" version=\"3.0\" unique-identifier=\"id\">"
               "<metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:identifier id=\"id\">x</dc:identifier>"
               "<dc:title>t</dc:title><dc:language>ja</dc:language></metadata>"
               "<manifest>" + items + "</manifest><spine>" + refs + "</spine></package>\n";
    }

    static std::string navigationDocument()
    {
        return xhtmlDocument("<nav epub:type=\"toc\"><ol><li><a href=\"text/one.xhtml\">1</a></li></ol></nav>");
    }

    // The archive's entries: mimetype first and stored, then the rest.
    std::vector<ZipEntry> entries() const
    {
        std::vector<ZipEntry> list = {{"mimetype", "application/epub+zip", true},
                                      {"META-INF/container.xml", container()},
                                      {opfPath, packageDocument()},
                                      {"OEBPS/nav.xhtml", navigationDocument()}};
        for (const auto& [href, document] : chapters)
            list.push_back({"OEBPS/" + href, document});
        return list;
    }
};

} // namespace zef::test
