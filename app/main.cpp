#include <QApplication>

#include "Form1.h"
#include "SystemDesktop.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quilvane"));
    SystemDesktop desktop;
    Form1 form(desktop);
    form.show();
    return QApplication::exec();
}
