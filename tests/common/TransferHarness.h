#pragma once
// Running transfer threads in tests: a reporter that records what the user
// would have seen, and a wait for the completion callback on the main thread.

#include "instruments/InstrumentTransferWindow.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QMutex>
#include <QMutexLocker>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

// The process-wide transfer reporter, installed for the guard's life.
class ScopedTransferReporter
{
public:
    explicit ScopedTransferReporter(TransferReporter* reporter) { SetTransferReporter(reporter); }
    ~ScopedTransferReporter() { SetTransferReporter(nullptr); }
    ScopedTransferReporter(const ScopedTransferReporter&) = delete;
    ScopedTransferReporter& operator=(const ScopedTransferReporter&) = delete;
};

class RecordingReporter final : public TransferReporter
{
public:
    void ShowProgress(InstrumentTransferWindow* thread, const QString& caption) override
    {
        QMutexLocker lock(&m_mutex);
        ++m_shown;
        m_caption = caption;
        m_visible = true;
    }
    void SetProgress(InstrumentTransferWindow*, int percent) override
    {
        std::function<void(int)> hook;
        {
            QMutexLocker lock(&m_mutex);
            m_progress.push_back(percent);
            hook = onProgress;
        }
        if (hook)
            hook(percent);
    }
    void HideProgress(InstrumentTransferWindow*) override
    {
        QMutexLocker lock(&m_mutex);
        m_visible = false;
        m_progress.push_back(-1); // marks a close
    }
    void ShowError(const QString& text, const QString& caption) override
    {
        QMutexLocker lock(&m_mutex);
        m_errors.append(text);
        m_errorCaption = caption;
    }

    // Runs on the worker thread at every progress step (before the block).
    std::function<void(int)> onProgress;

    QStringList Errors() const { QMutexLocker lock(&m_mutex); return m_errors; }
    QString ErrorCaption() const { QMutexLocker lock(&m_mutex); return m_errorCaption; }
    QString Caption() const { QMutexLocker lock(&m_mutex); return m_caption; }
    int TimesShown() const { QMutexLocker lock(&m_mutex); return m_shown; }
    bool Visible() const { QMutexLocker lock(&m_mutex); return m_visible; }
    // Percentages in order; -1 where the window was closed.
    std::vector<int> Progress() const { QMutexLocker lock(&m_mutex); return m_progress; }

private:
    mutable QMutex m_mutex;
    QStringList m_errors;
    QString m_errorCaption;
    QString m_caption;
    int m_shown = 0;
    bool m_visible = false;
    std::vector<int> m_progress;
};

// Starts a transfer with `start` (which passes the given callback to a
// starter) and spins the event loop until the callback has run and the
// thread object is gone. nullopt when it did not finish in time.
inline std::optional<TransferResult> RunTransfer(
    const std::function<void(InstrumentTransferWindow::Completion)>& start, int timeoutMs = 30000)
{
    // Shared with the callback, which may outlive a wait that timed out.
    struct State
    {
        QEventLoop loop;
        std::optional<TransferResult> result;
    };
    auto state = std::make_shared<State>();
    start([state](TransferResult r) {
        state->result = r;
        state->loop.quit();
    });
    QTimer::singleShot(timeoutMs, &state->loop, &QEventLoop::quit);
    if (!state->result)
        state->loop.exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return state->result;
}
