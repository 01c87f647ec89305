// Measures how far the readings of `kazenohawakati -r -m-` agree with human
// ruby, without and with a UniDic reading dictionary (--reading-dic), and
// what the second analysis costs in CPU time against the plain run.
//
// Sets of human ruby: a JSON-lines file (one span a line: "base", "reading",
// "sentence", "start", "end", the last two code-point offsets of the base in
// the sentence) or an EPUB, whose own ruby elements are the spans (the text
// without rt elements, a line a paragraph). By default the corpus's
// readings/aozora-sample.jsonl and kusamakura.epub; arguments name other sets.
// A plain text file (.txt) is a set for the cost alone. The variable
// READING_DIC names the UniDic folder (default Debian's).
//
// The cost is set beside what the analyser alone takes on the same lines,
// `mecab -Owakati` with IPADIC and with the UniDic: the second analysis
// cannot cost less than that UniDic run.
//
// A span agrees when the program's readings of the ruby bases inside it,
// with the characters between them (kana as hiragana), equal the human
// reading in hiragana. A ruby base that crosses the span's edge, or output
// that cannot be lined up with the sentence, counts as not agreeing.

#include "EpubEntries.h"
#include "PairedCpuTime.h"
#include "RunConditions.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

using Text = std::u32string;

struct Span {
    size_t line;
    size_t start;
    size_t end;
    Text reading;
};

struct RubySet {
    std::string name;
    std::vector<std::string> lines;
    std::vector<Span> spans;
};

Text decode(const std::string& utf8)
{
    Text text;
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int count = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = count == 1 ? lead : lead & (0x3F >> (count - 1));
        for (int k = 1; k < count && i + k < utf8.size(); ++k)
            c = c << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        text += c;
        i += count;
    }
    return text;
}

void encode(char32_t c, std::string& out)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

char32_t hiragana(char32_t c)
{
    return c >= 0x30A1 && c <= 0x30F6 ? c - 0x60 : c;
}

Text toHiragana(Text text)
{
    for (char32_t& c : text)
        c = hiragana(c);
    return text;
}

// The string value of "key" in a JSON object line; empty when absent.
std::string jsonString(const std::string& line, const std::string& key)
{
    size_t at = line.find("\"" + key + "\":");
    if (at == std::string::npos)
        return {};
    at = line.find('"', at + key.size() + 3);
    std::string value;
    for (size_t i = at + 1; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] != '\\') {
            value += line[i];
            continue;
        }
        const char escaped = line[++i];
        if (escaped == 'u') {
            encode(static_cast<char32_t>(std::stoul(line.substr(i + 1, 4), nullptr, 16)), value);
            i += 4;
        } else {
            value += escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped;
        }
    }
    return value;
}

size_t jsonNumber(const std::string& line, const std::string& key)
{
    const size_t at = line.find("\"" + key + "\":");
    return at == std::string::npos ? 0 : std::stoul(line.substr(at + key.size() + 3));
}

// A line for the program: line ends would split it.
bool usableLine(const std::string& sentence)
{
    return !sentence.empty() && sentence.find_first_of("\r\n") == std::string::npos;
}

RubySet readJsonLines(const std::string& path)
{
    RubySet set{path, {}, {}};
    std::map<std::string, size_t> lineOf;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        const std::string sentence = jsonString(line, "sentence");
        if (!usableLine(sentence))
            continue;
        const auto [entry, added] = lineOf.emplace(sentence, set.lines.size());
        if (added)
            set.lines.push_back(sentence);
        set.spans.push_back(Span{entry->second, jsonNumber(line, "start"), jsonNumber(line, "end"),
                                 toHiragana(decode(jsonString(line, "reading")))});
    }
    return set;
}

