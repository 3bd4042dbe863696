// The progress window as the transfer threads use it: calls from a worker
// thread, cancel by button or by closing, and the error box.

#include <gtest/gtest.h>

#include "common/FakeDialogs.h"
#include "common/TransferHarness.h"
#include "instruments/widgets/ProgressForm.h"
#include "language/Language.h"
#include "platform/widgets/WidgetDialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSemaphore>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

namespace {

// How long the main thread waits for the worker to reach a step: only a bound
// against hanging, far beyond any real delay.
constexpr int WorkerPatienceMs = 10000;

// A transfer thread whose work is scripted by the test: it reports through
// the progress window and waits for the test between steps.
class ScriptedThread final : public InstrumentTransferWindow
{
public:
    std::function<TransferResult(ScriptedThread&)> work;
    void Go(Completion done) { Begin(std::move(done)); }

protected:
    TransferResult Execute() override { return work(*this); }
};

} // namespace

TEST(ProgressForm, WorkerDrivesTheWindowAndTheButtonCancels)
{
    TProgressForm form;
    EXPECT_EQ(form.size(), QSize(338, 33));
    // Above the window it belongs to only, not above every window.
    EXPECT_EQ(form.windowType(), Qt::Tool);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(form.ProgressBar1->maximum(), 100);

    QSemaphore shown;
    QSemaphore clicked;
    bool cancelSeen = false;
    const auto result = RunTransfer([&](InstrumentTransferWindow::Completion done) {
        auto* thread = new ScriptedThread;
        thread->SetReporter(&form);
        thread->work = [&](ScriptedThread& self) {
            self.ShowProgress(QStringLiteral("Kx420"));
            self.SetProgress(40);
            shown.release();
            clicked.acquire();
            cancelSeen = self.IsTerminated();
            self.HideProgress();
            return TransferResult::Interrupted;
        };
        thread->Go(std::move(done));
        // On the main thread, as the user would.
        EXPECT_TRUE(QTest::qWaitFor([&] { return shown.tryAcquire(); }, WorkerPatienceMs));
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(form.windowTitle(), "Kx420");
        EXPECT_EQ(form.ProgressBar1->value(), 40);
        EXPECT_EQ(form.Thread(), thread);
        form.SpeedButton1->click();
        clicked.release();
    });
    EXPECT_EQ(result, TransferResult::Interrupted);
    EXPECT_TRUE(cancelSeen);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.ProgressBar1->value(), 0);
    EXPECT_EQ(form.Thread(), nullptr);
}

TEST(ProgressForm, ClosingByTheUserCancelsButClosingByTheTransferDoesNot)
{
    TProgressForm form;
    QSemaphore shown;
    QSemaphore closed;
    std::vector<bool> terminated;
    RunTransfer([&](InstrumentTransferWindow::Completion done) {
        auto* thread = new ScriptedThread;
        thread->SetReporter(&form);
        thread->work = [&](ScriptedThread& self) {
            // A first loop that ends normally, then a second one.
            self.ShowProgress(QStringLiteral("one"));
            self.HideProgress();
            terminated.push_back(self.IsTerminated());
            self.ShowProgress(QStringLiteral("two"));
            shown.release();
            closed.acquire();
            terminated.push_back(self.IsTerminated());
            self.HideProgress();
            return TransferResult::Success;
        };
        thread->Go(std::move(done));
        EXPECT_TRUE(QTest::qWaitFor([&] { return shown.tryAcquire(); }, WorkerPatienceMs));
        form.close();
        closed.release();
    });
    EXPECT_EQ(terminated, (std::vector<bool>{false, true}));
}

TEST(ProgressForm, ErrorsGoToTheDialogsAndWaitForThem)
{
    MainLanguage.SetLanguage(Language::English);
    FakeDialogs dialogs;
    TProgressForm form;
    {
        ScopedTransferReporter installed(&form);
        EXPECT_EQ(&TransferReporterInUse(), &form);
        RunTransfer([&](InstrumentTransferWindow::Completion done) {
            auto* thread = new ScriptedThread; // takes the installed reporter
            thread->work = [](ScriptedThread& self) {
                self.ShowError(TransferResult::NotConnected);
                self.ShowError(TransferResult::Success); // nothing to say
                return TransferResult::NotConnected;
            };
            thread->Go(std::move(done));
        });
        ASSERT_EQ(dialogs.Texts().size(), 1);
        EXPECT_EQ(dialogs.Texts().front(), TransferResultText(TransferResult::NotConnected));
        // A plain OK box captioned "Error", without an icon.
        const FakeDialogs::Message box = dialogs.messages.front();
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.buttons, MsgButtons::Ok);
        EXPECT_EQ(box.icon, MsgIcon::None);
    }
    EXPECT_NE(&TransferReporterInUse(), &form);

    // Without the window the box is the same.
    RunTransfer([&](InstrumentTransferWindow::Completion done) {
        auto* thread = new ScriptedThread;
        thread->work = [](ScriptedThread& self) {
            self.ShowError(TransferResult::TransmissionFailed);
            return TransferResult::TransmissionFailed;
        };
        thread->Go(std::move(done));
    });
    ASSERT_EQ(dialogs.messages.size(), 2);
    EXPECT_EQ(dialogs.messages.back().text, "Transmission failed");
    EXPECT_EQ(dialogs.messages.back().caption, "Error");
    EXPECT_EQ(dialogs.messages.back().icon, MsgIcon::None);
}

