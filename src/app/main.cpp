#include "app/AppPaths.h"
#include "platform/RegistryStore.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>

int main(int argc, char *argv[])
{
    // The character needs absolute positions and the window list: on Wayland run on XWayland.
    if (qEnvironmentVariableIsSet("DISPLAY") && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillomi"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLOMI_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);

    AppPaths::seedProgramFolder();
    RegistryStore &store = RegistryStore::global();
    if (!store.openProblem().isEmpty())
        QMessageBox::warning(nullptr, QApplication::applicationName(), store.openProblem());

    QLabel placeholder(QStringLiteral("Quillomi is running."));
    placeholder.setWindowTitle(QApplication::applicationName());
    placeholder.setMinimumSize(320, 120);
    placeholder.setAlignment(Qt::AlignCenter);
    placeholder.show();
    QObject::connect(&app, &QApplication::lastWindowClosed, &app, &QApplication::quit);
    return app.exec();
}
