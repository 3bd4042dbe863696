#pragma once
// The worker threads of instrument transfers.
//
// A thread is created (with `new`: it deletes itself) by a window on the main
// thread, started by one of its starters with a completion callback, runs one
// operation, and then, back on the main thread, hands its result over to the
// objects the window gave it, calls the completion callback with the result
// and deletes itself. While it runs it shares nothing with the main thread
// but its cancel flag: the worker works on its own copies.
//
// The thread is the operations' `TransferListener`: progress and error boxes
// go through a `TransferReporter`; the program installs the progress window
// as the reporter, tests install a recorder.

#include <QString>
#include <QThread>

#include <atomic>
#include <functional>
#include <memory>

#include "instruments/TransferListener.h"
#include "instruments/TransferResult.h"

class InstrumentTransferWindow;
class InstrumentData;
class InstrumentSetup;
class InstrumentDatabase;

// What the user sees of a running transfer. The worker thread calls these;
// an implementation that touches windows must carry the call over to the
// main thread and return only when it is done there, and ShowError returns
// only when the user has closed the message. Progress belongs to the thread
// that shows it: another thread's progress or end must not change it.
class TransferReporter
{
public:
    virtual ~TransferReporter() = default;
    virtual void ShowProgress(InstrumentTransferWindow* thread, const QString& caption) = 0;
    virtual void SetProgress(InstrumentTransferWindow* thread, int percent) = 0;
    virtual void HideProgress(InstrumentTransferWindow* thread) = 0;
    virtual void ShowError(const QString& text, const QString& caption) = 0;
    // On the main thread, as a window starts `thread`: the moment to learn
    // which window the user started it from.
    virtual void Starting(InstrumentTransferWindow* thread) {}
};

// The reporter threads take when they are created. Before the window layer
// installs one, progress is not shown and errors go to Dialogs().
TransferReporter& TransferReporterInUse();
// Installs `reporter` (not owned); nullptr restores the default.
void SetTransferReporter(TransferReporter* reporter);

class InstrumentTransferWindow : public QThread, public TransferListener
{
    Q_OBJECT

public:
    using Completion = std::function<void(TransferResult)>;

    ~InstrumentTransferWindow() override;

    // Worker side: the listener, through the reporter.
    void ShowProgress(const QString& caption) override;
    void HideProgress() override;
    void SetProgress(int percent) override;
    int GetProgress() const { return m_position; }
    // The cancel request.
    bool IsTerminated() const override { return m_terminated; }
    // Shows the error box of `result` and waits until it is closed; nothing
    // for Success.
    void ShowError(TransferResult result) override;

    // Any thread: asks the transfer to stop before its next block.
    void Terminate();

    // Replaces the reporter taken at construction (before starting).
    void SetReporter(TransferReporter* reporter) { m_reporter = reporter; }
    TransferResult GetResult() const { return m_result; }

protected:
    InstrumentTransferWindow();
    // Stores the callback and starts the thread.
    void Begin(Completion done);
    // Runs on the worker thread.
    virtual TransferResult Execute() = 0;
    // Runs on the main thread after Execute, before the completion callback:
    // the place to hand the worker's results to the caller's objects.
    virtual void HandOver(TransferResult result) {}

private:
    void run() final;
    void Finish();

    TransferReporter* m_reporter;
    Completion m_done;
    std::atomic<bool> m_terminated{false};
    std::atomic<int> m_position{0};
    std::atomic<TransferResult> m_result{TransferResult::Success};
};

class InstrumentTransferWindowThread : public InstrumentTransferWindow
{
    Q_OBJECT

public:
    enum Operation { None = 0, ReadData = 1, ReadSetup = 2, WriteSetup = 4, DefaultSetup = 8,
                     WriteDatabase = 16 };

    explicit InstrumentTransferWindowThread(const QString& portName);
    ~InstrumentTransferWindowThread() override;

    void SetGroupSameNumber(int value) { m_groupSameNumber = value; }

    // Each starter takes the object the operation fills or writes; the caller
    // keeps it alive until the completion callback has run. Results reach it
    // only on success, on the main thread: the banks read are appended to
    // `target`, a setup read or defaulted replaces the content of `target`.
    // A source is copied when the transfer starts.
    void StartReadData(InstrumentData* target, Completion done);
    void StartReadSetup(InstrumentSetup* target, Completion done);
    void StartWriteSetup(InstrumentSetup* source, Completion done);
    void StartDefaultSetup(InstrumentSetup* target, Completion done);
    void StartWriteDatabase(InstrumentDatabase* source, Completion done);

protected:
    TransferResult Execute() override;
    void HandOver(TransferResult result) override;

private:
    void StartSetup(Operation operation, InstrumentSetup* setup, Completion done);

    int m_operation = None;
    QString m_portName;
    int m_groupSameNumber = 1;
    InstrumentData* m_targetData = nullptr;
    InstrumentSetup* m_targetSetup = nullptr;
    // The worker's own objects.
    std::unique_ptr<InstrumentData> m_data;
    std::unique_ptr<InstrumentSetup> m_setup;
    std::unique_ptr<InstrumentDatabase> m_database;
};
