// Golden tests of whole conversions: each folder of tests/data/zef/cases names
// a source book or page, the options of one or more conversions run one after
// the other, and the expected result, compared byte for byte (see
// tests/data/zef/README.md; ZEF_UPDATE_GOLDEN=1 rewrites the expected files).
// Every case runs on one, two and eight workers, with the same expected book.

#include "tests/zef/BookText.h"
#include "tests/zef/ZefFixture.h"

#include <cstdlib>
#include <map>
#include <sstream>
#include <tuple>

namespace {

using namespace zef::test;

const fs::path DataFolder = fs::path(ZEF_SOURCE_DIR) / "tests/data/zef";

std::vector<std::string> caseNames()
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(DataFolder / "cases"))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The conversions of a case: option lines, "---" between two conversions.
std::vector<std::vector<std::string>> conversions(const fs::path& argsFile)
{
    std::vector<std::vector<std::string>> steps(1);
    std::istringstream lines(fileContent(argsFile));
    for (std::string line; std::getline(lines, line);) {
        if (line == "---")
            steps.emplace_back();
        else if (!line.empty())
            steps.back().push_back(line);
    }
    return steps;
}

std::map<std::string, std::string> folderFiles(const fs::path& folder)
{
    std::map<std::string, std::string> files;
    for (const std::string& name : treeListing(folder)) {
        if (fs::is_regular_file(folder / name))
            files[name] = fileContent(folder / name);
    }
    return files;
}

std::map<std::string, std::string> archiveFiles(const fs::path& epub)
{
    std::map<std::string, std::string> files;
    for (ZipContent& entry : readZip(epub))
        files[entry.name] = std::move(entry.data);
    return files;
}

class GoldenTest : public ZefFixture, public ::testing::WithParamInterface<std::tuple<std::string, unsigned>> {};

TEST_P(GoldenTest, ConversionGivesTheExpectedBook)
{
    const auto& [caseName, workers] = GetParam();
    const fs::path caseFolder = DataFolder / "cases" / caseName;
    std::string sourceName = fileContent(caseFolder / "source");
    sourceName.erase(sourceName.find_last_not_of("\n") + 1);
    const fs::path source = DataFolder / sourceName;
    const bool epub = fs::is_directory(source);
    const std::string extension = epub ? ".epub" : ".xhtml";

    fs::path current = path("input" + extension);
    if (epub)
        packEpubFolder(source, current);
    else
        fs::copy_file(source, current);
    const std::vector<std::vector<std::string>> steps = conversions(caseFolder / "args");
    for (size_t i = 0; i < steps.size(); ++i) {
        const fs::path output = path("step" + std::to_string(i + 1) + extension);
        std::vector<std::string> arguments = steps[i];
        arguments.insert(arguments.end(), {current.string(), output.string()});
        const ProgramResult r = zef(arguments, {"ZEF_THREADS=" + std::to_string(workers)});
        ASSERT_EQ(r.status, 0) << describe(r);
        current = output;
    }

    std::map<std::string, std::string> actual =
        epub ? archiveFiles(current) : std::map<std::string, std::string>{{"expected.xhtml", fileContent(current)}};
    if (epub) {
        EXPECT_EQ(readZip(current).front().name, "mimetype");
    }
    const fs::path expectedFolder = epub ? caseFolder / "expected" : caseFolder;
    if (std::getenv("ZEF_UPDATE_GOLDEN") && workers == 1) {
        if (epub)
            fs::remove_all(expectedFolder);
        for (const auto& [name, data] : actual)
            writeText(expectedFolder / name, data);
        GTEST_SKIP() << "expected output rewritten";
    }
    std::map<std::string, std::string> expected =
        epub ? folderFiles(expectedFolder)
             : std::map<std::string, std::string>{{"expected.xhtml", fileContent(caseFolder / "expected.xhtml")}};
    for (const auto& [name, data] : expected) {
        EXPECT_TRUE(actual.count(name)) << name << " is missing";
        EXPECT_EQ(actual[name], data) << name;
    }
    for (const auto& [name, data] : actual)
        EXPECT_TRUE(expected.count(name)) << name << " is unexpected";

    // A round trip without edits gives back every character of the text.
    if (caseName.ends_with("round-trip")) {
        const std::map<std::string, std::string> input =
            epub ? folderFiles(source) : std::map<std::string, std::string>{{"expected.xhtml", fileContent(source)}};
        for (const auto& [name, data] : input) {
            if (name.ends_with(".xhtml")) {
                EXPECT_EQ(readerText(actual[name]), readerText(data)) << name;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenTest,
                         ::testing::Combine(::testing::ValuesIn(caseNames()), ::testing::Values(1u, 2u, 8u)),
                         [](const ::testing::TestParamInfo<GoldenTest::ParamType>& suite) {
                             std::string name = std::get<0>(suite.param);
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name + "_" + std::to_string(std::get<1>(suite.param)) + "_workers";
                         });

} // namespace
