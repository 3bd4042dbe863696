#include "instruments/InstrumentTransferWindow.h"

#include "instruments/InstrumentData.h"
#include "instruments/InstrumentDatabase.h"
#include "instruments/InstrumentSetup.h"
#include "instruments/InstrumentTransfer.h"
#include "platform/UserDialogs.h"

#include <atomic>

namespace {

// Without a window layer: no progress, errors through the program's dialogs.
class PlainReporter final : public TransferReporter
{
public:
    void ShowProgress(InstrumentTransferWindow*, const QString&) override {}
    void SetProgress(InstrumentTransferWindow*, int) override {}
    void HideProgress(InstrumentTransferWindow*) override {}
    void ShowError(const QString& text, const QString& caption) override
    {
        Dialogs().MessageBox(text, caption, MsgButtons::Ok, MsgIcon::None);
    }
};

PlainReporter& DefaultReporter()
{
    static PlainReporter reporter;
    return reporter;
}

std::atomic<TransferReporter*> InstalledReporter{nullptr};

// A deep copy of a settings description, through the copy constructors of
// the two kinds of setting.
std::unique_ptr<InstrumentSetupItem> CopyItem(const InstrumentSetupItem& item)
{
    switch (item.GetKind()) {
    case InstrumentSetupAbstract::KindNumber:
        return std::make_unique<InstrumentSetupItemNumber>(
            static_cast<const InstrumentSetupItemNumber&>(item));
    case InstrumentSetupAbstract::KindChoice:
        return std::make_unique<InstrumentSetupItemChoice>(
            static_cast<const InstrumentSetupItemChoice&>(item));
    default:
        return nullptr;
    }
}

void CopySetup(const InstrumentSetup& from, InstrumentSetup& to)
{
    to.Clear();
    for (int b = 0; b < from.GetCount(); ++b) {
        const InstrumentSetupBank* bank = from.GetBank(b);
        auto copy = std::make_unique<InstrumentSetupBank>(bank->GetId());
        for (int i = 0; i < bank->GetCount(); ++i)
            copy->AddItem(CopyItem(*bank->GetItem(i)));
        to.AddBank(std::move(copy));
    }
}

} // namespace

TransferReporter& TransferReporterInUse()
{
    TransferReporter* reporter = InstalledReporter;
    return reporter ? *reporter : DefaultReporter();
}

void SetTransferReporter(TransferReporter* reporter)
{
    InstalledReporter = reporter;
}

// ---------------------------------------------------------------------------

InstrumentTransferWindow::InstrumentTransferWindow()
    : m_reporter(&TransferReporterInUse())
{
    // The thread object lives on the main thread, so this runs there once
    // the worker has ended.
    connect(this, &QThread::finished, this, &InstrumentTransferWindow::Finish, Qt::QueuedConnection);
}

InstrumentTransferWindow::~InstrumentTransferWindow()
{
    wait();
    m_reporter->HideProgress(this);
}

void InstrumentTransferWindow::ShowProgress(const QString& caption)
{
    m_reporter->ShowProgress(this, caption);
}

void InstrumentTransferWindow::HideProgress()
{
    m_position = 0;
    m_reporter->HideProgress(this);
}

void InstrumentTransferWindow::SetProgress(int percent)
{
    m_position = percent;
    m_reporter->SetProgress(this, percent);
}

void InstrumentTransferWindow::ShowError(TransferResult result)
{
    if (result == TransferResult::Success)
        return;
    m_reporter->ShowError(TransferResultText(result), TransferErrorCaption());
}

void InstrumentTransferWindow::Terminate()
{
    m_terminated = true;
}

void InstrumentTransferWindow::Begin(Completion done)
{
    m_done = std::move(done);
    m_reporter->Starting(this);
    start();
}

void InstrumentTransferWindow::run()
{
    m_result = Execute();
}

void InstrumentTransferWindow::Finish()
{
    wait();
    const TransferResult result = m_result;
    HandOver(result);
    if (m_done)
        m_done(result);
    deleteLater();
}

// ---------------------------------------------------------------------------

InstrumentTransferWindowThread::InstrumentTransferWindowThread(const QString& portName)
    : m_portName(portName)
{
}

InstrumentTransferWindowThread::~InstrumentTransferWindowThread() = default;

void InstrumentTransferWindowThread::StartReadData(InstrumentData* target, Completion done)
{
    m_operation = ReadData;
    m_targetData = target;
    m_data = std::make_unique<InstrumentData>();
    Begin(std::move(done));
}

void InstrumentTransferWindowThread::StartSetup(Operation operation, InstrumentSetup* setup,
                                                Completion done)
{
    m_operation = operation;
    m_setup = std::make_unique<InstrumentSetup>();
    if (operation == WriteSetup) {
        if (setup)
            CopySetup(*setup, *m_setup);
    } else {
        m_targetSetup = setup;
    }
    Begin(std::move(done));
}

void InstrumentTransferWindowThread::StartReadSetup(InstrumentSetup* target, Completion done)
{
    StartSetup(ReadSetup, target, std::move(done));
}

void InstrumentTransferWindowThread::StartWriteSetup(InstrumentSetup* source, Completion done)
{
    StartSetup(WriteSetup, source, std::move(done));
}

void InstrumentTransferWindowThread::StartDefaultSetup(InstrumentSetup* target, Completion done)
{
    StartSetup(DefaultSetup, target, std::move(done));
}

void InstrumentTransferWindowThread::StartWriteDatabase(InstrumentDatabase* source, Completion done)
{
    m_operation = WriteDatabase;
    m_database = source ? std::make_unique<InstrumentDatabase>(*source)
                        : std::make_unique<InstrumentDatabase>();
    Begin(std::move(done));
}

TransferResult InstrumentTransferWindowThread::Execute()
{
    InstrumentTransfer transfer(m_portName);
    transfer.SetGroupSameNumber(m_groupSameNumber);
    switch (m_operation) {
    case ReadData:
        return transfer.ReadData(*m_data, *this);
    case ReadSetup:
        return transfer.ReadSetup(*m_setup, *this);
    case WriteSetup:
        return transfer.WriteSetup(*m_setup, *this);
    case DefaultSetup:
        return transfer.GetDefaultSetup(*m_setup, *this);
    case WriteDatabase:
        return transfer.WriteDatabase(*m_database, *this);
    default:
        return TransferResult::Success;
    }
}

void InstrumentTransferWindowThread::HandOver(TransferResult result)
{
    if (result != TransferResult::Success)
        return;
    if (m_targetData && m_data)
        m_targetData->AppendCopies(*m_data);
    if (m_targetSetup && m_setup)
        CopySetup(*m_setup, *m_targetSetup);
}
