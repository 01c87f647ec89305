#include "zefw32/MainDlg.h"

#include "model/support/ScratchFolder.h"
#include "model/support/ZipReader.h"
#include "zefw32/ControlIds.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace zef::test;
namespace fs = std::filesystem;
namespace Id = ControlId;

namespace {

struct ShownMessage {
    QString text;
    QString caption;
    Dlg::MessageStyle style;
};

// The main dialog with its message boxes recorded instead of shown; a
// question is answered with answerYes.
class RecordingDlg : public MainDlg {
public:
    bool messageBox(const QString& text, const QString& caption, MessageStyle style) override
    {
        messages.push_back({text, caption, style});
        return style != MessageStyle::Question || answerYes;
    }

    void errorList(const QString& text, const QStringList& lines, const QString& caption) override
    {
        messages.push_back({text, caption, MessageStyle::Error});
        listed = lines;
    }

    void click(int32_t id) { qobject_cast<QAbstractButton*>(window()->item(id))->click(); }
    // Waits until a running conversion has ended.
    bool waitForConversion() { return QTest::qWaitFor([this] { return !converting(); }, 60000); }
    const ShownMessage& lastMessage() const { return messages.back(); }

    std::vector<ShownMessage> messages;
    QStringList listed;
    bool answerYes = false;
};

const char* const Page = R"(<?xml version="1.0" encoding="UTF-8"?>
<html xmlns="http://www.w3.org/1999/xhtml"><head><title>t</title></head>
<body><p>｜吾輩《わがはい》は_猫~である。</p></body></html>
)";

// Every test gets a home of its own with a desktop folder, its own
// temporary folder (which must be empty afterwards) and the build's
// installation folder.
class MainDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "ZEF_SYSCONFDIR", "TMPDIR"}) {
            const char* value = std::getenv(name);
            m_saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
        }
        fs::create_directories(home / "Desktop");
        fs::create_directories(temporary);
        setenv("HOME", home.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
        setenv("ZEF_SYSCONFDIR", ZEF_BINARY_DIR "/etc/zef", 1);
        setenv("TMPDIR", temporary.c_str(), 1);
    }
    void TearDown() override
    {
        for (const auto& [name, value] : m_saved) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
    }

    // A dialog made as the program makes it, showing path when given.
    std::unique_ptr<RecordingDlg> openDialog(const fs::path& path = {})
    {
        auto dialog = std::make_unique<RecordingDlg>();
        EXPECT_TRUE(dialog->create());
        if (!path.empty())
            dialog->setDlgItemText(Id::SourcePath, QString::fromStdString(path.string()));
        return dialog;
    }
    std::string settings() const { return readFile(home / ".config/zef/settings.conf"); }
    bool temporaryIsEmpty() const { return fs::is_empty(temporary); }

    ScratchFolder scratch;
    const fs::path home = scratch / "home";
    const fs::path desktop = home / "Desktop";
    const fs::path temporary = scratch / "tmp";

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

} // namespace

TEST_F(MainDlgTest, FirstStartShowsTheInitialChoices)
{
    auto dialog = openDialog();
    EXPECT_EQ(QStringLiteral("ZEF: 日本語EPUB作成補助ツール"), dialog->window()->windowTitle());
    EXPECT_TRUE(dialog->isDlgButtonChecked(Id::Wakachi));
    EXPECT_FALSE(dialog->isDlgButtonChecked(Id::JyoshiWakachi));
    EXPECT_TRUE(dialog->isDlgButtonChecked(Id::Kazenoha));
    EXPECT_TRUE(dialog->isDlgButtonChecked(Id::Publisher));
    EXPECT_TRUE(dialog->isDlgButtonChecked(Id::RpOutput));
    EXPECT_TRUE(dialog->isDlgButtonChecked(Id::RightToLeft));
    EXPECT_FALSE(dialog->isDlgButtonChecked(Id::NoProgression));
    EXPECT_TRUE(dialog->dlgItemText(Id::SourcePath).isEmpty());
    // Enter starts a post-process.
    EXPECT_TRUE(qobject_cast<QPushButton*>(dialog->window()->item(Id::Ok))->isDefault());
}

