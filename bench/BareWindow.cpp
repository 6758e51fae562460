// The yardstick of the start-up comparison: a bare Qt Widgets window, a label and a button, with all
// of Qt's defaults. kestro_bench starts it as a separate process beside the program's start-up.
#include "FirstPaintFigures.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    ReportFirstPaintOf("QWidget");
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("A bare window"), &window));
    layout->addWidget(new QPushButton(QStringLiteral("Close"), &window));
    window.show();
    return application.exec();
}
