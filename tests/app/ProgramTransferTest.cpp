// Instrument transfers across the program's windows: the revision list's
// upload and the data processing window's transfers share one instrument and
// one progress window, against a simulated instrument.

#include "app/QuillfenProgram.h"
#include "common/FakeDialogs.h"
#include "common/InstrumentSimulator.h"
#include "common/ScopedGuards.h"
#include "dataprocessing/widgets/QuillfenTransfer.h"
#include "instruments/InstrumentTranslator.h"
#include "instruments/widgets/ProgressForm.h"
#include "language/Language.h"
#include "language/StringIds.h"
#include "platform/widgets/WidgetDialogs.h"
#include "revisionlist/RevisionTableModel.h"
#include "revisionlist/widgets/QuillfenRevisionTable.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSemaphore>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <atomic>

namespace {

constexpr int EnglishLocale = 0x409;
constexpr uint8_t ReadRequest = 0xAB;
constexpr uint8_t WriteRequest = 0xAC;
constexpr int TransferWaitMs = 120000;
constexpr int BoxPollMs = 10;

class ProgramTransferTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!sim.IsReady())
            GTEST_SKIP() << "no pseudo terminal";
        MainLanguage.SetLanguage(Language::English);
        const TranslatorModel* model = FindTranslatorModel(ModelCode::Kx420);
        sim.SetModel(ModelCode::Kx420, 115200);
        sim.SetImage(QByteArray(model->ImageSize, '\x00'), model->BlockSize);
        program.Start({}, EnglishLocale);
        auto row = std::make_unique<RevisionTableRow>();
        row->SetField(RevisionTableRow::Id, QStringLiteral("123"));
        row->SetField(RevisionTableRow::Name, QStringLiteral("Boiler"));
        program.RevisionList().Model().AddRow(std::move(row));
    }

    TProgressForm* Progress()
    {
        for (QWidget* widget : QApplication::allWidgets())
            if (auto* form = qobject_cast<TProgressForm*>(widget))
                return form;
        return nullptr;
    }

    // Every command that starts a transfer, in either window, is enabled.
    std::vector<bool> StartCommands()
    {
        TForm3& data = program.DataProcessing();
        return {data.Transfer1->isEnabled(), data.Setup1->isEnabled(), data.TransferdatafromKx31011->isEnabled(),
                program.RevisionList().Upload1->isEnabled()};
    }

    InstrumentSimulator sim;
    ScopedSerialPorts ports{{{QStringLiteral("COM3"), sim.DevicePath()}}};
    FakeDialogs dialogs;
    QuillfenProgram program;
};

// Presses `key` on the next message box, as the user would, and returns.
void PressOnNextBox(Qt::Key key)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, key] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll->deleteLater();
        poll->stop();
        QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, key);
    });
    poll->start(BoxPollMs);
}

TEST_F(ProgramTransferTest, ReturnOnTheEraseQuestionSendsNothing)
{
    ASSERT_EQ(program.DataProcessing().ComboBox2->currentText(), "COM3");
    WidgetDialogs boxes;
    SetDialogs(&boxes);
    PressOnNextBox(Qt::Key_Return);
    program.RevisionList().Upload1->trigger();
    SetDialogs(&dialogs);
    // No upload started, and nothing reached the instrument.
    EXPECT_FALSE(program.RevisionList().IsUploadRunning());
    EXPECT_TRUE(sim.Requests().empty());
    EXPECT_EQ(StartCommands(), (std::vector<bool>{true, true, true, true}));
}

TEST_F(ProgramTransferTest, AnUploadHoldsEveryTransferCommandAndItsProgressUntilItEnds)
{
    TForm3& data = program.DataProcessing();
    TForm7& list = program.RevisionList();
    ASSERT_EQ(data.ComboBox2->currentText(), "COM3");
    TProgressForm* progress = Progress();
    ASSERT_NE(progress, nullptr);

    // The instrument holds the first written block until the test has looked.
    QSemaphore writing;
    QSemaphore release;
    std::atomic<bool> held{false};
    sim.SetRequestHook([&](const InstrumentSimulator::Request& request) {
        if (request.kind != WriteRequest || held.exchange(true))
            return;
        writing.release();
        release.acquire();
    });
    bool finished = false;
    QObject::connect(&list, &TForm7::UploadFinished, [&] { finished = true; });

    list.Upload1->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return writing.tryAcquire(); }, TransferWaitMs));
    EXPECT_EQ(StartCommands(), (std::vector<bool>{false, false, false, false}));
    EXPECT_TRUE(progress->isVisible());
    ASSERT_NE(progress->Thread(), nullptr);

    // Reached some other way (a shortcut, a stale button), the commands start
    // nothing, and rebuilding the data tree enables none of them.
    data.TransferdatafromKx31011Click();
    data.Transfer1Click();
    list.SpeedButton9Click();
    data.RebuildDataTree();
    EXPECT_FALSE(data.IsTransferRunning());
    EXPECT_EQ(StartCommands(), (std::vector<bool>{false, false, false, false}));
    EXPECT_TRUE(progress->isVisible());
    EXPECT_NE(progress->Thread(), nullptr);
    release.release();

    ASSERT_TRUE(QTest::qWaitFor([&] { return finished; }, TransferWaitMs));
    EXPECT_EQ(StartCommands(), (std::vector<bool>{true, true, true, true}));
    EXPECT_FALSE(progress->isVisible());
    // Only the erase question was asked: no transfer failed on the busy port.
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].buttons, MsgButtons::YesNoDefaultNo);
    EXPECT_EQ(list.StatusBar1->text(), "Records uploaded");
}

// Closing the data window while its transfer runs asks about the modified
// form: the box is stacked above the progress window, which stays above its
// own window only.
TEST_F(ProgramTransferTest, TheSaveQuestionDuringATransferIsAboveItsProgress)
{
    TForm3& data = program.DataProcessing();
    ASSERT_EQ(data.ComboBox2->currentText(), "COM3");
    TProgressForm* progress = Progress();
    ASSERT_NE(progress, nullptr);
    QSemaphore reading;
    QSemaphore release;
    std::atomic<bool> held{false};
    sim.SetRequestHook([&](const InstrumentSimulator::Request& request) {
        if (request.kind != ReadRequest || held.exchange(true))
            return;
        reading.release();
        release.acquire();
    });
    data.show();
    data.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&data));
    data.Transfer1->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return reading.tryAcquire(); }, TransferWaitMs));
    ASSERT_TRUE(progress->isVisible());
    EXPECT_EQ(progress->parentWidget(), &data);
    EXPECT_EQ(progress->windowHandle()->transientParent(), data.windowHandle());
    EXPECT_FALSE(progress->windowFlags() & Qt::WindowStaysOnTopHint);

    WidgetDialogs boxes;
    SetDialogs(&boxes);
    QString asked;
    QWindow* over = nullptr;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll.stop();
        asked = box->text();
        over = box->windowHandle()->transientParent();
        box->button(QMessageBox::Cancel)->click();
    });
    poll.start(BoxPollMs);
    data.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&data));
    data.close();
    SetDialogs(&dialogs);
    EXPECT_EQ(asked, MainLanguage.GetString(StringId::SaveQuestion));
    EXPECT_EQ(over, progress->windowHandle());
    EXPECT_TRUE(data.isVisible());

    release.release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !data.IsTransferRunning(); }, TransferWaitMs));
    EXPECT_FALSE(progress->isVisible());
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

} // namespace
