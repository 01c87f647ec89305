#pragma once

#include "app/Application.h"
#include "engine/EngineContext.h"
#include "kiln/base/IFlow.h"
#include "kiln/base/OFlow.h"
#include "kiln/base/Utf8String.h"

#include <string>

// The text tool: divides a UTF-8 text line by line, with ideographic spaces
// between the words and CR LF after every line, from a file or standard input
// to a file or standard output.
class Wakati : public KILN::Application {
public:
    // Exit statuses besides 0.
    enum Status : int32_t {
        InputFailed = 2,
        OutputFailed = 3,
        AnalyserFailed = 4,
        TooManyArguments = -1,
    };

    Wakati(int32_t argc, char** argv) : Application(argc, argv) {}

    bool handleOption(int32_t kind, int32_t& index, const char* value) override;
    const Option* optionTable() const override;
    int32_t run() override;
    virtual void printUsage();
    virtual void printBanner();

private:
    enum Mode : int32_t { Divide = 0, Version = 1, Help = 2 };

    // Opens the input, the analyser and the output, and divides.
    void divideFiles();
    // The analyser with the options of the command line.
    EngineContext createEngine();
    // Divides every line of input into output, then closes output; fails with
    // the status of the side that failed.
    void divide(const EngineContext& context, KILN::IFlow& input, KILN::OFlow& output);
    // Writes "ERROR: " and the message on standard error and fails with status.
    void failWith(int32_t status, const char* message, const char* detail);

    int32_t m_mode = Divide;
    bool m_ruby = false;
    bool m_kazenoha = true;
    bool m_jyoshiWakachi = false;
    // The UniDic folder for readings; empty for the analyser's own.
    std::string m_readingDic;
    // UTF-8 paths, as the system takes them.
    KILN::Utf8String m_source;
    KILN::Utf8String m_destination;
};
