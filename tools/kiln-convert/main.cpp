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
#include "kiln/file/FileIFlow.h"
#include "kiln/file/FileOFlow.h"
#include "kiln/file/OutputFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include <sys/mman.h>
#include <sys/stat.h>

using namespace KILN;

namespace {

constexpr int Failure = 1;
constexpr int Usage = 2;
constexpr size_t StreamBuffer = 65536;

int fail(const std::string& message)
{
    std::fprintf(stderr, "kiln-convert: %s\n", message.c_str());
    return Failure;
}

// The bytes of the input, in memory mapped and populated in one call: no
// fault per page as the read fills it, and no zero-filling beforehand.
class InputBytes {
public:
    InputBytes() = default;
    InputBytes(const InputBytes&) = delete;
    InputBytes& operator=(const InputBytes&) = delete;
    ~InputBytes()
    {
        if (m_data)
            munmap(m_data, m_capacity);
    }

    uint8_t* data() const { return m_data; }
    size_t length() const { return m_length; }
    size_t room() const { return m_capacity - m_length; }
    void added(size_t count) { m_length += count; }

    // Makes room for at least capacity bytes in all; raises bad_alloc when the
    // memory is not there.
    void reserve(size_t capacity)
    {
        if (capacity <= m_capacity)
            return;
        void* grown = m_data ? mremap(m_data, m_capacity, capacity, MREMAP_MAYMOVE)
                             : mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
        if (grown == MAP_FAILED)
            throw std::bad_alloc();
        m_data = static_cast<uint8_t*>(grown);
        m_capacity = capacity;
    }

private:
    uint8_t* m_data = nullptr;
    size_t m_length = 0;
    size_t m_capacity = 0;
};

// Reads the whole file, or stops once it outgrows what a flow can hold
// (endless input such as /dev/zero). A regular file is read at its size in
// one piece; anything else, or a file that grew meanwhile, into room that
// doubles.
bool readAll(std::FILE* file, InputBytes& bytes)
{
    struct stat status {};
    // One byte more than the size lets the read that finds the end go without growing.
    if (fstat(fileno(file), &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0)
        bytes.reserve(std::min<size_t>(static_cast<size_t>(status.st_size), UINT32_MAX) + 1);
    else
        bytes.reserve(65536);
    size_t got;
    do {
        if (bytes.room() == 0)
            bytes.reserve(2 * bytes.length());
        got = std::fread(bytes.data() + bytes.length(), 1, bytes.room(), file);
        bytes.added(got);
    } while (got > 0 && bytes.length() <= UINT32_MAX);
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

// The size of a regular file, which can be converted as it is read; -1 for
// anything else (a pipe, a terminal, a device).
off_t regularFileSize(std::FILE* file)
{
    struct stat status {};
    return fstat(fileno(file), &status) == 0 && S_ISREG(status.st_mode) ? status.st_size : -1;
}

int convert(const char* fromName, const char* toName, const char* inputPath, const char* outputPath)
{
    int32_t from = EncodingRegistry::idOf(fromName);
    const int32_t to = EncodingRegistry::idOf(toName);
    if (from == 0)
        return fail(std::string("unknown encoding: ") + fromName);
    if (to == 0)
        return fail(std::string("unknown encoding: ") + toName);

    // Buffers for the streamed files, declared before the files so that they
    // outlive them: 64 KB moves a block per system call rather than 4 KB.
    std::vector<char> inBuffer;
    std::vector<char> outBuffer;
    std::FILE* in = inputPath ? std::fopen(inputPath, "rb") : stdin;
    if (!in)
        return fail(std::string("cannot open ") + inputPath + ": " + std::strerror(errno));
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> opened(inputPath ? in : nullptr, &std::fclose);
    const std::string inputName = inputPath ? inputPath : "standard input";
    const std::unique_ptr<Detector> detector{Detector::create(from)};

    // A regular file whose encoding is given streams through the chain into
    // an output file, which replaces nothing unless the whole run succeeds.
    // Any other input is read whole first, so that detection can read it
    // twice and nothing reaches standard output for input that ends inside a
    // unit.
    const off_t size = detector || !outputPath ? -1 : regularFileSize(in);
    std::unique_ptr<IFlow> input;
    InputBytes bytes;
    if (size >= 0) {
        inBuffer.resize(StreamBuffer);
        std::setvbuf(in, inBuffer.data(), _IOFBF, inBuffer.size());
        input = std::make_unique<FileIFlow>(in, true);
    } else {
        if (!readAll(in, bytes))
            return fail("cannot read " + inputName);
        if (bytes.length() > UINT32_MAX)
            return fail("input too large");
        input = std::make_unique<FixedMemIFlow>(bytes.data(), static_cast<uint32_t>(bytes.length()));
    }

    if (detector) {
        from = detector->detect(*input);
        input->reset();
        if (from == 0)
            return fail("cannot detect the encoding of the input");
    }
    const std::unique_ptr<CompositIFilter> chain(EncodingRegistry::chain(from, to));
    if (!chain)
        return fail(std::string("no conversion from ") + fromName + " to " + toName);
    const uint32_t unit = unitBytes(*chain);
    const std::string cutUnit = "input ends inside a " + std::to_string(unit * 8) + "-bit unit";
    if ((size >= 0 ? static_cast<uint64_t>(size) : bytes.length()) % unit != 0)
        return fail(cutUnit);

    chain->attach(input.get());
    std::unique_ptr<OutputFile> out;
    if (outputPath) {
        out = std::make_unique<OutputFile>(outputPath);
        if (!out->open())
            return fail(std::string("cannot open ") + outputPath + ": " + std::strerror(errno));
        outBuffer.resize(StreamBuffer);
        std::setvbuf(out->stream(), outBuffer.data(), _IOFBF, outBuffer.size());
    }
    const bool written = writeTo(*chain, out ? out->stream() : stdout);
    // A streamed file that failed, or changed so that it ends inside a unit,
    // fails the run: a replaced output file is then left as it was.
    if (std::ferror(in))
        return fail("cannot read " + inputName);
    if (size >= 0 && ftello(in) % unit != 0)
        return fail(cutUnit);
    // An output that fails stays as it was: a replaced file is only renamed
    // into place once complete, and a device is never removed.
    if (!written || (out && !out->commit()))
        return fail(outputPath ? std::string("cannot write ") + outputPath : std::string("cannot write standard output"));
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
