#pragma once

#include "model/ModelOptions.h"
#include "model/ZephraModel.h"
#include "model/ZephraModelError.h"
#include "zefw32/BackgroundTask.h"
#include "zefw32/ModelessDlg.h"
#include "zefw32/ProgressLabel.h"

#include <memory>
#include <string>

// The program's only dialog: the book to convert, the options of both
// passes (kept per user), and the commands that run a conversion on a
// worker thread and write pre-<name> or post-<name> to the desktop.
class MainDlg : public ModelessDlg {
public:
    MainDlg();
    ~MainDlg() override;

    // Loads the settings into the controls.
    intptr_t onInitDialog() override;
    intptr_t onCommand(uint32_t wParam) override;
    // Keeps the window open while a conversion runs.
    intptr_t onClose() override;

    // True while a conversion runs (the controls are disabled meanwhile).
    bool converting() const { return m_task.running(); }

private:
    enum class Pass { Pre, Post };

    void setControls();
    void readControls();
    void chooseFile();
    void showHelp();
    void close();
    // Checks and starts a conversion; the dialog stays disabled until it ends.
    void convert(Pass pass);
    // Shows how the conversion ended and enables the dialog again.
    void finishConversion(std::exception_ptr failure);
    void setBusy(bool busy);
    void showError(const QString& text);
    // Shows a model error and removes what the model left in its working
    // directory.
    void showModelError(const ZephraModelError& error);

    PreProcessOptions m_preOptions;
    PostProcessOptions m_postOptions;
    // The running conversion's model, its MeCab configuration file, its
    // destination and how the completion message names it.
    std::unique_ptr<ZephraModel> m_model;
    std::string m_mecabrc;
    // The UniDic folder for readings that the machine's settings name, if any.
    std::string m_readingDic;
    QString m_completion;
    std::unique_ptr<ProgressLabel> m_progress;
    BackgroundTask m_task;
};
