#pragma once
// A print job: a worker thread that prints on the program's printer while the
// "Print" dialog (TForm5) shows its progress and offers Cancel. The dialog
// runs every kind of job through this interface: document pages, document
// files, and the printing of other windows' lists.
//
// A job is made on the main thread with everything it prints (it owns its
// data; nothing is shared while it runs), handed to TForm5::Print, and tests
// IsTerminated() before each page.

#include <QPageLayout>
#include <QString>
#include <QThread>
#include <QTransform>

#include <atomic>
#include <functional>

class QPainter;
class QPrinter;

// Maps tenths of a millimetre from the paper's corner onto the printer's
// device pixels (the painter's origin is the printable area's corner), at
// the printer's own resolution.
QTransform PaperTransform(const QPrinter& printer);

class PrintJob : public QThread
{
    Q_OBJECT

public:
    // Receives each progress text on the job's thread and returns once the
    // text is shown.
    using ProgressSink = std::function<void(const QString& text)>;

    // Waits for the thread.
    ~PrintJob() override;

    // Before the start: where progress texts go.
    void SetProgressSink(ProgressSink sink) { m_progress = std::move(sink); }
    // Any thread: the job stops before its next page (or file).
    void Terminate() { m_terminated = true; }
    bool IsTerminated() const { return m_terminated; }

protected:
    explicit PrintJob(QPrinter& printer);

    // The job's work, on its thread.
    virtual void Execute() = 0;

    QPrinter& Printer() const { return m_printer; }
    void ShowProgress(const QString& text);
    // Titles the job, sets the paper's orientation and begins the job on the
    // painter. False when nothing is to be printed: the user would not have
    // the output file replaced, or the printer cannot print; then the user
    // is told why and the job is terminated, and the printer stays ready for
    // the next job.
    bool BeginJob(QPainter& painter, const QString& title, QPageLayout::Orientation orientation);

private:
    void run() final;
    void Refuse(const QString& reason);

    QPrinter& m_printer;
    ProgressSink m_progress;
    std::atomic<bool> m_terminated{false};
};
