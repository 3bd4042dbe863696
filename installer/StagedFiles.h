#pragma once
// Files of an installation written beside their targets under temporary
// names and put in place together: either every target takes its new file,
// or every target keeps what it had. A program replaced while it runs, or an
// update that finds the disk full, must never leave a cut file behind.

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class StagedFiles
{
public:
    StagedFiles() = default;
    // Whatever was not put in place goes again.
    ~StagedFiles() { Discard(); }
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;

    // A new empty temporary beside `target`, whose missing folders are made
    // first; `name` is what a message calls the file. Empty when there is
    // none: ErrorString() then says why (a folder where the file belongs
    // counts as a failure here, before anything is written).
    QString Add(const QString& target, const QString& name);
    // Fills a temporary that Add made with `bytes`.
    bool Write(const QString& temporary, const QByteArray& bytes);
    // Fills a temporary that Add made with a copy of `source`; `goOn` is
    // asked before every block and stops the copy when false.
    bool Copy(const QString& temporary, const QString& source, const std::function<bool()>& goOn);
    // Every temporary on the disk, so that no file put in place can turn out
    // empty after a power loss.
    bool Sync();

    // Puts every temporary in place in the order added; the files they
    // replace are kept aside until the last is in place. When one cannot be
    // put in place, everything goes back as it was and the temporaries go.
    bool Apply();
    // Removes the temporaries and the folders made for them (when empty).
    void Discard();

    // The file and the system's reason of the last failure.
    QString FailedName() const { return m_failedName; }
    QString ErrorString() const { return m_error; }

private:
    struct Entry
    {
        QString target;
        QString name;
        QString temporary;
        QString aside;         // the name the replaced file is kept under
        bool holdsOld = false; // `aside` holds the replaced file
        bool applied = false;
    };
    bool Fail(const Entry& entry, int error);
    const Entry& EntryOf(const QString& temporary) const;
    void Restore();

    std::vector<Entry> m_entries;
    QStringList m_madeFolders; // outermost first
    QString m_failedName;
    QString m_error;
};