// The paragraphs of an XHTML document as lines, and their ruby as spans.
void addRuby(const std::string& xhtml, RubySet& set)
{
    Text line;
    Text reading;
    size_t baseStart = 0;
    bool inReading = false;
    auto endLine = [&set, &line]() {
        if (!line.empty()) {
            std::string utf8;
            for (char32_t c : line)
                encode(c, utf8);
            set.lines.push_back(utf8);
        }
        line.clear();
    };
    for (size_t i = 0; i < xhtml.size();) {
        if (xhtml[i] != '<') {
            const size_t next = std::min(xhtml.find('<', i), xhtml.size());
            std::string chunk = xhtml.substr(i, next - i);
            std::string plain;
            for (char c : chunk)
                if (c != '\n' && c != '\r')
                    plain += c;
            (inReading ? reading : line) += decode(plain);
            i = next;
            continue;
        }
        const size_t close = xhtml.find('>', i);
        if (close == std::string::npos)
            break;
        const std::string tag = xhtml.substr(i + 1, close - i - 1);
        if (tag.rfind("ruby", 0) == 0) {
            baseStart = line.size();
        } else if (tag.rfind("rt", 0) == 0) {
            inReading = true;
            reading.clear();
        } else if (tag.rfind("/rt", 0) == 0) {
            inReading = false;
            if (line.size() > baseStart)
                set.spans.push_back(Span{set.lines.size(), baseStart, line.size(), toHiragana(reading)});
            baseStart = line.size();
        } else if (tag.rfind("/p", 0) == 0) {
            endLine();
        }
        i = close + 1;
    }
    endLine();
}

RubySet readText(const std::string& path)
{
    RubySet set{path, {}, {}};
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        set.lines.push_back(line);
    }
    return set;
}

RubySet readEpub(const std::string& path)
{
    RubySet set{path, {}, {}};
    forEachXhtml(path.c_str(), [&set](const std::string& xhtml) { addRuby(xhtml, set); });
    return set;
}

// What the program gave a part of a sentence: its characters [begin, end)
// and their reading.
struct Piece {
    size_t begin;
    size_t end;
    Text reading;
};

bool isSpace(char32_t c)
{
    return c == ' ' || c == '\t' || c == 0x3000;
}

// Lines the program's output up with the sentence; false when it cannot.
bool linePieces(const Text& sentence, const Text& output, std::vector<Piece>& pieces)
{
    pieces.clear();
    size_t i = 0;
    for (size_t j = 0; j < output.size();) {
        if (output[j] == U'｜') {
            const size_t open = output.find(U'《', j);
            const size_t close = output.find(U'》', open);
            if (open == Text::npos || close == Text::npos)
                return false;
            const Text base = output.substr(j + 1, open - j - 1);
            while (i < sentence.size() && sentence.compare(i, base.size(), base) != 0 && isSpace(sentence[i]))
                ++i;
            if (sentence.compare(i, base.size(), base) != 0)
                return false;
            pieces.push_back(Piece{i, i + base.size(), toHiragana(output.substr(open + 1, close - open - 1))});
            i += base.size();
            j = close + 1;
        } else if (i < sentence.size() && (output[j] == sentence[i] || (output[j] == 0x3000 && sentence[i] == '_'))) {
            pieces.push_back(Piece{i, i + 1, Text(1, hiragana(sentence[i]))});
            ++i;
            ++j;
        } else if (output[j] == 0x3000) {
            ++j; // a word division
        } else if (i < sentence.size() && isSpace(sentence[i])) {
            ++i; // white space the analyser skipped
        } else {
            return false;
        }
    }
    return true;
}

bool agrees(const std::vector<Piece>& pieces, const Span& span)
{
    Text reading;
    bool started = false;
    for (const Piece& piece : pieces) {
        if (piece.end <= span.start)
            continue;
        if (piece.begin >= span.end)
            return started && reading == span.reading;
        if (piece.begin < span.start || piece.end > span.end)
            return false; // not aligned
        if (!started && piece.begin != span.start)
            return false;
        started = true;
        reading += piece.reading;
        if (piece.end == span.end)
            return reading == span.reading;
    }
    return false;
}

