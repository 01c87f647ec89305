// Black-box tests of the text tool: the built program runs with arguments,
// standard input and files, and its output, messages and status are checked.

#include <gtest/gtest.h>

#include "tests/support/BoundedMemory.h"
#include "tests/support/Program.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

const char* const Program = ZEF_BINARY_DIR "/kazenohawakati/kazenohawakati";

using Result = zef::test::ProgramResult;
using zef::test::ProgramRun;

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary) << content;
}

class WakatiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/wakati_test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }

    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string path(const char* name) const { return dir + "/" + name; }

    // Runs the program with the arguments, input on standard input, and
    // standard output captured into the result or sent to stdoutPath.
    Result run(const std::vector<std::string>& arguments, const std::string& input = "",
               std::string stdoutPath = "", const std::vector<std::string>& extraEnvironment = {})
    {
        return zef::test::runProgram(Program, {arguments, input, stdoutPath, extraEnvironment}, dir);
    }

    // The environment of a run whose installed MeCab configuration holds
    // the text given.
    std::vector<std::string> installedConfiguration(const std::string& mecabrc)
    {
        writeFile(path("mecabrc"), mecabrc);
        writeFile(path("zef.conf"), "InstDir=" + dir + "/\n");
        return {"ZEF_SYSCONFDIR=" + dir};
    }

    std::string dir;
};

const std::string Sentence = "私は学校へ行きました。";

} // namespace

