#include <QApplication>

#include "plotter/window/frm_main.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Ondrix");
    ondrix::window::frmMain window;
    window.show();
    return QApplication::exec();
}
