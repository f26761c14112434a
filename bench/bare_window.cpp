// The least Qt Widgets window of Quilvane's size and title: the reference the start-up and
// memory figures are measured against.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quilvane"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Quilvane"));
    window.menuBar()->addMenu(QStringLiteral("Menù"))->addAction(QStringLiteral("Stampa"));
    auto* client = new QWidget(&window);
    client->setFixedSize(411, 415);
    window.setCentralWidget(client);
    window.show();
    return QApplication::exec();
}
