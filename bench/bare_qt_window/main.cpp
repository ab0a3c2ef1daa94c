// bare_qt_window: the yardstick of the start-up benchmark. A plain Qt Widgets window of the
// driver's size, shown as soon as the application exists, so that the benchmark can tell the
// driver's own start-up work from what any Qt program pays to open a window.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare Qt window"));
    window.resize(800, 600);
    window.show();
    return QApplication::exec();
}