std::vector<std::string> readLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The share of the set's spans that the output agrees with.
double agreement(const RubySet& set, const std::string& outputPath)
{
    const std::vector<std::string> output = readLines(outputPath);
    if (output.size() != set.lines.size())
        return -1;
    std::vector<std::vector<Piece>> pieces(set.lines.size());
    for (size_t i = 0; i < set.lines.size(); ++i) {
        if (!linePieces(decode(set.lines[i]), decode(output[i]), pieces[i]))
            pieces[i].clear();
    }
    size_t agreed = 0;
    for (const Span& span : set.spans)
        agreed += agrees(pieces[span.line], span) ? 1 : 0;
    return set.spans.empty() ? 0 : 100.0 * static_cast<double>(agreed) / static_cast<double>(set.spans.size());
}

bool runTool(const std::string& arguments, const std::string& input, const std::string& output)
{
    const std::string command = "'" KAZENOHAWAKATI_PROGRAM "' -r -m- " + arguments + " '" + input + "' '" + output + "'";
    return std::system(command.c_str()) == 0;
}

void runAnalyser(const std::string& arguments, const std::string& input)
{
    const std::string command = "'" MECAB_PROGRAM "' -Owakati " + arguments + " '" + input + "' > /dev/null";
    if (std::system(command.c_str()) != 0)
        std::fprintf(stderr, "mecab failed: %s\n", command.c_str());
}

bool endsWith(const std::string& text, const char* suffix)
{
    const std::string tail(suffix);
    return text.size() > tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    const char* named = std::getenv("READING_DIC");
    const std::string folder = named && *named ? named : "/var/lib/mecab/dic/unidic";
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i)
        paths.emplace_back(argv[i]);
    if (paths.empty())
        paths = {ZEF_CORPUS_DIR "/readings/aozora-sample.jsonl", ZEF_CORPUS_DIR "/kusamakura.epub"};
    printRunConditions("reading dictionary " + folder);

    const std::string dir = std::getenv("TMPDIR") && *std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp";
    const std::string input = dir + "/reading_bench." + std::to_string(getpid()) + ".txt";
    const std::string plainOutput = input + ".plain";
    const std::string readingOutput = input + ".unidic";
    const std::string option = "--reading-dic='" + folder + "'";
    int status = 0;
    std::printf("%-60s %7s %9s %9s %8s %8s %6s %8s %8s %6s\n", "set", "spans", "plain %", "unidic %", "plain s",
                "unidic s", "cost", "mecab s", "uni s", "mecab");
    for (const std::string& path : paths) {
        const bool text = endsWith(path, ".txt");
        const RubySet set = text ? readText(path) : endsWith(path, ".epub") ? readEpub(path) : readJsonLines(path);
        if (set.spans.empty() && !text) {
            std::fprintf(stderr, "no ruby in %s\n", path.c_str());
            status = 1;
            continue;
        }
        {
            std::ofstream out(input, std::ios::binary);
            for (const std::string& line : set.lines)
                out << line << '\n';
        }
        if (!runTool("", input, plainOutput) || !runTool(option, input, readingOutput)) {
            std::fprintf(stderr, "kazenohawakati failed on %s\n", path.c_str());
            status = 1;
            continue;
        }
        // A text without ruby has no agreement to show.
        const auto share = [text, &set](const std::string& output) {
            char shown[16] = "-";
            if (!text)
                std::snprintf(shown, sizeof shown, "%.1f", agreement(set, output));
            return std::string(shown);
        };
        const std::string plain = share(plainOutput);
        const std::string withReadings = share(readingOutput);
        const PairedSeconds seconds = pairedBest([&] { runTool("", input, plainOutput); },
                                                 [&] { runTool(option, input, readingOutput); }, childCpuSeconds, 3);
        const PairedSeconds analyser = pairedBest([&] { runAnalyser("-d '" MECAB_DICTIONARY "'", input); },
                                                  [&] { runAnalyser("-d '" + folder + "'", input); }, childCpuSeconds, 3);
        std::printf("%-60s %7zu %9s %9s %8.2f %8.2f %5.2fx %8.2f %8.2f %5.2fx\n", set.name.c_str(),
                    set.spans.size(), plain.c_str(), withReadings.c_str(), seconds.first, seconds.second,
                    seconds.second / seconds.first, analyser.first, analyser.second,
                    analyser.second / analyser.first);
    }
    std::remove(input.c_str());
    std::remove(plainOutput.c_str());
    std::remove(readingOutput.c_str());
    return status;
}
