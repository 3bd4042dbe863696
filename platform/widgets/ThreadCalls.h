#pragma once
// Widgets live on the main thread; workers reach them through a blocking
// queued call, so a worker still waits for what the user sees or answers.

#include <QMetaObject>
#include <QObject>
#include <QThread>

#include <type_traits>

// Runs `fn` on the thread of `context` and returns its result once it has run.
template <typename Fn>
auto CallOnThreadOf(QObject* context, Fn fn) -> decltype(fn())
{
    if (QThread::currentThread() == context->thread())
        return fn();
    if constexpr (std::is_void_v<decltype(fn())>) {
        QMetaObject::invokeMethod(context, fn, Qt::BlockingQueuedConnection);
    } else {
        decltype(fn()) result{};
        QMetaObject::invokeMethod(context, [&] { result = fn(); }, Qt::BlockingQueuedConnection);
        return result;
    }
}
