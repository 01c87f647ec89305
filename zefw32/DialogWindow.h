#pragma once

// The window of a dialog, built from its template, and the messages and
// command words it hands to its dialog procedure.

#include "zefw32/DialogTemplate.h"

#include <QDialog>

#include <cstdint>
#include <map>

// What the dialog framework tells a dialog object.
enum class DialogMessage { InitDialog, Command, Close };

// The ids of the system's own commands: OK (Enter) and cancel (Esc).
constexpr int32_t IdOk = 1;
constexpr int32_t IdCancel = 2;

// A command word: the control id in the low half, the notification in the
// high half.
constexpr uint32_t ButtonClicked = 0;
constexpr uint32_t commandWord(int32_t id, uint32_t notification)
{
    return notification << 16 | (static_cast<uint32_t>(id) & 0xFFFF);
}
constexpr int32_t controlIdOf(uint32_t command)
{
    return static_cast<int32_t>(command & 0xFFFF);
}

class DialogWindow;

// Receives every message of a dialog window; param is what the creator
// handed over with InitDialog, null otherwise. Answers 0 when the message
// was not handled.
using DialogProcedure = intptr_t (*)(DialogWindow* window, DialogMessage message, uint32_t wParam, void* param);

// The window of a dialog, built from its template: the controls placed in
// dialog units of a Japanese UI font, clicks and closing passed to the
// dialog procedure, the controls found by id.
class DialogWindow : public QDialog {
public:
    DialogWindow(const DialogTemplate& resource, DialogProcedure procedure, QWidget* parent);

    // The control with that id; null when there is none.
    QWidget* item(int32_t id) const;
    // Sends InitDialog with param to the procedure.
    void initialise(void* param);

protected:
    // Esc: the cancel command, as the system's dialogs send it.
    void reject() override;
    // The close box: Close, and the cancel command when that was not
    // handled. The window itself only hides when its dialog ends.
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* makeControl(const ControlTemplate& control);

    DialogProcedure m_procedure;
    std::map<int32_t, QWidget*> m_items;
};
