#include "app/Application.h"
#include "kiln/base/Library.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using KILN::Application;

namespace {

// An argument vector that lives as long as the test.
class Arguments {
public:
    Arguments(std::initializer_list<const char*> words) : m_words(words.begin(), words.end())
    {
        m_words.insert(m_words.begin(), "program");
        for (std::string& word : m_words)
            m_argv.push_back(word.data());
        m_argv.push_back(nullptr);
    }
    int32_t argc() const { return static_cast<int32_t>(m_words.size()); }
    char** argv() { return m_argv.data(); }

private:
    std::vector<std::string> m_words;
    std::vector<char*> m_argv;
};

// Records every call of handleOption as "kind:argument[=value]".
class RecordingApplication : public Application {
public:
    RecordingApplication(Arguments& arguments, int stopAt = -1)
        : Application(arguments.argc(), arguments.argv()), m_stopAt(stopAt) {}

    bool handleOption(int32_t kind, int32_t& index, const char* value) override
    {
        calls.push_back(std::to_string(kind) + ":" + m_argv[index] + (value ? std::string("=") + value : ""));
        return index != m_stopAt;
    }

    std::vector<std::string> calls;

private:
    int m_stopAt;
};

// The base option handling: an option takes the next argument as its value
// when handleOptionValue says it consumed it.
class ValueApplication : public Application {
public:
    explicit ValueApplication(Arguments& arguments) : Application(arguments.argc(), arguments.argv()) {}

    bool handleOptionValue(int32_t kind, const char* argument, const char* value, bool& consumedNext) override
    {
        calls.push_back(std::to_string(kind) + ":" + argument + ":" + (value ? value : "null"));
        consumedNext = kind == 2;
        return true;
    }

    std::vector<std::string> calls;
};

std::vector<std::string> parsed(std::initializer_list<const char*> words)
{
    Arguments arguments(words);
    RecordingApplication application(arguments);
    EXPECT_TRUE(application.parseOptions());
    return application.calls;
}

} // namespace

TEST(ApplicationTest, ArgumentsAreMatchedAgainstTheTable)
{
    using Calls = std::vector<std::string>;
    EXPECT_EQ(parsed({}), Calls{});
    EXPECT_EQ(parsed({"--version", "-V", "-h", "-help", "--help"}),
              (Calls{"1:--version", "1:-V", "2:-h", "2:-help", "2:--help"}));
    EXPECT_EQ(parsed({"--help=x", "--help=", "-hx", "-v", "--HELP", "-"}),
              (Calls{"2:--help=x=x", "-1:--help=", "-1:-hx", "-1:-v", "-1:--HELP", "-1:-"}));
    EXPECT_EQ(parsed({"a", "-V", "b", "-h=1=2"}), (Calls{"-1:a", "1:-V", "-1:b", "2:-h=1=2=1=2"}));
}

TEST(ApplicationTest, ParsingStopsWhenAnOptionIsRefused)
{
    Arguments arguments({"a", "b", "c"});
    RecordingApplication application(arguments, 2);
    EXPECT_FALSE(application.start());
    EXPECT_EQ(application.calls, (std::vector<std::string>{"-1:a", "-1:b"}));
}

TEST(ApplicationTest, BaseOptionHandlingMayConsumeTheNextArgument)
{
    Arguments arguments({"-V", "x", "-h", "y", "--help=z", "-h"});
    ValueApplication application(arguments);
    EXPECT_TRUE(application.parseOptions());
    EXPECT_EQ(application.calls,
              (std::vector<std::string>{"1:-V:x", "-1:x:-h", "2:-h:y", "2:--help=z:z", "2:-h:null"}));

    Arguments none({"-V"});
    Application base(none.argc(), none.argv());
    EXPECT_FALSE(base.start()) << "the base refuses every option";
}

TEST(ApplicationTest, FailureCodesTravelAsIntegers)
{
    Arguments arguments({});
    Application application(arguments.argc(), arguments.argv());
    EXPECT_TRUE(application.start());
    EXPECT_EQ(application.run(), 1);
    EXPECT_EQ(application.finish(7), 7);
    try {
        application.fail(3);
        FAIL() << "fail returned";
    } catch (int32_t code) {
        EXPECT_EQ(code, 3);
    }
}

namespace {

std::vector<bool> lifeCycleCalls;
bool failStartUp = false;

bool recordLifeCycle(bool startUp)
{
    lifeCycleCalls.push_back(startUp);
    return !(startUp && failStartUp);
}

} // namespace

TEST(ApplicationTest, TheLibraryRunsAsLongAsTheApplication)
{
    // The last slot is free in every program.
    const KILN::LibraryRegistration registration(KILN::LibrarySlot::Count - 1, recordLifeCycle);
    lifeCycleCalls.clear();
    Arguments arguments({});
    {
        Application application(arguments.argc(), arguments.argv());
        EXPECT_TRUE(KILN::isLibraryStarted() && !KILN::isLibraryStopped());
        EXPECT_EQ(lifeCycleCalls, std::vector<bool>{true});
    }
    EXPECT_EQ(lifeCycleCalls, (std::vector<bool>{true, false}));

    // A failed start-up leaves the library stopped; nothing is shut down.
    failStartUp = true;
    lifeCycleCalls.clear();
    {
        Application application(arguments.argc(), arguments.argv());
        EXPECT_TRUE(KILN::isLibraryStopped()) << "the library does not run";
    }
    EXPECT_EQ(lifeCycleCalls, std::vector<bool>{true});
    failStartUp = false;
}
