#pragma once

#include <cstdint>
#include <span>

// Dialog resources: each dialog's size, title, font size and controls in
// dialog units, from which the dialog framework builds the window.

enum class ControlKind {
    Static,
    Edit,               // read-only, scrolls horizontally, with a border
    PushButton,
    DefaultPushButton,
    AutoCheckBox,
    AutoRadioButton,    // the radio buttons of a dialog form one group
    GroupBox,
};

struct ControlTemplate {
    int32_t id;
    ControlKind kind;
    const char* text;   // UTF-8; '&' marks the mnemonic
    int16_t x, y, width, height;
};

struct DialogTemplate {
    const char* name;
    int16_t width, height;
    const char* title;
    int32_t pointSize;
    std::span<const ControlTemplate> controls;  // in tab order
};

// The resource of that name; null when there is none.
const DialogTemplate* findDialogTemplate(const char* name);
