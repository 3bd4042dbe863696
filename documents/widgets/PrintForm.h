#pragma once
// The "Print" dialog: shown modally while a print job runs, with the job's
// progress text and Cancel. It closes when the job has ended, not before:
// Cancel (and Escape, and closing the window) only asks the job to stop
// before its next page, and the pages already printed are sent.
//
// Use: PrintDocument or PrintFiles, or Print with a job of one's own (the
// revision list's list printing); each returns once the job has ended.

#include <QDialog>
#include <QStringList>

#include <memory>

class PrintJob;
class QLabel;
class QPushButton;
class QuillfenForm;

class TForm5 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm5(QWidget* parent = nullptr);
    ~TForm5() override;

    // Prints pages first..last (from 1; each clamped to the document's pages)
    // of a copy of the document.
    void PrintDocument(const QuillfenForm& document, int first, int last);
    // Prints every file of the list that holds a form, one job per file.
    void PrintFiles(const QStringList& files);
    // Starts the job, shows the dialog until the job has ended, and destroys it.
    void Print(std::unique_ptr<PrintJob> job);
    // Puts the current language's captions on the dialog.
    void ApplyLanguage();

    QLabel* Label1;
    QPushButton* Button1; // Cancel

signals:
    // A progress text was put into Label1 (the job waits meanwhile).
    void ProgressShown(const QString& text);

public slots:
    void Button1Click();
    // The job has ended: the dialog closes.
    void PrintThreadTerminate();
    void reject() override;

private:
    PrintJob* m_job = nullptr;
};
