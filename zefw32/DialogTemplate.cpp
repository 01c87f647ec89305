#include "zefw32/DialogTemplate.h"

#include "zefw32/ControlIds.h"

#include <cstring>

namespace {

using enum ControlKind;
namespace Id = ControlId;

const ControlTemplate mainControls[] = {
    {Id::None, Static, "[...] ボタンを押して変換するEPUB/HTMLファイルを指定してください。", 7, 15, 326, 8},
    {Id::SourcePath, Edit, "", 7, 32, 305, 14},
    {Id::Browse, PushButton, "...", 318, 32, 15, 14},
    {Id::None, Static, "前変換オプション", 7, 54, 106, 8},
    {Id::Wakachi, AutoCheckBox, "分かち書き出力(&W)", 15, 72, 76, 10},
    {Id::JyoshiWakachi, AutoCheckBox, "助詞前の分かち書き出力(&J)", 102, 72, 106, 10},
    {Id::Kazenoha, AutoCheckBox, "風ノ葉図書出版分かち書き規則(&M)", 214, 72, 119, 10},
    {Id::None, Static, "後変換オプション", 7, 100, 106, 8},
    {Id::Publisher, AutoCheckBox, "Dolphin Publisher固有の処理(&P)", 14, 116, 120, 10},
    {Id::RpOutput, AutoCheckBox, "rpタグの付与(&C)", 134, 117, 67, 10},
    {Id::None, GroupBox, "ページめくり順情報の付与", 7, 138, 326, 40},
    {Id::RightToLeft, AutoRadioButton, "右から左の順で付与(&R)", 21, 155, 99, 10},
    {Id::LeftToRight, AutoRadioButton, "左から右の順で付与(&L)", 140, 155, 89, 10},
    {Id::NoProgression, AutoRadioButton, "付与しない(&N)", 258, 155, 59, 10},
    {Id::PreProcess, PushButton, "前変換開始(&A)", 7, 192, 60, 19},
    {Id::Ok, DefaultPushButton, "後変換開始(&B)", 73, 192, 60, 19},
    {Id::Help, PushButton, "ヘルプ(&H)", 139, 192, 60, 19},
    {Id::Version, PushButton, "バージョン(&V)", 205, 192, 60, 19},
    {Id::Cancel, PushButton, "終了(&X)", 271, 192, 60, 19},
    // How far a running conversion has come; empty otherwise.
    {Id::Progress, Static, "", 7, 214, 326, 8},
};

const DialogTemplate templates[] = {
    {"MAINDLG", 343, 224, "ZEF: 日本語EPUB作成補助ツール", 10, mainControls},
};

} // namespace

const DialogTemplate* findDialogTemplate(const char* name)
{
    for (const DialogTemplate& candidate : templates) {
        if (std::strcmp(candidate.name, name) == 0)
            return &candidate;
    }
    return nullptr;
}
