#pragma once
// The progress window of instrument transfers: a small tool window with a
// progress bar and a cancel button, kept above the window the transfer was
// started from while it shows. The program has one; installed as the
// transfer reporter it serves every transfer thread, whose calls it carries
// over to the main thread.

#include <QDialog>
#include <QPointer>

#include <utility>
#include <vector>

#include "instruments/InstrumentTransferWindow.h"

class QProgressBar;
class QToolButton;

class TProgressForm : public QDialog, public TransferReporter
{
    Q_OBJECT

public:
    explicit TProgressForm(QWidget* parent = nullptr);
    ~TProgressForm() override;

    // Remembers the thread the window shows progress for and shows it,
    // owned by the window the thread was started from (without one, the
    // active window) when it was hidden.
    void ShowForThread(InstrumentTransferWindow* thread);
    InstrumentTransferWindow* Thread() const { return m_thread; }

    // TransferReporter; safe from any thread.
    void ShowProgress(InstrumentTransferWindow* thread, const QString& caption) override;
    // A thread's progress and end reach the window only while it shows that
    // thread: a transfer that fails at once must not hide or take over a
    // running one's progress, which the user could then neither see nor cancel.
    void SetProgress(InstrumentTransferWindow* thread, int percent) override;
    void HideProgress(InstrumentTransferWindow* thread) override;
    void ShowError(const QString& text, const QString& caption) override;
    void Starting(InstrumentTransferWindow* thread) override;

    QProgressBar* ProgressBar1;
    QToolButton* SpeedButton1;

public slots:
    // Cancel: the remembered thread stops before its next block.
    void SpeedButton1Click();

protected:
    void hideEvent(QHideEvent* event) override; // FormHide

private:
    // Makes `owner` (none: nullptr) the window it stays above.
    void BelongTo(QWidget* owner);

    QPointer<InstrumentTransferWindow> m_thread;
    QMetaObject::Connection m_ownerGone;
    // The windows the running threads were started from: the active window
    // when a progress shows may be a question asked meanwhile.
    std::vector<std::pair<QPointer<InstrumentTransferWindow>, QPointer<QWidget>>> m_startedFrom;
};
