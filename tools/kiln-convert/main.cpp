// kiln-convert -f FROM -t TO [input [output]]
//
// Converts a file, or standard input to standard output, between two
// encodings of the registry through the registry's converter chain. A
// detector name as FROM detects the input's encoding first. Every failure is
// one line on standard error and a non-zero status; nothing is written for an
// input that cannot be converted.
#include "kiln/base/CompositIFilter.h"
#include "kiln/base/Conveyer.h"
#include "kiln/base/Detector.h"
#include "kiln/base/EncodingRegistry.h"
#include "kiln/base/Exception.h"
#include "kiln/base/FixedMemIFlow.h"
#include "kiln/base/Library.h"
#include "kiln/file/FileOFlow.h"
#include "kiln/file/OutputFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include <sys/stat.h>

using namespace KILN;

namespace {

constexpr int Failure = 1;
constexpr int Usage = 2;

int fail(const std::string& message)
{
    std::fprintf(stderr, "kiln-convert: %s\n", message.c_str());
    return Failure;
}

// The bytes of the input, in a buffer that is not zero-filled before the
// read fills it.
struct InputBytes {
    InputBytes() = default;
    InputBytes(const InputBytes&) = delete;
    InputBytes& operator=(const InputBytes&) = delete;
    ~InputBytes() { std::free(data); }

    uint8_t* data = nullptr;
    size_t length = 0;
};

// Reads the whole file, or stops once it outgrows what a flow can hold
// (endless input such as /dev/zero). A regular file is read at its size in
// one piece; anything else, or a file that grew meanwhile, into a buffer that
// doubles.
bool readAll(std::FILE* file, InputBytes& bytes)
{
    constexpr size_t Step = 65536;
    struct stat status {};
    size_t capacity = Step;
    // One byte more than the size lets the read that finds the end go without growing.
    if (fstat(fileno(file), &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0)
        capacity = std::min<size_t>(static_cast<size_t>(status.st_size), UINT32_MAX) + 1;
    size_t got;
    do {
        if (!bytes.data || bytes.length == capacity) {
            capacity = bytes.data ? 2 * capacity : capacity;
            void* grown = std::realloc(bytes.data, capacity);
            if (!grown)
                throw std::bad_alloc();
            bytes.data = static_cast<uint8_t*>(grown);
        }
        got = std::fread(bytes.data + bytes.length, 1, capacity - bytes.length, file);
        bytes.length += got;
    } while (got > 0 && bytes.length <= UINT32_MAX);
    return !std::ferror(file);
}

// Bytes per unit of the flows a chain reads.
uint32_t unitBytes(const CompositIFilter& chain)
{
    const uint32_t widths = chain.inputWidths();
    return widths == Flow::Width32 ? 4 : widths == Flow::Width16 ? 2 : 1;
}

// Conveys the chain's whole output into an open file; false on a write failure.
bool writeTo(CompositIFilter& chain, std::FILE* file)
{
    FileOFlow output(file, true);
    try {
        convey(&chain, &output);
        return output.close();
    } catch (const IOException&) {
        return false;
    }
}

int convert(const char* fromName, const char* toName, const char* inputPath, const char* outputPath)
{
    int32_t from = EncodingRegistry::idOf(fromName);
    const int32_t to = EncodingRegistry::idOf(toName);
    if (from == 0)
        return fail(std::string("unknown encoding: ") + fromName);
    if (to == 0)
        return fail(std::string("unknown encoding: ") + toName);

    std::FILE* in = inputPath ? std::fopen(inputPath, "rb") : stdin;
    if (!in)
        return fail(std::string("cannot open ") + inputPath + ": " + std::strerror(errno));
    InputBytes bytes;
    const bool read = readAll(in, bytes);
    if (inputPath)
        std::fclose(in);
    if (!read)
        return fail(std::string("cannot read ") + (inputPath ? inputPath : "standard input"));
    if (bytes.length > UINT32_MAX)
        return fail("input too large");
    FixedMemIFlow input(bytes.data, static_cast<uint32_t>(bytes.length));

    if (const std::unique_ptr<Detector> detector{Detector::create(from)}) {
        from = detector->detect(input);
        input.reset();
        if (from == 0)
            return fail("cannot detect the encoding of the input");
    }
    const std::unique_ptr<CompositIFilter> chain(EncodingRegistry::chain(from, to));
    if (!chain)
        return fail(std::string("no conversion from ") + fromName + " to " + toName);
    const uint32_t unit = unitBytes(*chain);
    if (bytes.length % unit != 0)
        return fail("input ends inside a " + std::to_string(unit * 8) + "-bit unit");

    chain->attach(&input);
    if (!outputPath)
        return writeTo(*chain, stdout) ? 0 : fail("cannot write standard output");
    OutputFile out(outputPath);
    if (!out.open())
        return fail(std::string("cannot open ") + outputPath + ": " + std::strerror(errno));
    // An output that fails stays as it was: a replaced file is only renamed
    // into place once complete, and a device is never removed.
    if (!writeTo(*chain, out.stream()) || !out.commit())
        return fail(std::string("cannot write ") + outputPath);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const char* from = nullptr;
    const char* to = nullptr;
    std::vector<const char*> paths;
    for (int i = 1; i < argc; ++i) {
        if ((std::strcmp(argv[i], "-f") == 0 || std::strcmp(argv[i], "-t") == 0) && i + 1 < argc) {
            (argv[i][1] == 'f' ? from : to) = argv[i + 1];
            ++i;
        } else if (argv[i][0] == '-' && argv[i][1] != '\0') {
            paths.clear();
            from = nullptr;
            break;
        } else {
            paths.push_back(argv[i]);
        }
    }
    if (!from || !to || paths.size() > 2) {
        std::fprintf(stderr, "usage: kiln-convert -f FROM -t TO [input [output]]\n");
        return Usage;
    }
    startLibrary();
    // "-" (or no path) is standard input or standard output.
    auto path = [&](size_t i) { return i < paths.size() && std::strcmp(paths[i], "-") != 0 ? paths[i] : nullptr; };
    int status;
    try {
        status = convert(from, to, path(0), path(1));
    } catch (const std::bad_alloc&) {
        status = fail("not enough memory for the input");
    }
    stopLibrary();
    return status;
}
