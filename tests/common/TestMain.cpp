#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>

#include "platform/NumberText.h"

// Every test executable runs headless, in the C locale's formats, with its own
// config dir so that registry values never leak between tests or into $HOME.
int main(int argc, char** argv)
{
    QTemporaryDir home;
    // A test may be given an offscreen platform with its own screens
    // ("offscreen:configfile=..."); any other platform is replaced.
    if (!qEnvironmentVariable("QT_QPA_PLATFORM").startsWith(QLatin1String("offscreen")))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
    qputenv("HOME", home.path().toUtf8());
    QApplication app(argc, argv);
    UseCLocaleFormats();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
