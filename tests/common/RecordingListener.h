#pragma once
// A transfer listener in memory: it records what the user would have seen
// and cancels when the test says so, so that operations run on the test's
// own thread.

#include "instruments/TransferListener.h"

#include <QStringList>

#include <functional>
#include <vector>

class RecordingListener final : public TransferListener
{
public:
    // Asked at every cancel test; true stops the operation there.
    std::function<bool()> cancelWhen;

    bool IsTerminated() const override
    {
        ++m_cancelTests;
        return cancelWhen && cancelWhen();
    }
    void ShowProgress(const QString& caption) override
    {
        m_captions.append(caption);
        m_visible = true;
    }
    void SetProgress(int percent) override { m_progress.push_back(percent); }
    void HideProgress() override
    {
        m_visible = false;
        m_progress.push_back(-1); // marks a close
    }
    void ShowError(TransferResult result) override
    {
        if (result != TransferResult::Success)
            m_errors.push_back(result);
    }

    const QStringList& Captions() const { return m_captions; }
    // Percentages in order; -1 where the window was closed.
    const std::vector<int>& Progress() const { return m_progress; }
    const std::vector<TransferResult>& Errors() const { return m_errors; }
    bool Visible() const { return m_visible; }
    int CancelTests() const { return m_cancelTests; }

private:
    QStringList m_captions;
    std::vector<int> m_progress;
    std::vector<TransferResult> m_errors;
    bool m_visible = false;
    mutable int m_cancelTests = 0;
};