TEST_F(WakatiTest, FilterWithDefaultOptions)
{
    const Result r = run({}, Sentence + "\n本を読む\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "私は　学校へ　行きました。\r\n本を　読む\r\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(WakatiTest, Options)
{
    EXPECT_EQ(run({"-r"}, "食べる\n").out, "｜食《た》べる\r\n");
    EXPECT_EQ(run({"--ruby"}, "食べる\n").out, "｜食《た》べる\r\n");
    EXPECT_EQ(run({"--ruby=1"}, "食べる\n").out, "｜食《た》べる\r\n") << "a value after = is ignored";
    EXPECT_EQ(run({"-j"}, Sentence).out, "私~は~学校~へ~行き~まし~た。\r\n");
    EXPECT_EQ(run({"--jyoshi"}, Sentence).out, "私~は~学校~へ~行き~まし~た。\r\n");
    // The standard rule keeps particles joined and needs no phrase tables.
    EXPECT_EQ(run({"-m-"}, "これという\n").out, "これという\r\n");
    EXPECT_EQ(run({"--kazenoha-"}, "これという\n").out, "これという\r\n");
    EXPECT_EQ(run({}, "これという\n").out, "これと　いう\r\n");
    EXPECT_EQ(run({"-r", "-j", "-m-"}, "本を読む\n").out, "｜本《ほん》~を　｜読《よ》む\r\n");
    EXPECT_EQ(run({"-R"}, "x\n").status, 2) << "an unknown option is a source path";
}

TEST_F(WakatiTest, BannerAndUsage)
{
    for (const char* option : {"--version", "-V"}) {
        const Result r = run({option}, Sentence);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, "kazenohawakati version 1.3.0\n");
    }
    const std::string usage = "kazenohawakati.exe [options] source_path destination_path\n"
                              "OPTION:\n"
                              "-r, --ruby         Output ruby information\n"
                              "-m-, --kazenoha-   Don't use kazenoha wakati rule\n"
                              "-j, --jyoshi       Output jyoshi wakati\n";
    for (const char* option : {"-h", "-help", "--help", "--help=x"}) {
        const Result r = run({option}, Sentence);
        EXPECT_EQ(r.status, 0) << option;
        EXPECT_EQ(r.out, usage) << option;
    }
    EXPECT_EQ(run({"--help="}).status, 2) << "no value after = makes it a path";
}

TEST_F(WakatiTest, Files)
{
    writeFile(path("in.txt"), Sentence);
    Result r = run({path("in.txt")}, "ignored\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "私は　学校へ　行きました。\r\n");

    r = run({path("in.txt"), path("out.txt")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(readFile(path("out.txt")), "私は　学校へ　行きました。\r\n");

    // Options after the paths count as well.
    writeFile(path("out.txt"), "old content that is longer than the new one");
    r = run({path("in.txt"), "-j", path("out.txt")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(readFile(path("out.txt")), "私~は~学校~へ~行き~まし~た。\r\n");
}

TEST_F(WakatiTest, LineEndsAndOddBytes)
{
    EXPECT_EQ(run({}, "").out, "") << "empty input";
    EXPECT_EQ(run({}, "\n").out, "\r\n");
    EXPECT_EQ(run({}, "本\r\n本").out, "本\r\n本\r\n") << "CR LF, and a last line without LF";
    EXPECT_EQ(run({}, "本\r\r\n").out, "本\r\r\n") << "only the last CR goes";
    std::string longLine;
    for (int i = 0; i < 3000; ++i)
        longLine += "本を読む。 ";
    const Result r = run({}, longLine + "\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.size(), longLine.size() + 3000 * 3 + 2);
}

TEST_F(WakatiTest, NulByteDropsNothingOfTheLine)
{
    // Regression: the rest of a line after a NUL byte was lost. A NUL is an
    // ASCII byte: copied, and the words on both sides divided as usual.
    const Result r = run({}, "本を読む\0本を読む\0\n次\n"s);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "本を　読む\0本を　読む\0\r\n次\r\n"s);
}

TEST_F(WakatiTest, LongRunIsDividedInBoundedMemory)
{
    // Regression: a line of Japanese without an ASCII byte, longer than the
    // analyser takes, came back undivided after the analyser had held some
    // sixty bytes per byte of it.
    std::string line;
    std::string expected;
    while (line.size() < 16 << 20) {
        line += "本を読む。";
        expected += "本を　読む。";
    }
    writeFile(path("in.txt"), line + "\n");
    const Result r = run({path("in.txt"), path("out.txt")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(readFile(path("out.txt")) == expected + "\r\n");
    // The line, its divided forms and the dictionary; no lattice of it all.
    if (zef::test::memoryCanBeBounded()) {
        EXPECT_LT(r.peakKilobytes, 10 * static_cast<long>(line.size()) / 1024);
    }
}

TEST_F(WakatiTest, LinesAcrossReadBlocks)
{
    // Input is read in blocks of 64 KiB: lines that straddle a block, a line
    // longer than several blocks, a CR LF split between blocks and a last
    // line without LF must come out as from a line-by-line read.
    std::string input;
    std::string expected;
    const auto addLine = [&](const std::string& text, const std::string& end) {
        input += text + end;
        expected += text + "\r\n";
    };
    for (int i = 0; input.size() < 60000; ++i)
        addLine(std::string(static_cast<size_t>(i % 97), 'a'), "\n");
    addLine(std::string(65535 - input.size(), 'b'), "\r\n");
    addLine("本を読む", "\n");
    expected.replace(expected.size() - 14, 12, "本を　読む");
    addLine(std::string(200000, 'c'), "\n");
    addLine("end", "");
    ASSERT_EQ(input.find("\r\n"), 65535u) << "the CR ends the first block";
    writeFile(path("in.txt"), input);
    const Result fromFile = run({path("in.txt")});
    EXPECT_EQ(fromFile.status, 0);
    EXPECT_TRUE(fromFile.out == expected) << "output of " << fromFile.out.size() << " bytes differs";
    const Result fromPipe = run({}, input);
    EXPECT_TRUE(fromPipe.out == expected) << "output of " << fromPipe.out.size() << " bytes differs";
}

TEST_F(WakatiTest, SourceAndDestinationFailures)
{
    // A source that cannot be opened: 2, and no destination.
    Result r = run({path("missing.txt"), path("out.txt")});
    EXPECT_EQ(r.status, 2);
    EXPECT_FALSE(std::filesystem::exists(path("out.txt")));

    // A destination that cannot be opened: 3.
    writeFile(path("in.txt"), Sentence);
    r = run({path("in.txt"), path("no/such/folder/out.txt")});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.out, "");
}

TEST_F(WakatiTest, FailuresSayWhy)
{
    // Regression: the source and destination failures exited without a word,
    // and MeCab's failure had an empty reason.
    writeFile(path("in.txt"), Sentence);
    Result r = run({path("missing.txt"), path("out.txt")});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "ERROR: cannot open " + path("missing.txt") + ": No such file or directory\n");
    r = run({path("in.txt"), path("no/such/folder/out.txt")});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, "ERROR: cannot open " + path("no/such/folder/out.txt") + ": No such file or directory\n");
    r = run({path("in.txt"), path("out.txt")}, "", "", installedConfiguration("dicdir = /nowhere\n"));
    EXPECT_EQ(r.status, 4);
    EXPECT_NE(r.err.find("/nowhere"), std::string::npos) << "MeCab's own reason: " << r.err;
}

TEST_F(WakatiTest, FailedRunLeavesAnExistingDestinationAsItWas)
{
    // Regression: the destination was truncated before any work, so a run
    // that failed emptied it. Now it is written beside and renamed.
    if (!zef::test::memoryCanBeBounded())
        GTEST_SKIP() << "memory cannot be bounded under AddressSanitizer";
    writeFile(path("out.txt"), "keep");
    const std::string command = zef::test::boundedMemoryPrefix() + "exec " + Program + " /dev/zero " + path("out.txt");
    const Result r = zef::test::runProgram("/bin/sh", {{"-c", command}, "", "", {}}, dir);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(readFile(path("out.txt")), "keep");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1) << "no file left beside it";

    // A device is written through.
    writeFile(path("in.txt"), Sentence);
    EXPECT_EQ(run({path("in.txt"), "/dev/null"}).status, 0);
}

TEST_F(WakatiTest, ThirdArgumentStopsWithoutOutput)
{
    // Regression: this used to stop with status 0.
    writeFile(path("in.txt"), Sentence);
    const Result r = run({path("in.txt"), path("out.txt"), "extra"});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.err, "ERROR: unknown option:extra\n");
    EXPECT_FALSE(std::filesystem::exists(path("out.txt")));
}

TEST_F(WakatiTest, SourceIsNotOverwrittenByItself)
{
    // Regression: the destination was truncated before the source was read.
    writeFile(path("in.txt"), Sentence);
    const Result r = run({path("in.txt"), path("in.txt")});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err.rfind("ERROR: ", 0), 0u);
    EXPECT_EQ(readFile(path("in.txt")), Sentence);
    std::filesystem::create_hard_link(path("in.txt"), path("link.txt"));
    EXPECT_EQ(run({path("in.txt"), path("link.txt")}).status, 3);
    EXPECT_EQ(readFile(path("in.txt")), Sentence);
}

TEST_F(WakatiTest, ReadAndWriteErrorsAreReported)
{
    // Regression: errors escaped as exceptions or were lost at close.
    writeFile(path("in.txt"), Sentence + "\n");
    Result r = run({path("in.txt"), "/dev/full"});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err.rfind("ERROR: ", 0), 0u) << r.err;
    r = run({path("in.txt")}, "", "/dev/full");
    EXPECT_EQ(r.status, 3) << "standard output";
    EXPECT_EQ(r.err.rfind("ERROR: ", 0), 0u) << r.err;

    // A folder opens but cannot be read.
    r = run({dir, path("out.txt")});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.rfind("ERROR: ", 0), 0u) << r.err;
}

