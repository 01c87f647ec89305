#include "zefw32/MainDlg.h"

#include "kiln/base/PathString.h"
#include "kiln/file/InstallationFile.h"
#include "kiln/file/NativePath.h"
#include "kiln/file/ReadingDictionary.h"
#include "zefw32/ControlIds.h"
#include "zefw32/Desktop.h"
#include "zefw32/DialogSettings.h"
#include "zefw32/OpenFileDialog.h"

#include <QApplication>
#include <QLabel>

#include <sys/stat.h>

namespace {

namespace Id = ControlId;

const QString Caption = QStringLiteral("ZEF");

KILN::PathString toPathString(const QString& text)
{
    return KILN::PathString(reinterpret_cast<const unsigned short*>(text.utf16()), static_cast<uint32_t>(text.size()));
}

// A path the system can take: its UTF-8 form exists (no lone surrogate).
bool representable(const KILN::PathString& path)
{
    std::string native;
    return KILN::toNativePath(path, native);
}

// A path read from a settings file: UTF-8 that decodes and encodes back to
// the same bytes.
bool representable(const std::string& utf8)
{
    KILN::PathString path;
    path.assignUtf8(utf8.c_str());
    std::string native;
    return KILN::toNativePath(path, native) && native == utf8;
}

// Anything at all by that name, a dangling link included.
bool exists(const KILN::PathString& path)
{
    std::string native;
    struct stat status;
    return KILN::toNativePath(path, native) && lstat(native.c_str(), &status) == 0;
}

// Removes what a model left in its working directory; a failure to do so
// changes nothing for the user, who has been told how the conversion ended.
void discardWorkDirectory(ZephraModel& model)
{
    try {
        model.removeWorkDirectory();
    } catch (const ZephraModelError&) {
    }
}

} // namespace

MainDlg::MainDlg() : ModelessDlg("MAINDLG", nullptr)
{
    // The dialog starts with right to left, unlike the console converter.
    m_postOptions.page_progression = 1;
}

MainDlg::~MainDlg() = default;

intptr_t MainDlg::onInitDialog()
{
    DialogSettings::load(m_preOptions, m_postOptions);
    setControls();
    m_progress = std::make_unique<ProgressLabel>(qobject_cast<QLabel*>(m_window->item(Id::Progress)));
    return 0;
}

intptr_t MainDlg::onCommand(uint32_t wParam)
{
    // Nothing starts while a conversion runs, whatever reaches the dialog.
    if (converting() || wParam >> 16 != ButtonClicked)
        return 0;
    switch (controlIdOf(wParam)) {
    case Id::Browse:
        chooseFile();
        break;
    case Id::Wakachi:
        if (!isDlgButtonChecked(Id::Wakachi))
            checkDlgButton(Id::JyoshiWakachi, false);
        break;
    case Id::Help:
        showHelp();
        break;
    case Id::Version:
        messageBox(QStringLiteral("ZEF Version 1.3.0"), Caption, MessageStyle::Plain);
        break;
    case Id::Cancel:
        close();
        break;
    case Id::PreProcess:
        convert(Pass::Pre);
        break;
    case Id::Ok:
        convert(Pass::Post);
        break;
    default:
        return 0;
    }
    return 1;
}

intptr_t MainDlg::onClose()
{
    return converting() ? 1 : 0;
}

void MainDlg::setControls()
{
    if (m_preOptions.wakachi) {
        checkDlgButton(Id::Wakachi, true);
        checkDlgButton(Id::JyoshiWakachi, m_preOptions.jyoshi_wakachi);
        checkDlgButton(Id::Kazenoha, m_preOptions.kazenoha);
    } else {
        checkDlgButton(Id::Wakachi, false);
        checkDlgButton(Id::JyoshiWakachi, false);
    }
    checkDlgButton(Id::Publisher, m_postOptions.publisher);
    checkDlgButton(Id::RpOutput, m_postOptions.rp_output);
    const int32_t radio = m_postOptions.page_progression == 1   ? Id::RightToLeft
                          : m_postOptions.page_progression == 2 ? Id::LeftToRight
                                                                : Id::NoProgression;
    checkRadioButton(Id::RightToLeft, Id::NoProgression, radio);
}

void MainDlg::readControls()
{
    m_preOptions.wakachi = isDlgButtonChecked(Id::Wakachi);
    // Without division the other two choices mean nothing, whatever the
    // boxes show.
    m_preOptions.jyoshi_wakachi = m_preOptions.wakachi && isDlgButtonChecked(Id::JyoshiWakachi);
    m_preOptions.kazenoha = m_preOptions.wakachi && isDlgButtonChecked(Id::Kazenoha);
    m_postOptions.publisher = isDlgButtonChecked(Id::Publisher);
    m_postOptions.rp_output = isDlgButtonChecked(Id::RpOutput);
    m_postOptions.page_progression = isDlgButtonChecked(Id::RightToLeft)   ? 1
                                     : isDlgButtonChecked(Id::LeftToRight) ? 2
                                                                           : 0;
}

void MainDlg::chooseFile()
{
    const auto chooser = makeOpenFileDialog(m_window);
    if (chooser->exec() == QDialog::Accepted && !chooser->selectedFiles().isEmpty())
        setDlgItemText(Id::SourcePath, chooser->selectedFiles().first());
}

void MainDlg::showHelp()
{
    std::string manual;
    if (!KILN::installationFile("doc/help.pdf", manual) || !openDocument(QString::fromUtf8(manual)))
        showError(QStringLiteral("ヘルプが表示できません"));
}

void MainDlg::close()
{
    readControls();
    DialogSettings::save(m_preOptions, m_postOptions);
    endDialog(0);
    QCoreApplication::exit(0);
}

