#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow w;
    w.setWindowTitle("Stockavelle Inventory And Invoice Management System");
    w.show();
    return app.exec();
}