TEST(ProgressForm, AQuestionAskedWhileItIsShownStaysAboveIt)
{
    // The program's own dialogs, not the fake: the box they build is checked.
    WidgetDialogs dialogs;
    const auto activate = [](QWidget& window) {
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    };
    // The window the box was stacked on: its window is transient for it.
    const auto ask = [&] {
        QWindow* over = nullptr;
        bool asked = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            asked = box != nullptr;
            if (!box)
                return;
            over = box->windowHandle()->transientParent();
            box->button(QMessageBox::No)->click();
        });
        EXPECT_EQ(dialogs.MessageBox(QStringLiteral("File was modified. Save ?"),
                                     QStringLiteral("Data processing"), MsgButtons::YesNo,
                                     MsgIcon::Question),
                  IDNO);
        EXPECT_TRUE(asked);
        return over;
    };

    QWidget window; // the window a transfer is started from
    window.show();
    ASSERT_TRUE(activate(window));
    TProgressForm form;
    form.ShowForThread(nullptr);
    ASSERT_TRUE(form.isVisible());
    EXPECT_EQ(form.parentWidget(), &window);
    EXPECT_EQ(form.windowHandle()->transientParent(), window.windowHandle());
    EXPECT_FALSE(form.windowFlags() & Qt::WindowStaysOnTopHint);
    // Asked from the window or with the progress window active, the box
    // comes above the progress window.
    ASSERT_TRUE(activate(window));
    EXPECT_EQ(ask(), form.windowHandle());
    ASSERT_TRUE(activate(form));
    EXPECT_EQ(ask(), form.windowHandle());
    form.close();
    ASSERT_TRUE(activate(window));
    EXPECT_EQ(ask(), window.windowHandle());

    // A transfer started from the window whose progress appears while a
    // question is up belongs to the window, not to the question.
    {
        ASSERT_TRUE(activate(window));
        QSemaphore asking;
        QSemaphore shown;
        RunTransfer([&](InstrumentTransferWindow::Completion done) {
            auto* thread = new ScriptedThread;
            thread->SetReporter(&form);
            thread->work = [&](ScriptedThread& self) {
                asking.acquire();
                self.ShowProgress(QStringLiteral("Kx420"));
                shown.release();
                self.HideProgress();
                return TransferResult::Success;
            };
            thread->Go(std::move(done));
            QWidget question;
            question.show();
            ASSERT_TRUE(activate(question));
            asking.release();
            EXPECT_TRUE(QTest::qWaitFor([&] { return shown.tryAcquire(); }, WorkerPatienceMs));
            EXPECT_EQ(form.parentWidget(), &window);
        });
    }

    // A dialog that started a transfer and goes leaves the window alive.
    {
        QWidget dialog;
        dialog.show();
        ASSERT_TRUE(activate(dialog));
        form.ShowForThread(nullptr);
        EXPECT_EQ(form.parentWidget(), &dialog);
    }
    EXPECT_EQ(form.parentWidget(), nullptr);
    form.ShowForThread(nullptr);
    EXPECT_TRUE(form.isVisible());
    form.close();
}

TEST(ProgressForm, AnotherThreadsProgressAndEndLeaveTheShownOneAlone)
{
    TProgressForm form;
    QSemaphore shown;
    QSemaphore looked;
    RunTransfer([&](InstrumentTransferWindow::Completion done) {
        auto* running = new ScriptedThread;
        running->SetReporter(&form);
        running->work = [&](ScriptedThread& self) {
            self.ShowProgress(QStringLiteral("upload"));
            self.SetProgress(30);
            shown.release();
            looked.acquire();
            self.HideProgress();
            return TransferResult::Success;
        };
        running->Go(std::move(done));
        EXPECT_TRUE(QTest::qWaitFor([&] { return shown.tryAcquire(); }, WorkerPatienceMs));

        // A second thread that never shows its own progress and ends at once.
        RunTransfer([&](InstrumentTransferWindow::Completion secondDone) {
            auto* failing = new ScriptedThread;
            failing->SetReporter(&form);
            failing->work = [](ScriptedThread& self) {
                self.SetProgress(90);
                self.HideProgress();
                return TransferResult::NotConnected;
            };
            failing->Go(std::move(secondDone));
        });
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(form.Thread(), running);
        EXPECT_EQ(form.ProgressBar1->value(), 30);
        looked.release();
    });
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.Thread(), nullptr);
}
