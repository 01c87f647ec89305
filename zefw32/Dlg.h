#pragma once

#include "zefw32/DialogWindow.h"
#include "zefw32/VWin.h"

#include <QPointer>
#include <QString>
#include <QStringList>

#include <cstdint>

// A dialog: its window (null until the dialog exists), the handlers the
// framework dispatches to, thin operations on its controls by id, and the
// one place through which it shows message boxes.
class Dlg : public VWin {
public:
    enum class MessageStyle { Plain, Error, Question };

    Dlg() = default;
    Dlg(const Dlg&) = delete;
    Dlg& operator=(const Dlg&) = delete;
    // Destroys the window.
    ~Dlg() override;

    DialogWindow* window() const { return m_window; }

    virtual intptr_t dispatch(DialogMessage message, uint32_t wParam) = 0;
    // Centres the window on the desktop.
    virtual intptr_t onInitDialog();
    virtual intptr_t onCommand(uint32_t wParam);
    virtual intptr_t onClose();

    // Hides the window; the object stays until its owner deletes it.
    void endDialog(int result);
    void checkDlgButton(int32_t id, bool checked);
    // Checks id, unchecks the other radio buttons from first to last.
    void checkRadioButton(int32_t first, int32_t last, int32_t id);
    bool isDlgButtonChecked(int32_t id) const;
    QString dlgItemText(int32_t id) const;
    void setDlgItemText(int32_t id, const QString& text);
    // Moves the window to the middle of its screen's work area.
    void centreOnDesktop();

    // Shows a top-most message box over the dialog; true when the user
    // answered Yes (Question) or closed it (the others).
    virtual bool messageBox(const QString& text, const QString& caption, MessageStyle style);
    // Shows a top-most error message over the dialog with lines below it in
    // a scrollable box, until the user closes it.
    virtual void errorList(const QString& text, const QStringList& lines, const QString& caption);

protected:
    QPointer<DialogWindow> m_window;
};
