#pragma once
// A scripted stand-in for the user: records every message box and answers
// from a queue (default: OK / Yes as the buttons allow).

#include "platform/UserDialogs.h"

#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QQueue>
#include <QStringList>

class FakeDialogs : public UserDialogs
{
public:
    struct Message
    {
        QString text;
        QString caption;
        MsgButtons buttons;
        MsgIcon icon;
    };

    FakeDialogs() { SetDialogs(this); }
    ~FakeDialogs() override { SetDialogs(nullptr); }

    int MessageBox(const QString& text, const QString& caption, MsgButtons buttons,
                   MsgIcon icon) override
    {
        QMutexLocker lock(&mutex);
        messages.append({text, caption, buttons, icon});
        if (!answers.isEmpty())
            return answers.dequeue();
        return buttons == MsgButtons::Ok || buttons == MsgButtons::OkCancel ? IDOK : IDYES;
    }
    QString GetOpenFileName(const QString&, const QString&, const QString&) override { return Next(); }
    QStringList GetOpenFileNames(const QString&, const QString&, const QString&) override
    {
        const QString name = Next();
        return name.isEmpty() ? QStringList() : name.split(u'\n');
    }
    QString GetSaveFileName(const QString&, const QString& dir, const QString&,
                            const QString& defaultSuffix) override
    {
        return SaveName(dir, defaultSuffix, true);
    }
    QString GetSaveFileNameAndFilter(const QString&, const QString& dir, const QString& filter,
                                     const QString& defaultSuffix, int& filterIndex) override
    {
        {
            QMutexLocker lock(&mutex);
            filterIndex = filterIndexes.isEmpty() ? 1 : filterIndexes.dequeue();
        }
        const QString entry = filter.split(QStringLiteral(";;")).value(filterIndex - 1);
        return SaveName(dir, defaultSuffix, entry.contains(QStringLiteral("*.") + defaultSuffix));
    }
    QString BrowseForFolder(const QString&, const QString&) override { return Next(); }
    void Beep() override
    {
        QMutexLocker lock(&mutex);
        ++beeps;
    }

    bool ChooseColor(QColor& color) override
    {
        QMutexLocker lock(&mutex);
        if (colors.isEmpty())
            return false;
        color = colors.dequeue();
        return true;
    }

    QStringList Texts() const
    {
        QMutexLocker lock(&mutex);
        QStringList texts;
        for (const Message& m : messages)
            texts << m.text;
        return texts;
    }

    mutable QMutex mutex;
    QList<Message> messages;
    QQueue<int> answers;        // answers to message boxes, in order
    QQueue<QString> fileNames;  // answers to file and folder dialogs ("" = cancel)
    QQueue<int> filterIndexes;  // filter entries chosen in save dialogs (default 1)
    QStringList saveSuffixes;   // the default suffix each save dialog was given
    QStringList saveStarts;     // the folder or name each save dialog opened on
    int beeps = 0;
    QQueue<QColor> colors;      // answers to colour dialogs (none left = cancel)

private:
    // As the real dialog: a name without an extension gets the default suffix.
    QString SaveName(const QString& dir, const QString& defaultSuffix, bool suffixApplies)
    {
        {
            QMutexLocker lock(&mutex);
            saveSuffixes << defaultSuffix;
            saveStarts << dir;
        }
        QString name = Next();
        if (!name.isEmpty() && suffixApplies && !defaultSuffix.isEmpty()
            && QFileInfo(name).suffix().isEmpty())
            name += u'.' + defaultSuffix;
        return name;
    }
    QString Next()
    {
        QMutexLocker lock(&mutex);
        return fileNames.isEmpty() ? QString() : fileNames.dequeue();
    }
};
