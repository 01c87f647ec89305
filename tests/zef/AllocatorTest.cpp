#include "tests/zef/ZefFixture.h"

#include <filesystem>
#include <string>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define ZEF_SANITIZER_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define ZEF_SANITIZER_ALLOCATOR 1
#endif
#endif

namespace {

using AllocatorTest = zef::test::ZefFixture;

// The converters allocate through mimalloc: it reports itself on start-up
// when asked to. A link that drops it (a library nothing names is easily
// left out) would still convert, only slower, so nothing else would notice.
TEST_F(AllocatorTest, ConvertersRunOnMimalloc)
{
#ifdef ZEF_SANITIZER_ALLOCATOR
    GTEST_SKIP() << "a sanitizer's build keeps the sanitizer's allocator";
#endif
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
