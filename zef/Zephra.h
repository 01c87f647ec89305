#pragma once

#include "app/Application.h"
#include "kiln/base/PathString.h"
#include "model/ModelOptions.h"
#include "model/UnpackLimits.h"

class ZephraModel;

#include <string>

// The console converter: pre-processes or post-processes an EPUB or a single
// XHTML file through the conversion model, with the options of the command
// line, and answers an exit status.
class Zephra : public KILN::Application {
public:
    // Exit statuses besides 0.
    enum Status : int32_t {
        NoSource = 1,
        NoDestination = 2,
        NoMecabrc = 3,          // and a model error of a post-process
        PostProcessFailed = 3,
        PreProcessFailed = 4,
        CheckFoundErrors = 3,
        StoppedParsing = -1,
    };

    Zephra(int32_t argc, char** argv) : Application(argc, argv) {}

    bool handleOption(int32_t kind, int32_t& index, const char* value) override;
    const Option* optionTable() const override;
    int32_t run() override;
    virtual void printUsage();
    virtual void printBanner();

private:
    enum Mode : int32_t {
        Version = 1,
        Help = 2,
        PreEpub = 4,
        PostEpub = 5,
        PreHtml = 6,
        PostHtml = 7,
        CheckEpub = 23,
        CheckHtml = 24,
    };

    // Runs the conversion of the mode; answers the exit status.
    int32_t convert();
    // Removes what a failed conversion left; answers status.
    static int32_t discardWorkDirectory(ZephraModel& model, int32_t status);
    // Runs the check of the mode; answers the exit status.
    int32_t check();

    int32_t m_mode = PostEpub;
    KILN::PathString m_source;
    KILN::PathString m_destination;
    // The UniDic folder for readings (UTF-8), from the option or the settings.
    std::string m_readingDic;
    PreProcessOptions m_preOptions;
    PostProcessOptions m_postOptions;
    UnpackLimits m_limits;
};
