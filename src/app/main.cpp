#include "app/Program.h"
#include "settings/SettingsStore.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // The character needs absolute positions and the window list: on Wayland run on XWayland.
    if (qEnvironmentVariableIsSet("DISPLAY") && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillomi"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLOMI_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);
    SettingsStore::useUserFiles();
    Program program;
    return program.RunStartup();
}
