#include "app/Application.h"

#include "kiln/base/Library.h"

#include <cstring>

namespace KILN {

namespace {

const Application::Option baseOptions[] = {
    {"--version", 1},
    {"-V", 1},
    {"-h", 2},
    {"-help", 2},
    {"--help", 2},
    {nullptr, 0},
};

} // namespace

Application::Application(int32_t argc, char** argv) : m_argc(argc), m_argv(argv)
{
    startLibrary();
}

Application::~Application()
{
    stopLibrary();
}

bool Application::parseOptions()
{
    const Option* table = optionTable();
    for (int32_t i = 1; i < m_argc; ++i) {
        const char* argument = m_argv[i];
        const size_t length = std::strlen(argument);
        int32_t kind = NoKind;
        const char* value = nullptr;
        for (const Option* option = table; option->name; ++option) {
            const size_t n = std::strlen(option->name);
            if (std::strncmp(argument, option->name, n) != 0)
                continue;
            if (length == n) {
                kind = option->kind;
                break;
            }
            // "name=value" needs at least one byte of value.
            if (length >= n + 2 && argument[n] == '=') {
                kind = option->kind;
                value = argument + n + 1;
                break;
            }
        }
        if (!handleOption(kind, i, value))
            return false;
    }
    return true;
}

bool Application::handleOptionValue(int32_t, const char*, const char*, bool&)
{
    return false;
}

bool Application::handleOption(int32_t kind, int32_t& index, const char* value)
{
    bool consumedNext = false;
    if (!value && index + 1 < m_argc) {
        const bool handled = handleOptionValue(kind, m_argv[index], m_argv[index + 1], consumedNext);
        if (consumedNext)
            ++index;
        return handled;
    }
    return handleOptionValue(kind, m_argv[index], value, consumedNext);
}

const Application::Option* Application::optionTable() const
{
    return baseOptions;
}

int32_t Application::run()
{
    int32_t result = 0;
    try {
        fail(1);
    } catch (int32_t code) {
        result = code;
    }
    return result;
}

void Application::fail(int32_t code)
{
    throw code;
}

bool Application::start()
{
    return parseOptions();
}

int32_t Application::finish(int32_t result)
{
    return result;
}

} // namespace KILN