TEST_F(MainDlgTest, ChoicesSurviveClosingAndWithoutDivisionBothDivisionChoicesAreSavedOff)
{
    {
        auto dialog = openDialog();
        dialog->click(Id::JyoshiWakachi);
        ASSERT_TRUE(dialog->isDlgButtonChecked(Id::JyoshiWakachi));
        dialog->click(Id::Wakachi);  // off: the particle box goes off too
        EXPECT_FALSE(dialog->isDlgButtonChecked(Id::JyoshiWakachi));
        EXPECT_TRUE(dialog->isDlgButtonChecked(Id::Kazenoha));
        dialog->click(Id::RpOutput);
        dialog->click(Id::LeftToRight);
        QTest::keyClick(dialog->window(), Qt::Key_Escape);
        EXPECT_FALSE(dialog->window()->isVisible());
    }
    EXPECT_EQ("jyoshi_wakachi_p=0\nkazenoha_p=0\npage_progression=2\npublisher_p=1\nrp_output_p=0\nwakachi_p=0\n",
              settings());
    auto dialog = openDialog();
    EXPECT_FALSE(dialog->isDlgButtonChecked(Id::Wakachi));
    EXPECT_FALSE(dialog->isDlgButtonChecked(Id::Kazenoha));
    EXPECT_FALSE(dialog->isDlgButtonChecked(Id::RpOutput));
    EXPECT_TRUE(dialog->isDlgButtonChecked(Id::LeftToRight));
    // The close box saves as well.
    dialog->click(Id::NoProgression);
    dialog->window()->close();
    EXPECT_NE(std::string::npos, settings().find("page_progression=0\n"));
}

TEST_F(MainDlgTest, OddStoredValuesAreReadAsNumbers)
{
    writeFile(home / ".config/zef/settings.conf",
              "wakachi_p=12\njyoshi_wakachi_p=1\nkazenoha_p=x\npublisher_p=99999999999999999999999\n"
              "page_progression=7\n");
    auto dialog = openDialog();
    EXPECT_TRUE(dialog->isDlgButtonChecked(Id::Wakachi));
    EXPECT_TRUE(dialog->isDlgButtonChecked(Id::JyoshiWakachi));
    EXPECT_FALSE(dialog->isDlgButtonChecked(Id::Kazenoha));
    EXPECT_TRUE(dialog->isDlgButtonChecked(Id::Publisher));
    EXPECT_TRUE(dialog->isDlgButtonChecked(Id::RpOutput));  // not stored: kept
    EXPECT_TRUE(dialog->isDlgButtonChecked(Id::NoProgression));
}

TEST_F(MainDlgTest, FailuresBeforeTheConversionAreShownInOrderAndLeaveNothingBehind)
{
    auto dialog = openDialog();
    dialog->click(Id::PreProcess);
    ASSERT_EQ(1u, dialog->messages.size());
    EXPECT_EQ(QStringLiteral("ERROR: 変換元ファイルが指定されていません。"), dialog->lastMessage().text);
    EXPECT_EQ(QStringLiteral("ZEF"), dialog->lastMessage().caption);
    EXPECT_EQ(Dlg::MessageStyle::Error, dialog->lastMessage().style);

    dialog->setDlgItemText(Id::SourcePath, QStringLiteral("/books/") + QChar(0xD800) + QStringLiteral(".epub"));
    dialog->click(Id::Ok);
    EXPECT_EQ(QStringLiteral("ERROR: 変換元のパスがCP932で表現できないため変換できません。"), dialog->lastMessage().text);

    // The working directory cannot be made (the temporary folder's name is
    // not UTF-8): the model's error 1.
    fs::create_directories(scratch / "\xFF");
    setenv("TMPDIR", (scratch / "\xFF").c_str(), 1);
    dialog->setDlgItemText(Id::SourcePath, QStringLiteral("/books/story.epub"));
    dialog->click(Id::Ok);
    EXPECT_TRUE(dialog->lastMessage().text.startsWith(
        QStringLiteral("ERROR 1: Can't create temporary directory.\n(ZephraModel:")))
        << dialog->lastMessage().text.toStdString();
    setenv("TMPDIR", temporary.c_str(), 1);

    // No installation folder: a pre-process cannot find MeCab's settings.
    fs::create_directories(scratch / "machine");
    setenv("ZEF_SYSCONFDIR", (scratch / "machine").c_str(), 1);
    dialog->click(Id::PreProcess);
    EXPECT_EQ(QStringLiteral("ERROR: IPA辞書のパスが取得できないため、変換できません。"), dialog->lastMessage().text);
    EXPECT_EQ(4u, dialog->messages.size());
    EXPECT_EQ(QStringLiteral("/books/story.epub"), dialog->dlgItemText(Id::SourcePath));
    EXPECT_FALSE(fs::exists(home / ".config/zef/settings.conf"));
    EXPECT_TRUE(temporaryIsEmpty());
}

