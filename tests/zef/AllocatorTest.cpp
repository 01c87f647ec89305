#include "tests/support/Sanitizers.h"
#include "tests/zef/ZefFixture.h"

#include <filesystem>
#include <string>

namespace {

using AllocatorTest = zef::test::ZefFixture;

// The converters allocate through mimalloc: it reports itself on start-up
// when asked to. A link that drops it (a library nothing names is easily
// left out) would still convert, only slower, so nothing else would notice.
TEST_F(AllocatorTest, ConvertersRunOnMimalloc)
{
    if (zef::test::AddressSanitized || zef::test::ThreadSanitized)
        GTEST_SKIP() << "a sanitizer's build keeps the sanitizer's allocator";
    for (const char* program : {ZEF_BINARY_DIR "/zef/zef", ZEF_BINARY_DIR "/kazenohawakati/kazenohawakati"}) {
        if (!std::filesystem::exists(program))
            continue;
        zef::test::ProgramRun run;
        run.arguments = {"--version"};
        run.environment = {"MIMALLOC_VERBOSE=1"};
        const zef::test::ProgramResult result = zef::test::runProgram(program, run, scratch);
        EXPECT_NE(result.err.find("mimalloc: process init"), std::string::npos) << program << ": " << result.err;
    }
}

} // namespace
