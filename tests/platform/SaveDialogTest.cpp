#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

#include "platform/widgets/WidgetDialogs.h"

namespace {

const QString DocumentFilter = QStringLiteral("Quillfen (*.qfs)");
const QString DataFilter = QStringLiteral(
    "Quillfen data (*.qfs);;HTML (*.html) (*.htm *.html);;HTML (*.html) - Tab (*.htm *.html)");

// Runs each step on the modal window that is open when its turn comes: the
// steps play the user in front of the real save dialog and its questions.
class ModalScript
{
public:
    explicit ModalScript(std::vector<std::function<void(QWidget*)>> steps) : m_steps(std::move(steps))
    {
        Poll();
    }
    bool Finished() const { return m_next == m_steps.size(); }

private:
    void Poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != m_last && m_next < m_steps.size()) {
            m_last = modal;
            m_steps[m_next++](modal);
        } else if (modal != m_last) {
            m_last = modal;
        }
        // A window that never comes must not hang the run: the open one is
        // closed, and Finished() tells the test.
        if (++m_polls > MaxPolls && modal) {
            QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection);
            return;
        }
        if (m_next < m_steps.size())
            QTimer::singleShot(PollMs, [this] { Poll(); });
    }

    static constexpr int PollMs = 10;
    static constexpr int MaxPolls = 1000;
    int m_polls = 0;
    std::vector<std::function<void(QWidget*)>> m_steps;
    std::size_t m_next = 0;
    QPointer<QWidget> m_last;
};

void TypeName(QWidget* dialog, const QString& name)
{
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    edit->clear();
    QTest::keyClicks(edit, name);
    // Queued: the question it may ask runs its own loop, which the next step needs.
    QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

// A name typed without its extension, beside a document of that name, is the
// document the save would replace: the dialog asks before giving it back.
TEST(SaveDialog, TheOverwriteQuestionIsAboutTheNameWithItsDefaultSuffix)
{
    QTemporaryDir dir;
    WriteFile(dir.filePath("report.qfs"), "old");
    WidgetDialogs dialogs;

    QString question;
    ModalScript refuse({
        [](QWidget* dialog) { TypeName(dialog, QStringLiteral("report")); },
        [&](QWidget* box) {
            auto* message = qobject_cast<QMessageBox*>(box);
            ASSERT_NE(message, nullptr);
            question = message->text();
            message->button(QMessageBox::No)->click();
        },
        // Back in the dialog, which is then cancelled.
        [](QWidget* dialog) { QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection); },
    });
    EXPECT_EQ(dialogs.GetSaveFileName("Save", dir.path(), DocumentFilter, "qfs"), QString());
    EXPECT_TRUE(refuse.Finished());
    EXPECT_TRUE(question.contains(QStringLiteral("report.qfs"))) << question.toStdString();

    ModalScript accept({
        [](QWidget* dialog) { TypeName(dialog, QStringLiteral("report")); },
        [](QWidget* box) { qobject_cast<QMessageBox*>(box)->button(QMessageBox::Yes)->click(); },
    });
    EXPECT_EQ(dialogs.GetSaveFileName("Save", dir.path(), DocumentFilter, "qfs"),
              dir.filePath("report.qfs"));
    EXPECT_TRUE(accept.Finished());
}

// Only the entries that list the suffix give it: the HTML entries of the data
// dialog keep the name as typed, and the chosen entry is reported.
TEST(SaveDialog, TheSuffixFollowsTheChosenFilterEntry)
{
    QTemporaryDir dir;
    WriteFile(dir.filePath("page"), "existing");
    WidgetDialogs dialogs;

    ModalScript html({
        [](QWidget* dialog) {
            auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            ASSERT_NE(types, nullptr);
            QTest::keyClick(types, Qt::Key_Down);
            TypeName(dialog, QStringLiteral("page"));
        },
        [](QWidget* box) { qobject_cast<QMessageBox*>(box)->button(QMessageBox::Yes)->click(); },
    });
    int entry = 0;
    EXPECT_EQ(dialogs.GetSaveFileNameAndFilter("Save", dir.path(), DataFilter, "qfs", entry),
              dir.filePath("page"));
    EXPECT_EQ(entry, 2);
    EXPECT_TRUE(html.Finished());

    ModalScript data({[](QWidget* dialog) { TypeName(dialog, QStringLiteral("page")); }});
    EXPECT_EQ(dialogs.GetSaveFileNameAndFilter("Save", dir.path(), DataFilter, "qfs", entry),
              dir.filePath("page.qfs"));
    EXPECT_EQ(entry, 1);
    EXPECT_TRUE(data.Finished());
}
