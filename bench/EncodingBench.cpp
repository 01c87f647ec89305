// Converts about 10 MB of Japanese text UTF-8 -> UTF-16 -> CP932 -> UTF-8,
// once through the registry's converter chains (the string conversion the
// library uses, and plain block reads from the chain) and once through glibc's
// iconv, and prints the throughput of each stage and the ratios. The text is
// a passage of Japanese prose composed here, repeated. Each case runs three
// times; the best time counts.

#include "BestTime.h"
#include "RunConditions.h"

#include "kiln/base/CompositIFilter.h"
#include "kiln/base/EncodingRegistry.h"
#include "kiln/base/Exception.h"
#include "kiln/base/StringConversion.h"
#include "kiln/base/StringIFlow.h"

#include <gnu/libc-version.h>
#include <iconv.h>

#include <cstdio>
#include <functional>
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

void report(const char* stage, size_t bytes, double ours, double theirs)
{
    std::printf("%-28s %8.1f MB/s %8.1f MB/s %8.2f\n", stage, bytes / ours / 1e6, bytes / theirs / 1e6,
                ours / theirs);
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
    const double ours1 = bestSeconds([&] { convertEncoding(utf8, EncodingRegistry::Utf8N, EncodingRegistry::Utf16N, utf16); });
    const double ours2 = bestSeconds([&] { convertEncoding(utf16, EncodingRegistry::Utf16N, EncodingRegistry::Cp932, cp932); });
    const double ours3 = bestSeconds([&] { convertEncoding(cp932, EncodingRegistry::Cp932, EncodingRegistry::Utf8N, back); });

    std::vector<unsigned short> blocks16;
    std::vector<char> blocks932;
    std::vector<char> blocks8;
    const double blocks1 = bestSeconds([&] { blocks16 = viaChainBlocks<char, unsigned short>(8, 10, utf8, text.size()); });
    const double blocks2 = bestSeconds([&] { blocks932 = viaChainBlocks<unsigned short, char>(10, 37, utf16, text.size()); });
    const TString<char> cp932Copy(cp932);
    const double blocks3 = bestSeconds([&] { blocks8 = viaChainBlocks<char, char>(37, 8, cp932Copy, text.size() * 2); });

    std::string theirs16, theirs932, theirs8;
    const double iconv1 = bestSeconds([&] { theirs16 = viaIconv("UTF-16LE", "UTF-8", text); });
    const double iconv2 = bestSeconds([&] { theirs932 = viaIconv("CP932", "UTF-16LE", theirs16); });
    const double iconv3 = bestSeconds([&] { theirs8 = viaIconv("UTF-8", "CP932", theirs932); });

    const bool same = std::string(back.data(), back.length()) == text && theirs8 == text &&
                      std::string(blocks8.begin(), blocks8.end()) == text &&
                      std::string(cp932.data(), cp932.length()) == theirs932;
    std::printf("round trip %s\n\n", same ? "exact (ours and iconv agree)" : "DIFFERS");
    std::printf("%-28s %13s %13s %8s\n", "stage (input bytes)", "ours", "iconv", "ours/iconv time");
    report("utf-8 -> utf-16 (strings)", text.size(), ours1, iconv1);
    report("utf-16 -> cp932 (strings)", theirs16.size(), ours2, iconv2);
    report("cp932 -> utf-8 (strings)", theirs932.size(), ours3, iconv3);
    report("whole trip (strings)", text.size(), ours1 + ours2 + ours3, iconv1 + iconv2 + iconv3);
    report("utf-8 -> utf-16 (blocks)", text.size(), blocks1, iconv1);
    report("utf-16 -> cp932 (blocks)", theirs16.size(), blocks2, iconv2);
    report("cp932 -> utf-8 (blocks)", theirs932.size(), blocks3, iconv3);
    report("whole trip (blocks)", text.size(), blocks1 + blocks2 + blocks3, iconv1 + iconv2 + iconv3);
    EncodingRegistry::lifeCycle(false);
    return same ? 0 : 1;
}
