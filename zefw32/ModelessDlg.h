#pragma once

#include "zefw32/Dlg.h"

// A modeless dialog built from a named dialog template. Every live object
// is in one process-wide list, newest first, through which the shared
// dialog procedure finds the object of a window.
class ModelessDlg : public Dlg {
public:
    // Enters the object into the list of live dialogs; parent points to the
    // parent's window, or is null for none.
    ModelessDlg(const char* templateName, QWidget* const* parent);
    // Leaves the list.
    ~ModelessDlg() override;

    // Builds the window from the template with the shared dialog procedure,
    // initialises the dialog and shows it. False when there is no such
    // template or the window exists already.
    bool create();

    // Close to onClose, InitDialog to onInitDialog, Command to onCommand
    // with the whole command word.
    intptr_t dispatch(DialogMessage message, uint32_t wParam) override;

    // The shared dialog procedure: with InitDialog, param is the object,
    // which gets the window; any other message goes to the live object of
    // that window, and answers 0 when there is none.
    static intptr_t dialogProc(DialogWindow* window, DialogMessage message, uint32_t wParam, void* param);

private:
    const char* m_templateName;
    ModelessDlg* m_next;
    QWidget* const* m_parent;
};
