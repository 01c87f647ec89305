// Converts about 10 MB of Japanese text UTF-8 -> UTF-16 -> CP932 -> UTF-8
// through the registry's converter chains (the string conversion the library
// uses, and plain block reads from the chain) and through glibc's iconv, and
// prints the throughput of each stage and the ratios. Then it runs the
// kiln-convert tool and the iconv program on files of that text, UTF-8 ->
// UTF-16LE, CP932 -> UTF-8 and UTF-8 -> CP932 (the environment variable
// KILN_CONVERT names another build of the tool to measure). The text is a passage of
// Japanese prose composed here, repeated. Each pair of cases runs alternately
// five times; the least CPU time of each counts.

#include "PairedCpuTime.h"
#include "RunConditions.h"

#include "kiln/base/CompositIFilter.h"
#include "kiln/base/EncodingRegistry.h"
#include "kiln/base/Exception.h"
#include "kiln/base/StringConversion.h"
#include "kiln/base/StringIFlow.h"

#include <gnu/libc-version.h>
#include <iconv.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

using namespace KILN;

namespace {

constexpr size_t TargetBytes = 10 * 1024 * 1024;

const char passage[] =
    "山路を登りながら、こう考えた。智に働けば角が立つ。情に棹させば流される。"
    "意地を通せば窮屈だ。とかくに人の世は住みにくい。住みにくさが高じると、"
    "安い所へ引き越したくなる。どこへ越しても住みにくいと悟った時、詩が生れて、"
    "画が出来る。人の世を作ったものは神でもなければ鬼でもない。やはり向う三軒両隣りに"
    "ちらちらするただの人である。ただの人が作った人の世が住みにくいからとて、"
    "越す国はあるまい。あれば人でなしの国へ行くばかりだ。（二〇二六年、第１版）\n";

std::string japaneseText()
{
    std::string text;
    while (text.size() < TargetBytes)
        text += passage;
    return text;
}

std::string viaIconv(const char* to, const char* from, const std::string& input)
{
    iconv_t cd = iconv_open(to, from);
    std::string out(input.size() * 2 + 16, '\0');
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

// The chain's output read in blocks into a buffer sized for it.
template <class S, class D>
std::vector<D> viaChainBlocks(int32_t from, int32_t to, const TString<S>& source, size_t capacity)
{
    std::unique_ptr<CompositIFilter> chain(EncodingRegistry::chain(from, to));
    StringIFlow<S> input(source);
    chain->attach(&input);
    std::vector<D> out(capacity);
    size_t length = 0;
    for (;;) {
        uint32_t got = 0;
        try {
            chain->readBlock(static_cast<uint32_t>(capacity - length), out.data() + length, got);
        } catch (const IOException&) {
            length += got;
            break;
        }
        length += got;
    }
    out.resize(length);
    return out;
}

void report(const char* stage, size_t bytes, const PairedSeconds& times)
{
    std::printf("%-28s %8.1f MB/s %8.1f MB/s %8.2f\n", stage, bytes / times.first / 1e6, bytes / times.second / 1e6,
                times.first / times.second);
}

// Runs a program with arguments and waits for it; false unless it exits with 0.
bool run(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// kiln-convert against the iconv program on one file; false when they fail
// or their outputs differ.
bool compareTools(const std::string& dir, const char* stage, const std::string& input, const char* ours[2],
                  const char* theirs[2])
{
    const std::string in = dir + "/input";
    const std::string outOurs = dir + "/ours";
    const std::string outTheirs = dir + "/theirs";
    write(in, input);
    const char* program = std::getenv("KILN_CONVERT");
    program = program ? program : KILN_CONVERT_PROGRAM;
    bool ran = true;
    const PairedSeconds times = pairedBest(
        [&] { ran = run({program, "-f", ours[0], "-t", ours[1], in, outOurs}) && ran; },
        [&] { ran = run({ICONV_PROGRAM, "-f", theirs[0], "-t", theirs[1], "-o", outTheirs, in}) && ran; },
        childCpuSeconds);
    report(stage, input.size(), times);
    return ran && contents(outOurs) == contents(outTheirs);
}

} // namespace

int main()
{
    printRunConditions(std::string("glibc iconv ") + gnu_get_libc_version());
    EncodingRegistry::lifeCycle(true);
    const std::string text = japaneseText();
    std::printf("%zu bytes of UTF-8 Japanese text\n", text.size());

    const TString<char> utf8(text.data(), static_cast<uint32_t>(text.size()));
    TString<unsigned short> utf16;
    TString<char> cp932;
    TString<char> back;
    std::string theirs16, theirs932, theirs8;
    const PairedSeconds strings1 = pairedBest(
        [&] { convertEncoding(utf8, EncodingRegistry::Utf8N, EncodingRegistry::Utf16N, utf16); },
        [&] { theirs16 = viaIconv("UTF-16LE", "UTF-8", text); });
    const PairedSeconds strings2 = pairedBest(
        [&] { convertEncoding(utf16, EncodingRegistry::Utf16N, EncodingRegistry::Cp932, cp932); },
        [&] { theirs932 = viaIconv("CP932", "UTF-16LE", theirs16); });
    const PairedSeconds strings3 = pairedBest(
        [&] { convertEncoding(cp932, EncodingRegistry::Cp932, EncodingRegistry::Utf8N, back); },
        [&] { theirs8 = viaIconv("UTF-8", "CP932", theirs932); });

    std::vector<unsigned short> blocks16;
    std::vector<char> blocks932;
    std::vector<char> blocks8;
    const TString<char> cp932Copy(cp932);
    const PairedSeconds blocks1 = pairedBest(
        [&] { blocks16 = viaChainBlocks<char, unsigned short>(8, 10, utf8, text.size()); },
        [&] { theirs16 = viaIconv("UTF-16LE", "UTF-8", text); });
    const PairedSeconds blocks2 = pairedBest(
        [&] { blocks932 = viaChainBlocks<unsigned short, char>(10, 37, utf16, text.size()); },
        [&] { theirs932 = viaIconv("CP932", "UTF-16LE", theirs16); });
    const PairedSeconds blocks3 = pairedBest(
        [&] { blocks8 = viaChainBlocks<char, char>(37, 8, cp932Copy, text.size() * 2); },
        [&] { theirs8 = viaIconv("UTF-8", "CP932", theirs932); });

    bool same = std::string(back.data(), back.length()) == text && theirs8 == text &&
                std::string(blocks8.begin(), blocks8.end()) == text &&
                std::string(cp932.data(), cp932.length()) == theirs932;
    std::printf("round trip %s\n\n", same ? "exact (ours and iconv agree)" : "DIFFERS");
    std::printf("%-28s %13s %13s %8s\n", "stage (input bytes)", "ours", "iconv", "ours/iconv CPU time");
    auto sum = [](const PairedSeconds& a, const PairedSeconds& b, const PairedSeconds& c) {
        return PairedSeconds{a.first + b.first + c.first, a.second + b.second + c.second};
    };
    report("utf-8 -> utf-16 (strings)", text.size(), strings1);
    report("utf-16 -> cp932 (strings)", theirs16.size(), strings2);
    report("cp932 -> utf-8 (strings)", theirs932.size(), strings3);
    report("whole trip (strings)", text.size(), sum(strings1, strings2, strings3));
    report("utf-8 -> utf-16 (blocks)", text.size(), blocks1);
    report("utf-16 -> cp932 (blocks)", theirs16.size(), blocks2);
    report("cp932 -> utf-8 (blocks)", theirs932.size(), blocks3);
    report("whole trip (blocks)", text.size(), sum(blocks1, blocks2, blocks3));

    std::printf("\n%-28s %13s %13s %8s\n", "tool (input bytes)", "kiln-convert", "iconv", "ratio");
    char dirTemplate[] = "/tmp/encoding-bench.XXXXXX";
    if (const char* dir = mkdtemp(dirTemplate)) {
        const char* utf8ToUtf16[2][2] = {{"utf-8", "utf-16le"}, {"UTF-8", "UTF-16LE"}};
        const char* cp932ToUtf8[2][2] = {{"cp932", "utf-8n"}, {"CP932", "UTF-8"}};
        const char* utf8ToCp932[2][2] = {{"utf-8", "cp932"}, {"UTF-8", "CP932"}};
        bool agree = compareTools(dir, "utf-8 -> utf-16", text, utf8ToUtf16[0], utf8ToUtf16[1]);
        agree = compareTools(dir, "cp932 -> utf-8", theirs932, cp932ToUtf8[0], cp932ToUtf8[1]) && agree;
        agree = compareTools(dir, "utf-8 -> cp932", text, utf8ToCp932[0], utf8ToCp932[1]) && agree;
        for (const char* name : {"input", "ours", "theirs"})
            std::remove((std::string(dir) + "/" + name).c_str());
        rmdir(dir);
        std::printf("tool outputs %s\n", agree ? "identical" : "DIFFER");
        same = same && agree;
    }
    EncodingRegistry::lifeCycle(false);
    return same ? 0 : 1;
}
