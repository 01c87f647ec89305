#pragma once

#include "kiln/base/Object.h"

#include <cstdint>

namespace KILN {

// The base of the console programs: owns the argument vector, starts the
// class library on construction and stops it on destruction, matches every
// argument against the option table and hands it with its kind to
// handleOption. Errors travel as thrown integers that run turns into its result.
class Application : public Object {
public:
    // An entry of an option table; a table ends with an entry whose name is null.
    struct Option {
        const char* name;
        int32_t kind;
    };
    // The kind of an argument that matches no entry.
    static constexpr int32_t NoKind = -1;

    Application(int32_t argc, char** argv);
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Matches every argument, left to right; false as soon as handleOption is.
    virtual bool parseOptions();
    // Handles an option with its value (the text after "=", or the next
    // argument, which consumedNext then skips); the base answers false.
    virtual bool handleOptionValue(int32_t kind, const char* argument, const char* value, bool& consumedNext);
    // Handles argv[index] of the given kind, with the text after "=" as value
    // (null without "="); may advance index past a consumed argument.
    virtual bool handleOption(int32_t kind, int32_t& index, const char* value);
    // The option table; the base table holds the version and help options.
    virtual const Option* optionTable() const;
    // Does the program's work and answers the exit status.
    virtual int32_t run();
    // Throws code as an integer.
    [[noreturn]] virtual void fail(int32_t code);
    // Parses the options; false stops the program.
    virtual bool start();
    // Answers the exit status for run's result.
    virtual int32_t finish(int32_t result);

protected:
    int32_t m_argc;
    char** m_argv;
};

} // namespace KILN
