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
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
    qputenv("HOME", home.path().toUtf8());
    QApplication app(argc, argv);
    UseCLocaleFormats();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