TEST_F(MainDlgTest, APostProcessNeedsNoInstallationFolderAndAnUpperCaseExtensionMeansXhtml)
{
    fs::create_directories(scratch / "machine");
    setenv("ZEF_SYSCONFDIR", (scratch / "machine").c_str(), 1);
    writeFile(scratch / "books/story.EPUB", Page);
    auto dialog = openDialog(scratch / "books/story.EPUB");
    dialog->click(Id::Ok);
    ASSERT_TRUE(dialog->waitForConversion());
    const std::string written = readFile(desktop / "post-story.EPUB");
    EXPECT_NE(std::string::npos, written.find("<ruby><rb>吾輩</rb><rp>（</rp><rt>わがはい</rt><rp>）</rp></ruby>")) << written;
    EXPECT_NE(std::string::npos, written.find("<wbr")) << written;
    ASSERT_EQ(1u, dialog->messages.size());
    EXPECT_EQ(QStringLiteral("変換完了：デスクトップに変換後のファイル(%1)が生成されました。")
                  .arg(QString::fromStdString((desktop / "post-story.EPUB").string())),
              dialog->lastMessage().text);
    EXPECT_EQ(Dlg::MessageStyle::Plain, dialog->lastMessage().style);
    EXPECT_TRUE(dialog->dlgItemText(Id::SourcePath).isEmpty());
    EXPECT_TRUE(dialog->window()->isEnabled());
    EXPECT_TRUE(temporaryIsEmpty());
    EXPECT_NE(std::string::npos, settings().find("rp_output_p=1\n"));
}

TEST_F(MainDlgTest, AnExistingDestinationIsReplacedOnlyWhenTheUserSaysSo)
{
    writeFile(scratch / "books/story.xhtml", Page);
    writeFile(desktop / "post-story.xhtml", "earlier result");
    auto dialog = openDialog(scratch / "books/story.xhtml");
    dialog->click(Id::Ok);
    ASSERT_EQ(1u, dialog->messages.size());
    EXPECT_EQ(Dlg::MessageStyle::Question, dialog->lastMessage().style);
    EXPECT_TRUE(dialog->lastMessage().text.contains(QString::fromStdString((desktop / "post-story.xhtml").string())));
    EXPECT_FALSE(dialog->converting());
    EXPECT_EQ("earlier result", readFile(desktop / "post-story.xhtml"));
    EXPECT_TRUE(temporaryIsEmpty());

    dialog->answerYes = true;
    dialog->click(Id::Ok);
    ASSERT_TRUE(dialog->waitForConversion());
    EXPECT_NE(std::string::npos, readFile(desktop / "post-story.xhtml").find("<ruby>"));
}

TEST_F(MainDlgTest, WithoutADesktopFolderTheResultGoesHomeAndTheMessageSaysWhere)
{
    fs::remove(desktop);
    writeFile(scratch / "books/story.xhtml", Page);
    auto dialog = openDialog(scratch / "books/story.xhtml");
    dialog->click(Id::Ok);
    ASSERT_TRUE(dialog->waitForConversion());
    EXPECT_TRUE(fs::exists(home / "post-story.xhtml"));
    EXPECT_EQ(QStringLiteral("変換完了：ホームフォルダに変換後のファイル(%1)が生成されました。")
                  .arg(QString::fromStdString((home / "post-story.xhtml").string())),
              dialog->lastMessage().text);
}

TEST_F(MainDlgTest, MalformedNotationIsShownWithTheListOfEveryError)
{
    writeFile(scratch / "books/story.xhtml", R"(<html><body>
<p>｜漢字《かんじ</p>
<p>｜吾輩《わがはい》と ｜猫《ねこ</p>
</body></html>
)");
    auto dialog = openDialog(scratch / "books/story.xhtml");
    dialog->click(Id::Ok);
    ASSERT_TRUE(dialog->waitForConversion());
    ASSERT_EQ(1u, dialog->messages.size());
    const QString& text = dialog->lastMessage().text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("ERROR 23: Ruby parser syntax error. ")
                                + QString::fromStdString((scratch / "books/story.xhtml").string()) + QStringLiteral(":2:4: ")))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("本の中に 2 件のエラーがあります。"))) << text.toStdString();
    ASSERT_EQ(2, dialog->listed.size());
    EXPECT_TRUE(dialog->listed[1].contains(QStringLiteral("story.xhtml:3:15: error: "))) << dialog->listed[1].toStdString();
    EXPECT_FALSE(fs::exists(desktop / "post-story.xhtml"));
}

