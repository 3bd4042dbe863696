#include "platform/widgets/WidgetDialogs.h"

#include "platform/widgets/ThreadCalls.h"

#include <algorithm>

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace {
// Runs `fn` on the main thread (here, when there is no application yet).
template <typename Fn>
auto OnMainThread(Fn fn) -> decltype(fn())
{
    return qApp ? CallOnThreadOf(qApp, fn) : fn();
}

QWidget* Parent() { return QApplication::activeWindow(); }

// A window that stays on top (the progress of a transfer) must not hide
// a question asked while it is shown: the question then stays on top too.
bool WindowOnTopShown()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [](const QWidget* window) {
        return window->isVisible() && window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    });
}
} // namespace

int WidgetDialogs::MessageBox(const QString& text, const QString& caption, MsgButtons buttons,
                              MsgIcon icon)
{
    return OnMainThread([&]() -> int {
        QMessageBox box(Parent());
        if (WindowOnTopShown())
            box.setWindowFlag(Qt::WindowStaysOnTopHint);
        box.setWindowTitle(caption);
        box.setText(text);
        switch (icon) {
        case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
        case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
        case MsgIcon::Warning: box.setIcon(QMessageBox::Warning); break;
        case MsgIcon::Error: box.setIcon(QMessageBox::Critical); break;
        case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
        }
        switch (buttons) {
        case MsgButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
        case MsgButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
        case MsgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        case MsgButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
        case MsgButtons::YesNoDefaultNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::No);
            break;
        }
        switch (box.exec()) {
        case QMessageBox::Ok: return IDOK;
        case QMessageBox::Yes: return IDYES;
        case QMessageBox::No: return IDNO;
        default: return IDCANCEL;
        }
    });
}

QString WidgetDialogs::GetOpenFileName(const QString& caption, const QString& dir,
                                       const QString& filter)
{
    return OnMainThread([&] { return QFileDialog::getOpenFileName(Parent(), caption, dir, filter); });
}

QStringList WidgetDialogs::GetOpenFileNames(const QString& caption, const QString& dir,
                                            const QString& filter)
{
    return OnMainThread([&] { return QFileDialog::getOpenFileNames(Parent(), caption, dir, filter); });
}

QString WidgetDialogs::GetSaveFileName(const QString& caption, const QString& dir,
                                       const QString& filter)
{
    return OnMainThread([&] { return QFileDialog::getSaveFileName(Parent(), caption, dir, filter); });
}

QString WidgetDialogs::GetSaveFileNameAndFilter(const QString& caption, const QString& dir,
                                                const QString& filter, int& filterIndex)
{
    return OnMainThread([&] {
        QString selected;
        const QString name = QFileDialog::getSaveFileName(Parent(), caption, dir, filter, &selected);
        filterIndex = std::max(1, static_cast<int>(filter.split(QStringLiteral(";;")).indexOf(selected)) + 1);
        return name;
    });
}

QString WidgetDialogs::BrowseForFolder(const QString& caption, const QString& dir)
{
    return OnMainThread([&] { return QFileDialog::getExistingDirectory(Parent(), caption, dir); });
}

void WidgetDialogs::Beep()
{
    OnMainThread([] { QApplication::beep(); });
}

bool WidgetDialogs::ChooseColor(QColor& color)
{
    const QColor chosen = OnMainThread([&] { return QColorDialog::getColor(color, Parent()); });
    if (!chosen.isValid())
        return false;
    color = chosen;
    return true;
}
