#pragma once

#include "zefw32/DialogWindow.h"

#include <cstdint>

// Ids of the main dialog's controls, as the dialog framework dispatches them.
namespace ControlId {
constexpr int32_t Ok = IdOk;          // 後変換開始: the default button
constexpr int32_t Cancel = IdCancel;  // 終了, also Esc and the close box
constexpr int32_t SourcePath = 1000;
constexpr int32_t Browse = 1006;
constexpr int32_t PreProcess = 1007;
constexpr int32_t JyoshiWakachi = 1008;
constexpr int32_t Publisher = 1009;
constexpr int32_t Help = 1010;
constexpr int32_t Version = 1011;
constexpr int32_t RightToLeft = 1012;
constexpr int32_t LeftToRight = 1013;
constexpr int32_t NoProgression = 1014;
constexpr int32_t Wakachi = 1015;
constexpr int32_t Kazenoha = 1016;
constexpr int32_t RpOutput = 1017;
constexpr int32_t Progress = 1018;
constexpr int32_t None = -1;       // statics and the group box
} // namespace ControlId
