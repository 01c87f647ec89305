// Checks of the shipped documentation against the programs: the built manual
// and the man pages name every option of the option tables and the manual
// every model error number; the man pages render without groff warnings; the
// desktop entry validates. Tools that are not installed skip their checks.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

namespace {

const std::string SourceDir = ZEF_SOURCE_DIR;
const std::string Manual = ZEF_BINARY_DIR "/share/zef/doc/help.pdf";

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs a shell command; answers its standard output and error together.
std::string run(const std::string& command, int& status)
{
    std::string output;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) {
        status = -1;
        return output;
    }
    char buffer[4096];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, count);
    status = pclose(pipe);
    return output;
}

bool haveTool(const char* name)
{
    int status = 0;
    run(std::string("command -v ") + name, status);
    return status == 0;
}

// The option names of a program's option table ({"--name", SomeKind}).
std::vector<std::string> optionsOf(const std::string& source)
{
    const std::string text = readFile(SourceDir + "/" + source);
    const std::regex entry(R"re(\{"(-[^"]*)",\s*\w+Kind\})re");
    std::vector<std::string> names;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), entry); it != std::sregex_iterator(); ++it)
        names.push_back((*it)[1]);
    return names;
}

std::string escaped(const std::string& text)
{
    return std::regex_replace(text, std::regex(R"([-.^$|()\[\]{}*+?\\])"), R"(\$&)");
}

// True when text holds word as a token of its own (not inside "-ha" or "--pre-html").
bool holdsToken(const std::string& text, const std::string& word)
{
    return std::regex_search(text, std::regex("(^|[^-\\w])" + escaped(word) + "($|[^-\\w])"));
}

// A man page's text with groff's escaped hyphens made plain.
std::string manText(const std::string& page)
{
    return std::regex_replace(readFile(SourceDir + "/doc/man/" + page), std::regex(R"(\\-)"), "-");
}

TEST(OptionTables, AreFoundInTheSources)
{
    // Guards the checks below against a table they no longer recognise.
    EXPECT_EQ(40u, optionsOf("zef/Zephra.cpp").size());
    EXPECT_EQ(12u, optionsOf("kazenohawakati/Wakati.cpp").size());
}

TEST(Manual, NamesEveryOptionAndEveryErrorNumber)
{
    if (!haveTool("pdftotext"))
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    ASSERT_FALSE(readFile(Manual).empty()) << Manual << " was not built";
    int status = 0;
    const std::string text = run("pdftotext -enc UTF-8 '" + Manual + "' -", status);
    ASSERT_EQ(0, status) << text;
    for (const char* program : {"zef/Zephra.cpp", "kazenohawakati/Wakati.cpp"}) {
        for (const std::string& option : optionsOf(program))
            EXPECT_TRUE(holdsToken(text, option)) << program << " option " << option;
    }
    for (int number = 1; number <= 29; ++number) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%03d", number);
        EXPECT_TRUE(holdsToken(text, digits)) << "error " << digits;
    }
    // Japanese first, English after it.
    const size_t japanese = text.find("エラー番号と対処");
    const size_t english = text.find("Error numbers and what to do");
    ASSERT_NE(std::string::npos, japanese);
    ASSERT_NE(std::string::npos, english);
    EXPECT_LT(japanese, english);
}

TEST(ManPages, NameEveryOptionOfTheirProgram)
{
    const std::string zef = manText("zef.1");
    for (const std::string& option : optionsOf("zef/Zephra.cpp"))
        EXPECT_TRUE(holdsToken(zef, option)) << "zef.1 lacks " << option;
    const std::string wakati = manText("kazenohawakati.1");
    for (const std::string& option : optionsOf("kazenohawakati/Wakati.cpp"))
        EXPECT_TRUE(holdsToken(wakati, option)) << "kazenohawakati.1 lacks " << option;
}

TEST(ManPages, RenderWithoutWarnings)
{
    if (!haveTool("groff"))
        GTEST_SKIP() << "groff is not installed";
    for (const char* page : {"zef.1", "kazenohawakati.1", "zefw32.1"}) {
        const std::string path = SourceDir + "/doc/man/" + page;
        for (const char* device : {"ps", "utf8"}) {
            int status = 0;
            const std::string messages = run(std::string("groff -ww -z -man -T") + device + " '" + path + "'", status);
            EXPECT_EQ(0, status) << page;
            EXPECT_EQ("", messages) << page << " on " << device;
        }
    }
}

TEST(DesktopEntry, ValidatesAndOpensBooksWithTheDialog)
{
    const std::string path = SourceDir + "/doc/zefw32.desktop";
    const std::string entry = readFile(path);
    EXPECT_NE(std::string::npos, entry.find("\nExec=zefw32 %f\n"));
    EXPECT_NE(std::string::npos, entry.find("\nMimeType=application/epub+zip;application/xhtml+xml;\n"));
    EXPECT_NE(std::string::npos, entry.find("\nIcon=zefw32\n"));
    if (!haveTool("desktop-file-validate"))
        GTEST_SKIP() << "desktop-file-validate (desktop-file-utils) is not installed";
    int status = 0;
    const std::string messages = run("desktop-file-validate '" + path + "'", status);
    EXPECT_EQ(0, status);
    EXPECT_EQ("", messages);
}

} // namespace
