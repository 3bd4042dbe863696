#include "documents/widgets/PrintForm.h"

#include "documents/widgets/PrintMultiThread.h"
#include "documents/widgets/PrintThread.h"
#include "documents/widgets/Printers.h"
#include "language/StringIds.h"
#include "platform/widgets/Captions.h"
#include "platform/widgets/ScreenFit.h"
#include "platform/widgets/ThreadCalls.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int LabelWidth = 300;
constexpr int ProgressPollMs = 20;
} // namespace

TForm5::TForm5(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm5"));
    SetTag(this, StringId::PrintTitle);
    FitOnScreenWhenShown(this);
    setModal(true);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    Label1->setMinimumWidth(LabelWidth);
    Button1 = new QPushButton(this);
    Button1->setObjectName(QStringLiteral("Button1"));
    SetTag(Button1, StringId::Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1, 1);
    layout->addWidget(Button1, 0, Qt::AlignHCenter);
    connect(Button1, &QPushButton::clicked, this, &TForm5::Button1Click);
    ApplyLanguage();
}

TForm5::~TForm5() = default;

void TForm5::PrintDocument(const QuillfenForm& document, int first, int last)
{
    auto job = std::make_unique<TPrintThread>(Printers().Printer());
    job->SetPageRange(document, first, last);
    Print(std::move(job));
}

void TForm5::PrintFiles(const QStringList& files)
{
    auto job = std::make_unique<TPrintMultiThread>(Printers().Printer());
    job->SetFiles(files);
    Print(std::move(job));
}

void TForm5::Print(std::unique_ptr<PrintJob> job)
{
    job->SetProgressSink([this](const QString& text) {
        CallOnThreadOf(this, [&] {
            Label1->setText(text);
            emit ProgressShown(text);
        });
    });
    connect(job.get(), &QThread::finished, this, &TForm5::PrintThreadTerminate, Qt::QueuedConnection);
    Label1->clear();
    m_job = job.get();
    job->start();
    exec();
    m_job = nullptr;
    // Normally the job has ended already. Should the dialog have been closed
    // some other way, the job stops at its next page; its last progress call
    // still needs this thread's events.
    job->Terminate();
    while (!job->wait(QDeadlineTimer(ProgressPollMs)))
        QCoreApplication::processEvents();
}

void TForm5::ApplyLanguage()
{
    ApplyCaptions(this);
}

void TForm5::Button1Click()
{
    if (m_job)
        m_job->Terminate();
}

void TForm5::PrintThreadTerminate()
{
    done(QDialog::Accepted);
}

void TForm5::reject()
{
    Button1Click();
}
