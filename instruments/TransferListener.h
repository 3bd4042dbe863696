#pragma once
// What an instrument operation shows the user while it runs, and the one
// thing it asks: whether to stop. The transfer threads implement it by
// carrying the calls to the progress window and the message boxes; tests and
// fuzz targets implement it in memory, so that the protocols, the block loops,
// cancel and progress run without a thread.

#include "instruments/TransferResult.h"

#include <QString>

class TransferListener
{
public:
    virtual ~TransferListener() = default;

    // The cancel request; operations test it before each block.
    virtual bool IsTerminated() const = 0;
    // The progress window with its caption, its bar (percent) and its close.
    virtual void ShowProgress(const QString& caption) = 0;
    virtual void SetProgress(int percent) = 0;
    virtual void HideProgress() = 0;
    // The error box of `result`, returning once it is closed; nothing for
    // Success.
    virtual void ShowError(TransferResult result) = 0;
};
