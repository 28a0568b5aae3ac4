#include <QApplication>

#include "plotter/qt/frm_main.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Ondrix");
    // The app id of the installed desktop entry, so that the desktop shows that entry's name
    // and icon for the running window.
    QGuiApplication::setDesktopFileName("org.ondrix.Ondrix");
    ondrix::qt::frmMain window;
    window.show();
    return QApplication::exec();
}
