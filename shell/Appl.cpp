#include "Appl.h"

#include <QApplication>
#include <QLabel>

int RunTembrolo(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel window("Tembrolo");
    window.setFixedSize(500, 300);
    window.show();
    return app.exec();
}