TEST_F(WakatiTest, AnalyserThatCannotStart)
{
    // Regression: the tool ran on a null tagger. A configuration naming a
    // missing dictionary makes the tagger fail.
    writeFile(path("in.txt"), Sentence);
    const Result r = run({path("in.txt"), path("out.txt")}, "", "", installedConfiguration("dicdir = /nowhere\n"));
    EXPECT_EQ(r.status, 4);
    EXPECT_EQ(r.err.rfind("ERROR: ", 0), 0u) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line";
    EXPECT_FALSE(std::filesystem::exists(path("out.txt")));
}

TEST_F(WakatiTest, ConvertersConfigurationIsUsedWhenInstalled)
{
    // Regression: the tool took MeCab's default configuration, whose
    // dictionary may be another than the one zef uses. Here the default one
    // is broken: the installed one is taken all the same.
    const Result r = run({"-r"}, "食べる\n", "", {"MECABRC=" + path("missing-mecabrc"), "HOME=" + dir});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "｜食《た》べる\r\n");
}

TEST_F(WakatiTest, ConfigurationThatIsNoRegularFileIsRefused)
{
    // Regression: a mecabrc at a FIFO hung the tool, one at /dev/zero grew
    // its memory without bound.
    ASSERT_EQ(mkfifo(path("fifo").c_str(), 0600), 0);
    const std::string message = "ERROR: MeCab's configuration file is not a regular file of at most 1 MiB: ";
    for (const char* target : {"/dev/zero", "fifo"}) {
        std::filesystem::remove(path("mecabrc"));
        std::filesystem::create_symlink(target, path("mecabrc"));
        writeFile(path("zef.conf"), "InstDir=" + dir + "/\n");
        ProgramRun request{{}, Sentence, "", {"ZEF_SYSCONFDIR=" + dir}};
        request.timeoutSeconds = 20;
        const Result r = zef::test::runProgram(Program, request, dir);
        EXPECT_FALSE(r.timedOut) << target;
        EXPECT_EQ(r.status, 4) << target;
        EXPECT_EQ(r.err, message + path("mecabrc") + "\n");
        EXPECT_EQ(r.out, "");
    }
}

