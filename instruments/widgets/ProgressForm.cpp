#include "instruments/widgets/ProgressForm.h"

#include "platform/UserDialogs.h"
#include "platform/widgets/ThreadCalls.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QScreen>
#include <QStyle>
#include <QToolButton>

#include <algorithm>

namespace {
// A tool window with an owner stays above that window only: the questions
// and dialogs of the program can still come above it.
constexpr Qt::WindowFlags ProgressWindowFlags =
    Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
} // namespace

TProgressForm::TProgressForm(QWidget* parent) : QDialog(parent, ProgressWindowFlags)
{
    setObjectName(QStringLiteral("TProgressForm"));
    setModal(false);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    SpeedButton1->setAutoRaise(true);
    layout->addWidget(ProgressBar1, 1);
    layout->addWidget(SpeedButton1);
    setFixedSize(338, 33);
    connect(SpeedButton1, &QToolButton::clicked, this, &TProgressForm::SpeedButton1Click);
}

TProgressForm::~TProgressForm()
{
    if (&TransferReporterInUse() == this)
        SetTransferReporter(nullptr);
}

void TProgressForm::ShowForThread(InstrumentTransferWindow* thread)
{
    m_thread = thread;
    if (!isVisible()) {
        const auto started =
            std::find_if(m_startedFrom.begin(), m_startedFrom.end(),
                         [thread](const auto& s) { return thread && s.first == thread; });
        BelongTo(started != m_startedFrom.end() ? started->second.data()
                                                : QApplication::activeWindow());
    }
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    show();
    // A question asked before the progress appeared must stay above it.
    if (QWidget* question = QApplication::activeModalWidget(); question && question != this)
        question->raise();
}

void TProgressForm::ShowProgress(InstrumentTransferWindow* thread, const QString& caption)
{
    CallOnThreadOf(this, [&] {
        ShowForThread(thread);
        setWindowTitle(caption);
    });
}

void TProgressForm::SetProgress(InstrumentTransferWindow* thread, int percent)
{
    CallOnThreadOf(this, [&] {
        if (m_thread == thread)
            ProgressBar1->setValue(percent);
    });
}

void TProgressForm::HideProgress(InstrumentTransferWindow* thread)
{
    CallOnThreadOf(this, [&] {
        if (m_thread != thread)
            return;
        // The transfer closes the window itself: that is no cancel request
        // (an operation may go on with a second loop), and the thread may be
        // on its way out.
        m_thread = nullptr;
        ProgressBar1->setValue(0);
        close();
    });
}

void TProgressForm::Starting(InstrumentTransferWindow* thread)
{
    CallOnThreadOf(this, [&] {
        std::erase_if(m_startedFrom, [](const auto& s) { return s.first.isNull(); });
        // The window the user started the transfer from is the active one.
        m_startedFrom.emplace_back(thread, QApplication::activeWindow());
    });
}

void TProgressForm::BelongTo(QWidget* owner)
{
    if (owner == this)
        owner = nullptr;
    if (owner == parentWidget())
        return;
    disconnect(m_ownerGone);
    setParent(owner, ProgressWindowFlags);
    // The program keeps the window: an owner that goes (a dialog that
    // started a transfer) must not take it along.
    if (owner)
        m_ownerGone = connect(owner, &QObject::destroyed, this, [this] { BelongTo(nullptr); });
}

void TProgressForm::ShowError(const QString& text, const QString& caption)
{
    // The dialogs carry a worker's call to the main thread themselves.
    Dialogs().MessageBox(text, caption, MsgButtons::Ok, MsgIcon::None);
}

void TProgressForm::SpeedButton1Click()
{
    if (m_thread)
        m_thread->Terminate();
}

void TProgressForm::hideEvent(QHideEvent* event)
{
    // The user closing the window cancels like the button.
    SpeedButton1Click();
    QDialog::hideEvent(event);
}
