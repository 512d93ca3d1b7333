// Saves a PNG of the whole X screen: used by run-demo.sh under Xvfb, where
// no other screenshot program may be installed.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    QGuiApplication App(argc, argv);
    QScreen* Screen = QGuiApplication::primaryScreen();
    if (!Screen || !Screen->grabWindow(0).save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "could not save a screenshot to %s\n", argv[1]);
        return 1;
    }
    return 0;
}