TEST_F(MainDlgTest, AModelErrorIsShownWithItsNumberAndTheWorkingDirectoryIsRemoved)
{
    writeFile(scratch / "books/broken.epub", "not an archive");
    auto dialog = openDialog(scratch / "books/broken.epub");
    dialog->click(Id::Ok);
    ASSERT_TRUE(dialog->waitForConversion());
    ASSERT_EQ(1u, dialog->messages.size());
    EXPECT_TRUE(dialog->lastMessage().text.startsWith(
        QStringLiteral("ERROR 3: Can't open unzip file. %1\n(ZephraModel:")
            .arg(QString::fromStdString((scratch / "books/broken.epub").string()))))
        << dialog->lastMessage().text.toStdString();
    EXPECT_EQ(Dlg::MessageStyle::Error, dialog->lastMessage().style);
    EXPECT_FALSE(dialog->dlgItemText(Id::SourcePath).isEmpty());
    EXPECT_FALSE(fs::exists(desktop / "post-broken.epub"));
    EXPECT_TRUE(temporaryIsEmpty());
    // The choices were saved before the model ran.
    EXPECT_FALSE(settings().empty());
}

TEST_F(MainDlgTest, TheSampleBookIsPreProcessedAndPostProcessedThroughTheDialog)
{
    const fs::path sample = fs::path(ZEF_SOURCE_DIR) / "doc/sample.epub";
    if (!fs::exists(sample))
        GTEST_SKIP() << "no sample book in " << sample;
    fs::copy_file(sample, scratch / "sample.epub");
    auto dialog = openDialog(scratch / "sample.epub");
    dialog->click(Id::PreProcess);
    // Running: the dialog is disabled, and nothing starts a second
    // conversion or closes it.
    EXPECT_TRUE(dialog->converting());
    EXPECT_FALSE(dialog->window()->isEnabled());
    dialog->dispatch(DialogMessage::Command, commandWord(Id::PreProcess, ButtonClicked));
    dialog->window()->close();
    EXPECT_TRUE(dialog->window()->isVisible());
    ASSERT_TRUE(dialog->waitForConversion());
    ASSERT_EQ(1u, dialog->messages.size()) << dialog->lastMessage().text.toStdString();
    EXPECT_TRUE(dialog->lastMessage().text.startsWith(QStringLiteral("変換完了")));
    std::string marked;
    for (const ZipEntry& entry : readZip(desktop / "pre-sample.epub"))
        marked += entry.content;
    EXPECT_NE(std::string::npos, marked.find("《")) << "no ruby notation";
    EXPECT_NE(std::string::npos, marked.find("_")) << "no division marks";

    dialog->setDlgItemText(Id::SourcePath, QString::fromStdString((desktop / "pre-sample.epub").string()));
    dialog->click(Id::RpOutput);
    dialog->click(Id::Ok);
    ASSERT_TRUE(dialog->waitForConversion());
    ASSERT_EQ(2u, dialog->messages.size()) << dialog->lastMessage().text.toStdString();
    std::string converted;
    for (const ZipEntry& entry : readZip(desktop / "post-pre-sample.epub"))
        converted += entry.content;
    EXPECT_NE(std::string::npos, converted.find("<rt>")) << "no ruby markup";
    EXPECT_EQ(std::string::npos, converted.find("<rp>")) << "rp output was switched off";
    EXPECT_EQ(std::string::npos, converted.find("《"));
    EXPECT_TRUE(dialog->dlgItemText(Id::Progress).isEmpty());
    EXPECT_TRUE(temporaryIsEmpty());
}

TEST_F(MainDlgTest, HelpWithoutItsManualAndTheVersionBox)
{
    auto dialog = openDialog();
    fs::create_directories(scratch / "install");
    writeFile(scratch / "machine/zef.conf", "InstDir=" + (scratch / "install").string() + "/\n");
    setenv("ZEF_SYSCONFDIR", (scratch / "machine").c_str(), 1);
    dialog->click(Id::Help);
    ASSERT_EQ(1u, dialog->messages.size());
    EXPECT_EQ(QStringLiteral("ヘルプが表示できません"), dialog->lastMessage().text);
    EXPECT_EQ(Dlg::MessageStyle::Error, dialog->lastMessage().style);
    fs::remove(scratch / "machine/zef.conf");
    dialog->click(Id::Help);
    EXPECT_EQ(QStringLiteral("ヘルプが表示できません"), dialog->lastMessage().text);

    dialog->click(Id::Version);
    EXPECT_EQ(QStringLiteral("ZEF Version 1.3.0"), dialog->lastMessage().text);
    EXPECT_EQ(QStringLiteral("ZEF"), dialog->lastMessage().caption);
    EXPECT_EQ(Dlg::MessageStyle::Plain, dialog->lastMessage().style);
}
