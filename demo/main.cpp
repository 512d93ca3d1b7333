// The demonstration program: the window TForm1 until the user closes it.
#include <QApplication>
#include <memory>

#include "Zent_forms.h"
#include "mainfrm.h"

int main(int argc, char** argv) {
    QApplication App(argc, argv);
    // Also the title of the error reports.
    QApplication::setApplicationDisplayName("Seven Segment Display");
    std::unique_ptr<TForm1> Form1;
    // A window that cannot be built (a missing resource) is reported like
    // any other error; there is nothing to go on with.
    zent::Guarded([&] { Form1 = std::make_unique<TForm1>(); });
    if (!Form1) return 1;
    Form1->show();
    return App.exec();
}
