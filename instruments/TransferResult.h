#pragma once
// How an instrument operation ended. The numbers 1 to 3 are the codes of the
// error box the user sees.

#include <QString>

enum class TransferResult {
    Success = 0,
    Interrupted = 1,        // "Interupted by user"
    NotConnected = 2,       // "Instrument not connected"
    TransmissionFailed = 3, // "Transmission failed"
    // The model's settings cannot be written from the program; the instrument
    // is left untouched.
    NotSupported = 4,
};

// The error box text of a result in the current language; empty for Success
// and for codes without a text.
QString TransferResultText(TransferResult result);
// The caption of every error box of the instrument operations ("Error").
QString TransferErrorCaption();
