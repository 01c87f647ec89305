#include "zefw32/DialogWindow.h"

#include "zefw32/BackgroundTask.h"
#include "zefw32/ControlIds.h"
#include "zefw32/DialogUnits.h"
#include "zefw32/ModelessDlg.h"
#include "zefw32/ProgramArguments.h"
#include "zefw32/ProgressLabel.h"

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>
#include <vector>

namespace Id = ControlId;

namespace {

// A dialog of the main template that records what it is told; Close is
// left unhandled unless handlesClose.
class CountingDlg : public ModelessDlg {
public:
    CountingDlg() : ModelessDlg("MAINDLG", nullptr) {}
    intptr_t onInitDialog() override
    {
        ++initialised;
        return 0;
    }
    intptr_t onCommand(uint32_t wParam) override
    {
        commands.push_back(wParam);
        return 1;
    }
    intptr_t onClose() override
    {
        ++closes;
        return handlesClose ? 1 : 0;
    }
    void click(int32_t id) { qobject_cast<QAbstractButton*>(window()->item(id))->click(); }

    int initialised = 0;
    int closes = 0;
    bool handlesClose = false;
    std::vector<uint32_t> commands;
};

// The main template at another font size.
DialogTemplate mainTemplateAt(int pointSize)
{
    DialogTemplate resource = *findDialogTemplate("MAINDLG");
    resource.pointSize = pointSize;
    return resource;
}

} // namespace

TEST(DialogUnitsTest, UnitsFollowTheFontAndWideningIsMinimal)
{
    QFont font;
    font.setPointSize(10);
    DialogUnits units{QFontMetrics(font)};
    EXPECT_EQ(units.baseX(), units.x(4));
    EXPECT_EQ(units.baseY(), units.y(8));
    const int before = units.baseX();
    units.widenToFit(units.x(100) - 1, 100);  // fits already
    EXPECT_EQ(before, units.baseX());
    units.widenToFit(units.x(100) + 37, 100);
    const int wide = units.x(100);
    EXPECT_GE(wide, (before * 100 + 2) / 4 + 37);
    DialogUnits narrower = units;
    narrower.widenToFit(0, 1);
    EXPECT_EQ(units.baseX(), narrower.baseX());
}

TEST(DialogWindowTest, EveryLabelFitsAndTheLayoutKeepsItsProportionsAtAnySize)
{
    for (const int pointSize : {8, 10, 18}) {
        const DialogTemplate resource = mainTemplateAt(pointSize);
        DialogWindow window(resource, [](DialogWindow*, DialogMessage, uint32_t, void*) -> intptr_t { return 0; },
                            nullptr);
        const double scaleX = double(window.width()) / resource.width;
        const double scaleY = double(window.height()) / resource.height;
        for (const ControlTemplate& control : resource.controls) {
            const std::string label = control.text;
            QWidget* widget = control.id == Id::None ? nullptr : window.item(control.id);
            if (!widget)
                continue;
            const QRect box = widget->geometry();
            EXPECT_NEAR(control.x * scaleX, box.x(), 1.0) << label << " at " << pointSize;
            EXPECT_NEAR(control.y * scaleY, box.y(), 1.0) << label << " at " << pointSize;
            EXPECT_TRUE(window.rect().contains(box)) << label << " at " << pointSize;
            if (control.kind == ControlKind::AutoCheckBox || control.kind == ControlKind::AutoRadioButton) {
                EXPECT_LE(widget->sizeHint().width(), box.width()) << label << " clipped at " << pointSize;
            }
        }
        // The line of the first static holds its text.
        const auto labels = window.findChildren<QLabel*>();
        ASSERT_FALSE(labels.isEmpty());
        for (const QLabel* label : labels)
            EXPECT_LE(label->sizeHint().width(), label->width()) << label->text().toStdString();
    }
}

TEST(ModelessDlgTest, MessagesReachTheLiveDialogOfTheirWindowOnly)
{
    CountingDlg first;
    auto second = std::make_unique<CountingDlg>();
    ASSERT_TRUE(first.create());
    ASSERT_TRUE(second->create());
    EXPECT_FALSE(first.create());  // one window per dialog
    EXPECT_EQ(1, first.initialised);
    EXPECT_TRUE(first.window()->isVisible());

    second->click(Id::PreProcess);
    first.click(Id::Wakachi);
    EXPECT_EQ(std::vector<uint32_t>{Id::PreProcess}, second->commands);
    EXPECT_EQ(std::vector<uint32_t>{commandWord(Id::Wakachi, ButtonClicked)}, first.commands);

    // Esc and the close box both come as the cancel command; a handled
    // Close keeps the window.
    QTest::keyClick(first.window(), Qt::Key_Escape);
    first.window()->close();
    EXPECT_EQ(1, first.closes);
    EXPECT_EQ(uint32_t(Id::Cancel), first.commands.back());
    EXPECT_EQ(3u, first.commands.size());
    first.handlesClose = true;
    first.window()->close();
    EXPECT_EQ(3u, first.commands.size());

    // A window whose object is gone is not handled.
    DialogWindow* orphan = second->window();
    second.reset();
    EXPECT_EQ(0, ModelessDlg::dialogProc(orphan, DialogMessage::Command, Id::Cancel, nullptr));
    EXPECT_EQ(1, ModelessDlg::dialogProc(first.window(), DialogMessage::Command, Id::Cancel, nullptr));
}

TEST(ProgramArgumentsTest, TheFirstFileGoesIntoThePathFieldAsAnAbsolutePath)
{
    const ProgramArguments none = ProgramArguments::parse({});
    EXPECT_TRUE(none.source.isEmpty());
    EXPECT_TRUE(none.screenshot.isEmpty());
    const ProgramArguments given =
        ProgramArguments::parse({QStringLiteral("本/草枕.epub"), QStringLiteral("--screenshot"),
                                 QStringLiteral("shot.png"), QStringLiteral("/other.epub")});
    EXPECT_EQ(QDir::currentPath() + QStringLiteral("/本/草枕.epub"), given.source);
    EXPECT_EQ(QStringLiteral("shot.png"), given.screenshot);
    EXPECT_EQ(QStringLiteral("/b/x.epub"), ProgramArguments::parse({QStringLiteral("/b/x.epub")}).source);
}

TEST(BackgroundTaskTest, WorkRunsAwayFromTheWindowThreadAndItsEndComesBackThere)
{
    QLabel label;
    ProgressLabel progress(&label);
    BackgroundTask task;
    const std::thread::id windowThread = std::this_thread::get_id();
    std::thread::id workThread;
    std::thread::id endThread;
    std::exception_ptr failure;
    bool ended = false;
    ASSERT_TRUE(task.start(
        [&] {
            workThread = std::this_thread::get_id();
            progress.documentStarted(2, 5);
            throw std::runtime_error("broken");
        },
        [&](std::exception_ptr thrown) {
            endThread = std::this_thread::get_id();
            failure = thrown;
            ended = true;
        }));
    EXPECT_FALSE(task.start([] {}, [](std::exception_ptr) {}));  // one at a time
    ASSERT_TRUE(QTest::qWaitFor([&] { return ended; }, 10000));
    EXPECT_FALSE(task.running());
    EXPECT_NE(windowThread, workThread);
    EXPECT_EQ(windowThread, endThread);
    ASSERT_TRUE(failure);
    EXPECT_THROW(std::rethrow_exception(failure), std::runtime_error);
    EXPECT_EQ(ProgressLabel::textFor(2, 5), label.text());
    EXPECT_EQ(QStringLiteral("変換中: 2 / 5"), label.text());
}
