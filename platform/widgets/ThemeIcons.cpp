#include "platform/widgets/ThemeIcons.h"

#include "platform/widgets/Captions.h"

#include <QAction>
#include <QIcon>
#include <QToolButton>

namespace {

QIcon ThemeIcon(const char* name)
{
    return name ? QIcon::fromTheme(QLatin1String(name)) : QIcon();
}

} // namespace

void SetThemeIcon(QAction* action, const char* name)
{
    // The tool tip of an action is its text unless set, so it follows the language.
    action->setIcon(ThemeIcon(name));
}

void SetThemeIcon(QToolButton* button, const char* name)
{
    // The captions put the button's text into its tool tip as well.
    button->setIcon(ThemeIcon(name));
}

QAction* IconBarTwin(QAction* command, const char* name)
{
    auto* twin = new QAction(command->text(), command->parent());
    twin->setObjectName(command->objectName() + QStringLiteral("Button"));
    SetTag(twin, GetTag(command));
    twin->setEnabled(command->isEnabled());
    SetThemeIcon(twin, name);
    QObject::connect(twin, &QAction::triggered, command, &QAction::trigger);
    QObject::connect(command, &QAction::enabledChanged, twin, &QAction::setEnabled);
    return twin;
}

void UseDefaultIconTheme()
{
    const QString fallback = QIcon::fallbackThemeName();
    if (fallback.isEmpty() || fallback == QLatin1String("hicolor"))
        QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
}
