// The QML module's tests: one QApplication (the widgets they compare with
// need it), the offscreen platform and Qt Quick's software renderer unless
// the caller chose others, and the module's types registered from the
// static backing library rather than loaded as a plugin.
#include <QApplication>
#include <gtest/gtest.h>

void qml_register_types_Zent();

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND")) qputenv("QT_QUICK_BACKEND", "software");
    QApplication App(argc, argv);
    qml_register_types_Zent();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
