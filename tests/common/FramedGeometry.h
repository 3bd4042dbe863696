#pragma once
// Where a window lies with its frame, also on a test platform that frames no
// window: there the room the program keeps for a frame not known yet counts.

#include "platform/widgets/ScreenFit.h"

#include <QWidget>
#include <QWindow>

inline QRect Framed(const QWidget& window)
{
    const QWindow* handle = window.windowHandle();
    const QMargins frame = handle ? handle->frameMargins() : QMargins();
    return frame.isNull() ? window.geometry().marginsAdded(UnknownFrameAllowance)
                          : window.frameGeometry();
}
