#pragma once

#include "model/ProgressObserver.h"

#include <QLabel>

// Shows how far a conversion has come ("変換中: n / N") in a label of the
// dialog. The model tells it from the worker thread, while the label (which
// outlives the conversion) changes on its own thread.
class ProgressLabel : public ProgressObserver {
public:
    explicit ProgressLabel(QLabel* label) : m_label(label) {}

    void documentStarted(uint32_t number, uint32_t count) override;
    void documentsDone() override;

    // The text shown for document number of count.
    static QString textFor(uint32_t number, uint32_t count);

private:
    void show(const QString& text);

    QLabel* m_label;
};
