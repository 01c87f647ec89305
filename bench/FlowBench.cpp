// Measures the per-unit paths of the flows: the conveyer pumping UTF-16 units
// through a two-filter chain into a string, the text reader handing out the
// bytes of a file one by one and line by line, and the text writer writing
// lines to a file. Each case runs three times; the best time counts.

#include "BestTime.h"
#include "RunConditions.h"

#include "kiln/base/CompositIFilter.h"
#include "kiln/base/Conveyer.h"
#include "kiln/base/Exception.h"
#include "kiln/base/PushbackIFilter.h"
#include "kiln/base/StringIFlow.h"
#include "kiln/base/StringOFlow.h"
#include "kiln/base/TextReader.h"
#include "kiln/base/TextWriter.h"
#include "kiln/file/FileIFlow.h"
#include "kiln/file/FileOFlow.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include <unistd.h>

using namespace KILN;

namespace {

constexpr uint32_t Units = 32 * 1024 * 1024;

// Best of three runs, in million units per second.
double rate(uint32_t units, const std::function<void()>& run)
{
    return units / bestSeconds(run) / 1e6;
}

// A text file of lines of 60 ASCII bytes, removed at the end.
class LinesFile {
public:
    LinesFile() : m_path("/tmp/flow_bench." + std::to_string(getpid()))
    {
        std::FILE* file = std::fopen(m_path.c_str(), "wb");
        std::string line(59, 'x');
        line += '\n';
        for (uint32_t written = 0; written < Units; written += line.size())
            std::fwrite(line.data(), 1, line.size(), file);
        std::fclose(file);
    }
    ~LinesFile() { std::remove(m_path.c_str()); }
    const char* path() const { return m_path.c_str(); }

private:
    std::string m_path;
};

} // namespace

int main()
{
    printRunConditions("");
    TString<unsigned short> text;
    for (uint32_t i = 0; i < Units; ++i)
        text.append(static_cast<unsigned short>(0x3041 + i % 80));

    std::printf("conveyer, UTF-16 through 2 pushback filters: %.0f M units/s\n", rate(Units, [&] {
        StringIFlow<unsigned short> input(text);
        CompositIFilter chain;
        chain.add(new PushbackIFilter<unsigned short>);
        chain.add(new PushbackIFilter<unsigned short>);
        chain.attach(&input);
        TString<unsigned short> out;
        StringOFlow<unsigned short> output(&out);
        convey(&chain, &output);
    }));

    LinesFile file;
    std::printf("text reader, read() per byte from a file: %.0f M bytes/s\n", rate(Units, [&] {
        FileIFlow input(file.path());
        TextReader<char> reader(&input);
        try {
            for (;;)
                reader.read();
        } catch (const IOException&) {
        }
    }));
    std::printf("text reader, readLine() from a file: %.0f M bytes/s\n", rate(Units, [&] {
        FileIFlow input(file.path());
        TextReader<char> reader(&input);
        while (std::unique_ptr<TString<char>> line{reader.readLine()}) {
        }
    }));
    std::printf("text writer, lines of 60 bytes to /dev/null: %.0f M bytes/s\n", rate(Units, [&] {
        FileOFlow output("/dev/null");
        TextWriter<char> writer(&output);
        const TString<char> line("xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\n");
        for (uint32_t written = 0; written < Units; written += line.length())
            writer.write(line);
        output.close();
    }));
    return 0;
}
