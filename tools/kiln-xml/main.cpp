// kiln-xml: parses an XML file with the library's parser and writes the
// serialized tree as UTF-8 (without a byte-order mark), so that the pair can
// be checked against other XML tools and timed.
//
//   kiln-xml [--parse-flags N] [--output-flags N] input [output]
//
// N is decimal, or hexadecimal after "0x". Without output the text goes to
// standard output. Exit status: 0 on success; 1 when the input cannot be
// read or parsed (a grammar error is reported by the parser); 2 for a usage
// error; 3 when the output cannot be written (a partial file is removed).

#include "kiln/base/Document.h"
#include "kiln/base/Exception.h"
#include "kiln/base/Library.h"
#include "kiln/base/NamedNodeMap.h"
#include "kiln/base/ParseXMLFile.h"
#include "kiln/base/XMLDecl.h"
#include "kiln/base/XMLOutputter.h"
#include "kiln/file/FileOFlow.h"
#include "kiln/file/OutputFile.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>


using namespace KILN;

namespace {

constexpr int ParseFailed = 1;
constexpr int UsageError = 2;
constexpr int WriteFailed = 3;

const char* const usage = "usage: kiln-xml [--parse-flags N] [--output-flags N] input [output]\n";

// A flag word in decimal or, after "0x", hexadecimal; false when malformed.
bool parseFlags(const char* text, uint32_t& flags)
{
    const bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* digits = hex ? text + 2 : text;
    const unsigned char first = static_cast<unsigned char>(*digits);
    if (hex ? !std::isxdigit(first) : !std::isdigit(first))
        return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long value = std::strtoul(digits, &end, hex ? 16 : 10);
    if (*end != 0 || errno != 0 || value > 0xFFFFFFFFul)
        return false;
    flags = static_cast<uint32_t>(value);
    return true;
}

// The output is UTF-8 whatever the input was: a declared encoding says so.
void declareUtf8(Document& document)
{
    const Utf16String* name = document.names().internAscii("encoding");
    if (Node* encoding = document.getXMLDecl()->getAttributes()->getNamedItem(*name)) {
        static const unsigned short utf8[] = {'U', 'T', 'F', '-', '8', 0};
        encoding->setNodeValue(utf8);
    }
}

// Writes the document as UTF-8 to the flow as it is serialized; false when
// the flow fails.
bool writeUtf8(const Document& document, uint32_t outputFlags, OFlow& out)
{
    try {
        XMLOutputter::writeUtf8(document, out, outputFlags, false);
        return out.close();
    } catch (const IOException&) {
        return false;
    }
}

// Parses input and writes it to outputPath (standard output when null).
int run(const char* input, const char* outputPath, uint32_t parseFlags, uint32_t outputFlags)
{
    std::FILE* probe = std::fopen(input, "rb");
    if (!probe) {
        std::fprintf(stderr, "kiln-xml: cannot open %s: %s\n", input, std::strerror(errno));
        return ParseFailed;
    }
    std::fclose(probe);
    Utf16String path(input);
    std::unique_ptr<Document> document(parseXMLFile(path.zeroTerminated(), nullptr, parseFlags));
    if (!document) {
        std::fprintf(stderr, "kiln-xml: %s was not parsed\n", input);
        return ParseFailed;
    }
    declareUtf8(*document);
    if (!outputPath) {
        FileOFlow out(stdout, true);
        if (writeUtf8(*document, outputFlags, out))
            return 0;
        std::fputs("kiln-xml: cannot write to standard output\n", stderr);
        return WriteFailed;
    }
    // A file is written beside the target and renamed over it when complete,
    // so that a failure never leaves a truncated file (nor destroys the input
    // when it is also the output); a device is written through its path.
    OutputFile target(outputPath);
    if (!target.open()) {
        std::fprintf(stderr, "kiln-xml: cannot write %s: %s\n", outputPath, std::strerror(errno));
        return WriteFailed;
    }
    FileOFlow out(target.stream(), true);
    if (writeUtf8(*document, outputFlags, out) && target.commit())
        return 0;
    std::fprintf(stderr, "kiln-xml: cannot write %s\n", outputPath);
    return WriteFailed;
}

} // namespace

int main(int argc, char** argv)
{
    uint32_t parse = 0;
    uint32_t output = 0;
    const char* paths[2] = {nullptr, nullptr};
    int positional = 0;
    for (int i = 1; i < argc; ++i) {
        const bool isParse = std::strcmp(argv[i], "--parse-flags") == 0;
        if (isParse || std::strcmp(argv[i], "--output-flags") == 0) {
            const char* option = argv[i];
            if (++i == argc || !parseFlags(argv[i], isParse ? parse : output)) {
                std::fprintf(stderr, "kiln-xml: %s needs a decimal or 0x-prefixed hexadecimal number\n%s", option, usage);
                return UsageError;
            }
        } else if (argv[i][0] == '-' && argv[i][1] != 0) {
            std::fprintf(stderr, "kiln-xml: unknown option %s\n%s", argv[i], usage);
            return UsageError;
        } else if (positional < 2) {
            paths[positional++] = argv[i];
        } else {
            std::fputs(usage, stderr);
            return UsageError;
        }
    }
    if (positional == 0) {
        std::fputs(usage, stderr);
        return UsageError;
    }

    if (!startLibrary()) {
        std::fputs("kiln-xml: the class library did not start\n", stderr);
        return ParseFailed;
    }
    const int status = run(paths[0], paths[1], parse, output);
    stopLibrary();
    return status;
}
