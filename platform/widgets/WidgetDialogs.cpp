#include "platform/widgets/WidgetDialogs.h"

#include "platform/widgets/ThreadCalls.h"

#include <algorithm>

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>

namespace {
// Runs `fn` on the main thread (here, when there is no application yet).
template <typename Fn>
auto OnMainThread(Fn fn) -> decltype(fn())
{
    return qApp ? CallOnThreadOf(qApp, fn) : fn();
}

// The window a dialog belongs to: the one the user works in, or the tool
// window it keeps above itself (the progress of a transfer), so that the
// dialog is stacked above both and can be answered with the mouse.
QWidget* Parent()
{
    QWidget* window = QApplication::activeWindow();
    if (!window)
        return nullptr;
    for (QObject* child : window->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget && widget->isVisible() && widget->windowType() == Qt::Tool)
            return widget;
    }
    return window;
}

// Whether a filter entry such as "Quillfen (*.qfs *.qft)" lists "*.<suffix>".
bool EntryListsSuffix(const QString& entry, const QString& suffix)
{
    static const QRegularExpression separators(QStringLiteral("[\\s();]+"));
    const QString pattern = QStringLiteral("*.") + suffix;
    const QStringList words = entry.split(separators, Qt::SkipEmptyParts);
    return !suffix.isEmpty() && std::any_of(words.begin(), words.end(), [&](const QString& word) {
        return word.compare(pattern, Qt::CaseInsensitive) == 0;
    });
}

// The dialog adds the default suffix before it asks whether to replace an
// existing file, so the question is about the file that will be written. The
// platform's own dialogs ask about the name as typed and have the suffix added
// only afterwards, hence Qt's dialog here.
QString SaveDialog(const QString& caption, const QString& dir, const QString& filter,
                   const QString& defaultSuffix, int* filterIndex)
{
    QFileDialog dialog(Parent(), caption, dir, filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const auto suffixFor = [defaultSuffix](const QString& entry) {
        return EntryListsSuffix(entry, defaultSuffix) ? defaultSuffix : QString();
    };
    dialog.setDefaultSuffix(suffixFor(dialog.selectedNameFilter()));
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog, suffixFor](const QString& entry) { dialog.setDefaultSuffix(suffixFor(entry)); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    if (filterIndex) {
        const auto chosen = filter.split(QStringLiteral(";;")).indexOf(dialog.selectedNameFilter());
        *filterIndex = std::max(1, static_cast<int>(chosen) + 1);
    }
    return dialog.selectedFiles().constFirst();
}
} // namespace

int WidgetDialogs::MessageBox(const QString& text, const QString& caption, MsgButtons buttons,
                              MsgIcon icon)
{
    return OnMainThread([&]() -> int {
        QMessageBox box(Parent());
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
                                       const QString& filter, const QString& defaultSuffix)
{
    return OnMainThread([&] { return SaveDialog(caption, dir, filter, defaultSuffix, nullptr); });
}

QString WidgetDialogs::GetSaveFileNameAndFilter(const QString& caption, const QString& dir,
                                                const QString& filter, const QString& defaultSuffix,
                                                int& filterIndex)
{
    return OnMainThread(
        [&] { return SaveDialog(caption, dir, filter, defaultSuffix, &filterIndex); });
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
