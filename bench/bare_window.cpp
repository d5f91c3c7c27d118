// A bare Qt window, the peer of Tonara's start-up time (bench/startup_time.sh).
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("Bare Qt window");
    window.resize(511, 491);
    window.show();
    return app.exec();
}