TEST_F(WakatiTest, DictionaryOtherThanUtf8IpadicIsRefused)
{
    // Regression: with UniDic the tool wrote feature columns as readings
    // (｜私《私-代名詞》), with an EUC-JP dictionary it left the text
    // undivided; both exited 0.
    int checked = 0;
    for (const char* name : {"unidic", "juman-utf8", "ipadic"}) {
        const std::string folder = std::string("/var/lib/mecab/dic/") + name;
        if (!std::filesystem::exists(folder + "/sys.dic"))
            continue;
        const Result r = run({"-r"}, Sentence, "", installedConfiguration("dicdir = " + folder + "\n"));
        EXPECT_EQ(r.status, 4) << name;
        EXPECT_EQ(r.err.rfind("ERROR: MeCab's dictionary " + folder + "/sys.dic is not the UTF-8 IPADIC: ", 0), 0u)
            << r.err;
        EXPECT_EQ(r.out, "");
        ++checked;
    }
    if (checked == 0)
        GTEST_SKIP() << "no other MeCab dictionary installed";
}

TEST_F(WakatiTest, StrayBytesInARubyWordLoseNoText)
{
    // Regression: stray continuation bytes decoded to U+0000 inside a kanji
    // word, and the line written through "%s" ended there.
    const Result r = run({"-r"}, "\xF0\xA0\xAE\xB7\x80\x80\xE9\x87\x8E\xE5\xAE\xB6 and more\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\xE9\x87\x8E"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("more\r\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find('\0'), std::string::npos) << r.out;
}

TEST_F(WakatiTest, DirectorySourceLeavesTheDestinationAlone)
{
    // Regression: a directory opens on Linux, so the destination was
    // truncated before the first read failed.
    writeFile(path("out.txt"), "keep");
    const Result r = run({dir, path("out.txt")});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "ERROR: not a file or a stream: " + dir + "\n");
    EXPECT_EQ(readFile(path("out.txt")), "keep");
}

TEST_F(WakatiTest, EndlessInputIsAnErrorNotACrash)
{
    // Regression: /dev/zero ended in an uncaught std::bad_alloc (status 134),
    // and later in a clean error, but only once 4 GiB of memory were taken.
    const Result r = run({"/dev/zero", path("out.txt")});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "ERROR: a line of the input is longer than 256 MiB\n");
    EXPECT_LT(r.peakKilobytes, 1024 * 1024) << "the line is refused at its limit, not when memory runs out";
    EXPECT_FALSE(std::filesystem::exists(path("out.txt")));
}

TEST_F(WakatiTest, ReadingDictionary)
{
    const std::string unidic = "/var/lib/mecab/dic/unidic";
    if (std::filesystem::exists(unidic + "/sys.dic")) {
        EXPECT_EQ(run({"-r", "-m-"}, "角が立つ\n").out, "｜角《かく》が　｜立《た》つ\r\n");
        EXPECT_EQ(run({"-r", "-m-", "--reading-dic=" + unidic}, "角が立つ\n").out, "｜角《かど》が　｜立《た》つ\r\n");
        EXPECT_EQ(run({"-r", "-m-", "--reading-dic", unidic}, "角が立つ\n").out, "｜角《かど》が　｜立《た》つ\r\n");
        EXPECT_EQ(run({"--reading-dic=" + unidic}, "角が立つ\n").out, "角が　立つ\r\n") << "readings only with -r";
    }
    writeFile(path("in.txt"), "角\n");
    const Result r = run({"-r", "--reading-dic=" + path("none"), path("in.txt"), path("out.txt")});
    EXPECT_EQ(r.status, 4);
    EXPECT_EQ(r.err, "ERROR: The reading dictionary folder does not exist: " + path("none") + "\n");
    EXPECT_FALSE(std::filesystem::exists(path("out.txt")));
    EXPECT_EQ(run({"--reading-dic"}).err, "ERROR: --reading-dic needs a value.\n");
}

TEST_F(WakatiTest, TheInputsOwnMarksAreNotDivisions)
{
    // Regression: an "_" of the input came out as a division space.
    EXPECT_EQ(run({}, "snake_case の名前\n").out, "snake_case の　名前\r\n");
    EXPECT_EQ(run({}, "a__b ~ 本_を読む\n").out, "a__b ~ 本_を　読む\r\n");
    EXPECT_EQ(run({"-j"}, "a~本を\n").out, "a~本~を\r\n");
    // With ruby the output is the converter's notation: the input's bars escaped.
    EXPECT_EQ(run({"-r"}, "｜本《ほん》\n").out, "＼｜｜本《ほん》《　ほん》\r\n");
    EXPECT_EQ(run({}, "｜本《ほん》\n").out, "｜　本《　ほん》\r\n");
}
