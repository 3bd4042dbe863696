#pragma once
// Printing of document files: each file with a section "form" is printed
// whole as its own print job, titled with its path, one after the other.
// Printing to a file, several documents go to numbered files beside the one
// chosen ("out.pdf": "out-1.pdf", "out-2.pdf", ... for the list's entries).

#include "documents/widgets/PrintThread.h"

#include <QStringList>

class TPrintMultiThread : public DocumentPrintJob
{
    Q_OBJECT

public:
    explicit TPrintMultiThread(QPrinter& printer);
    ~TPrintMultiThread() override;

    // The paths, in print order (a copy: the list box may change meanwhile).
    void SetFiles(const QStringList& files) { m_files = files; }

protected:
    void Execute() override;

private:
    // A file that cannot be opened, or holds no readable section "form",
    // prints nothing: its path alone is shown and the next file follows.
    void PrintFile(const QString& path);

    QStringList m_files;
};