void MainDlg::convert(Pass pass)
{
    const bool pre = pass == Pass::Pre;
    const QString source = dlgItemText(Id::SourcePath);
    // The file name is what follows the last separator; only the exact
    // extension "epub" means a book, anything else a single XHTML file.
    const QString fileName = source.mid(source.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const bool epub = dot >= 0 && QStringView(fileName).mid(dot + 1) == u"epub";
    const OutputFolder folder = outputFolder();
    KILN::PathString destination = toPathString(folder.path);
    destination.join(toPathString((pre ? QStringLiteral("pre-") : QStringLiteral("post-")) + fileName));
    const KILN::PathString sourcePath = toPathString(source);

    if (source.isEmpty())
        return showError(QStringLiteral("ERROR: 変換元ファイルが指定されていません。"));
    if (!representable(sourcePath))
        return showError(QStringLiteral("ERROR: 変換元のパスがCP932で表現できないため変換できません。"));
    if (!representable(destination))
        return showError(QStringLiteral("ERROR: 変換先のパスがCP932で表現できないため変換できません。"));

    m_model = std::make_unique<ZephraModel>();
    // Every way out before the conversion starts removes the working
    // directory again.
    const auto abandon = [this](const QString& message) {
        if (!message.isEmpty())
            showError(message);
        discardWorkDirectory(*m_model);
        m_model.reset();
    };
    try {
        m_model->createWorkDirectory();
        if (!representable(m_model->workDirectory()))
            return abandon(QStringLiteral("ERROR: このユーザーの作業用フォルダにCP932で表現できない文字が含まれているため、変換できません。"));
        if (pre) {
            if (!KILN::installationFile("mecabrc", m_mecabrc))
                return abandon(QStringLiteral("ERROR: IPA辞書のパスが取得できないため、変換できません。"));
            if (!representable(m_mecabrc))
                return abandon(QStringLiteral("ERROR: IPA辞書のパスにCP932で表現できないため変換できません。"));
        }
        const QString target = QString::fromUtf16(reinterpret_cast<const char16_t*>(destination.data()),
                                                  destination.length());
        if (exists(destination)
            && !messageBox(QStringLiteral("変換先のファイル(%1)は既にあります。置き換えますか？").arg(target), Caption,
                           MessageStyle::Question))
            return abandon({});

        readControls();
        DialogSettings::save(m_preOptions, m_postOptions);
        m_completion = (folder.isDesktop ? QStringLiteral("変換完了：デスクトップに変換後のファイル(%1)が生成されました。")
                                         : QStringLiteral("変換完了：ホームフォルダに変換後のファイル(%1)が生成されました。"))
                           .arg(target);

        PreProcessOptions preOptions = m_preOptions;
        preOptions.mecabrc = m_mecabrc.c_str();
        m_readingDic.clear();
        if (pre && KILN::readingDictionary(m_readingDic))
            preOptions.reading_dic = m_readingDic.c_str();
        const PostProcessOptions postOptions = m_postOptions;
        ZephraModel* model = m_model.get();
        model->setObserver(m_progress.get());
        auto work = [model, pre, epub, preOptions, postOptions, sourcePath, destination] {
            if (pre && epub)
                model->preProcessEpub(preOptions, sourcePath, destination);
            else if (pre)
                model->preProcessHtml(preOptions, sourcePath, destination);
            else if (epub)
                model->postProcessEpub(sourcePath, destination, postOptions);
            else
                model->postProcessHtml(sourcePath, destination, postOptions);
        };
        // The end is queued to this thread: the dialog is disabled before it.
        m_task.start(work, [this](std::exception_ptr failure) { finishConversion(failure); });
        setBusy(true);
    } catch (const ZephraModelError& error) {
        showModelError(error);
        abandon({});
    } catch (...) {
        abandon(QStringLiteral("不明なエラー"));
    }
}

void MainDlg::finishConversion(std::exception_ptr failure)
{
    setBusy(false);
    if (failure) {
        try {
            std::rethrow_exception(failure);
        } catch (const ZephraModelError& error) {
            showModelError(error);
        } catch (...) {
            showError(QStringLiteral("不明なエラー"));
        }
    } else {
        messageBox(m_completion, Caption, MessageStyle::Plain);
        setDlgItemText(Id::SourcePath, QString());
    }
    // A single XHTML file leaves the working directory empty but present.
    discardWorkDirectory(*m_model);
    m_model.reset();
}

void MainDlg::setBusy(bool busy)
{
    m_window->setEnabled(!busy);
    setDlgItemText(Id::Progress, QString());
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void MainDlg::showError(const QString& text)
{
    messageBox(text, Caption, MessageStyle::Error);
}

void MainDlg::showModelError(const ZephraModelError& error)
{
    // One substitution pass: a '%' in the message stays as it is.
    const QString text = QStringLiteral("ERROR %1: %2\n(%3:%4)")
                             .arg(QString::number(error.number()), QString::fromUtf8(error.text()),
                                  QString::fromUtf8(error.file()), QString::number(error.line()));
    const std::vector<std::string>& found = error.diagnostics();
    if (found.empty()) {
        showError(text);
        return;
    }
    // The first problems are enough to start on; zef -c lists them all.
    constexpr size_t Shown = 100;
    QStringList lines;
    for (size_t i = 0; i < found.size() && i < Shown; ++i)
        lines.append(QString::fromStdString(found[i]));
    const QString count = found.size() > Shown
        ? QStringLiteral("本の中に %1 件のエラーがあります（先頭の %2 件）。").arg(found.size()).arg(Shown)
        : QStringLiteral("本の中に %1 件のエラーがあります。").arg(found.size());
    errorList(text + QStringLiteral("\n\n") + count, lines, Caption);
}
