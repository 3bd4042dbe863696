// Shutdown as a whole: closing the main window (or File > Exit) asks every
// window with a modified document once, and either ends the program's event
// loop or, on Cancel, leaves every window and document as it was.

#include "app/QuillfenProgram.h"
#include "common/FakeDialogs.h"
#include "dataprocessing/widgets/QuillfenTransfer.h"
#include "designer/widgets/QuillfenDesigner.h"
#include "language/Language.h"
#include "language/StringIds.h"
#include "revisionlist/RevisionTableModel.h"
#include "revisionlist/widgets/QuillfenRevisionTable.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

constexpr int EnglishLocale = 0x409;

// Runs the program's event loop for one user action; true when the action
// ended the loop.
bool EndsProgram(const std::function<void()>& action)
{
    bool keptRunning = false;
    QMetaObject::Connection waiting;
    QTimer::singleShot(0, qApp, [&] {
        action();
        // A loop that goes on comes back to wait for events; an ended one does not.
        waiting = QObject::connect(QAbstractEventDispatcher::instance(),
                                   &QAbstractEventDispatcher::aboutToBlock, [&] {
                                       keptRunning = true;
                                       QCoreApplication::exit();
                                   });
    });
    QApplication::exec();
    QObject::disconnect(waiting);
    // The last window closing posts a quit of its own; it belongs to the run that ended.
    QCoreApplication::removePostedEvents(qApp, QEvent::Quit);
    return !keptRunning;
}

class ProgramShutdownTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        program.Start({}, EnglishLocale);
        program.RevisionList().Transfer1->trigger();
        program.RevisionList().Designer1->trigger();
        program.Designer().GetDocument().SetModified();
        program.DataProcessing().Form().SetModified();
    }
    void TearDown() override { MainLanguage.SetLanguage(Language::English); }

    // The windows that asked, in turn.
    std::string Askers() const
    {
        QStringList captions;
        for (const FakeDialogs::Message& m : dialogs.messages) {
            EXPECT_EQ(m.text, MainLanguage.GetString(StringId::SaveQuestion));
            captions << m.caption;
        }
        return captions.join(u'|').toStdString();
    }
    static std::string Windows(std::initializer_list<int> captionIds)
    {
        QStringList captions;
        for (int id : captionIds)
            captions << MainLanguage.GetString(id);
        return captions.join(u'|').toStdString();
    }

    FakeDialogs dialogs;
    QuillfenProgram program;
};

TEST_F(ProgramShutdownTest, EachWindowIsAskedOnceAndCancelKeepsTheProgramWhole)
{
    TForm7& list = program.RevisionList();
    list.Model().SetModified(true);
    dialogs.answers << IDNO << IDCANCEL;
    EXPECT_FALSE(EndsProgram([&] { list.Exit1->trigger(); }));
    EXPECT_EQ(Askers(), Windows({StringId::TemplateDesigner, StringId::DataProcessing}));
    EXPECT_TRUE(list.isVisible());
    EXPECT_TRUE(program.Designer().isVisible());
    EXPECT_TRUE(program.DataProcessing().isVisible());
    EXPECT_TRUE(program.Designer().GetDocument().IsModified());
    EXPECT_TRUE(program.DataProcessing().Form().IsModified());
    EXPECT_TRUE(list.Model().IsModified());

    // Closing the main window asks each window once more, the list last, and ends.
    dialogs.messages.clear();
    dialogs.answers << IDNO << IDNO << IDNO;
    EXPECT_TRUE(EndsProgram([&] { list.close(); }));
    EXPECT_EQ(Askers(), Windows({StringId::TemplateDesigner, StringId::DataProcessing,
                                 StringId::RevisionList}));
}

} // namespace
