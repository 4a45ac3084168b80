// The smallest Qt Widgets program that opens a window with one text box: the
// floor that bench_startup measures the editor against. It does nothing else.

#include <QApplication>
#include <QLineEdit>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QLineEdit box;
    box.show();
    return app.exec();
}
