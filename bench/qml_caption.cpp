// A new caption plus the frame that shows it: the SevenSegment item against
// a QML Text in the DSEG7 Classic font showing the same text, both in one
// window rendered through QQuickRenderControl, in the same run. The scene
// graph backend is the one Qt Quick picks: QT_QUICK_BACKEND=software for the
// software renderer, otherwise OpenGL on an offscreen surface.
#include <QGuiApplication>
#include <QImage>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickGraphicsDevice>
#include <QQuickItem>
#include <QQuickRenderControl>
#include <QQuickRenderTarget>
#include <QQuickWindow>
#include <benchmark/benchmark.h>
#include <memory>

void qml_register_types_Zent();

namespace {

constexpr int W = 374, H = 96;

// A clock's texts: one or two digits change from one to the next.
QString ClockText(int64_t i) {
    return QString::asprintf("%02d:%02d:%02d", int(i / 3600 % 24), int(i / 60 % 60), int(i % 60));
}

class TScene {
public:
    TScene() {
        const bool Software = qgetenv("QT_QUICK_BACKEND") == "software";
        QQuickWindow::setGraphicsApi(Software ? QSGRendererInterface::Software : QSGRendererInterface::OpenGL);
        FWindow = std::make_unique<QQuickWindow>(&FControl);
        FWindow->resize(W, 2 * H + 10);
        if (Software) {
            FImage = QImage(FWindow->size(), QImage::Format_ARGB32_Premultiplied);
            FControl.initialize();  // nothing to set up for the software renderer (it says false)
            Ok = true;
            FWindow->setRenderTarget(QQuickRenderTarget::fromPaintDevice(&FImage));
        } else {
            Ok = FContext.create();
            FSurface.setFormat(FContext.format());
            FSurface.create();
            Ok = Ok && FContext.makeCurrent(&FSurface);
            if (!Ok) {
                Error = "no OpenGL context on this platform";
                return;
            }
            FWindow->setGraphicsDevice(QQuickGraphicsDevice::fromOpenGLContext(&FContext));
            Ok = FControl.initialize();
            if (!Ok) {
                Error = "the render control does not initialise on OpenGL";
                return;
            }
            QOpenGLFunctions* F = FContext.functions();
            F->glGenTextures(1, &FTexture);
            F->glBindTexture(GL_TEXTURE_2D, FTexture);
            F->glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, FWindow->width(), FWindow->height(), 0, GL_RGBA,
                            GL_UNSIGNED_BYTE, nullptr);
            FWindow->setRenderTarget(QQuickRenderTarget::fromOpenGLTexture(FTexture, FWindow->size()));
        }
        if (!Ok) return;
        QQmlComponent Component(&FEngine);
        Component.setData(R"(
            import QtQuick
            import Zent
            Item {
                property alias display: display
                property alias text: text
                SevenSegment { id: display; width: 374; height: 96; numDigits: 8; caption: "00:00:00" }
                Text { id: text; y: 106; width: 374; height: 96; text: "00:00:00"; color: "red"
                       font.family: "DSEG7 Classic"; font.pixelSize: 80 }
            })",
                          QUrl());
        FRoot = qobject_cast<QQuickItem*>(Component.create());
        Ok = FRoot != nullptr;
        if (!Ok) {
            Error = Component.errorString().toStdString();
            return;
        }
        FRoot->setParentItem(FWindow->contentItem());
        Frame();
    }
    ~TScene() {
        delete FRoot;
        if (FTexture) FContext.functions()->glDeleteTextures(1, &FTexture);
    }

    // One frame, finished: on OpenGL the GPU's work is waited for.
    void Frame() {
        FControl.polishItems();
        FControl.beginFrame();
        FControl.sync();
        FControl.render();
        FControl.endFrame();
        if (FTexture) FContext.functions()->glFinish();
    }
    QObject* Display() const { return FRoot->property("display").value<QObject*>(); }
    QObject* Text() const { return FRoot->property("text").value<QObject*>(); }
    const char* Backend() const { return FTexture ? "opengl" : "software"; }

    bool Ok = false;
    std::string Error;

private:
    QQmlEngine FEngine;
    QQuickRenderControl FControl;
    std::unique_ptr<QQuickWindow> FWindow;
    QImage FImage;
    QOpenGLContext FContext;
    QOffscreenSurface FSurface;
    GLuint FTexture = 0;
    QQuickItem* FRoot = nullptr;
};

TScene& Scene() {
    static TScene* S = new TScene;  // one window for every benchmark of the run
    return *S;
}

void Run(benchmark::State& State, QObject* Target, const char* Property) {
    int64_t i = 0;
    for (auto _ : State) {
        Target->setProperty(Property, ClockText(++i));
        Scene().Frame();
    }
    State.SetLabel(Scene().Backend());
}

void BM_SevenSegmentCaptionFrame(benchmark::State& State) {
    if (!Scene().Ok) return State.SkipWithError(("no scene: " + Scene().Error).c_str());
    Run(State, Scene().Display(), "caption");
}
BENCHMARK(BM_SevenSegmentCaptionFrame)->Unit(benchmark::kMicrosecond);

void BM_DsegTextFrame(benchmark::State& State) {
    if (!Scene().Ok) return State.SkipWithError(("no scene: " + Scene().Error).c_str());
    Run(State, Scene().Text(), "text");
}
BENCHMARK(BM_DsegTextFrame)->Unit(benchmark::kMicrosecond);

// The floor: a frame with nothing changed.
void BM_EmptyFrame(benchmark::State& State) {
    if (!Scene().Ok) return State.SkipWithError(("no scene: " + Scene().Error).c_str());
    for (auto _ : State) Scene().Frame();
    State.SetLabel(Scene().Backend());
}
BENCHMARK(BM_EmptyFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication App(argc, argv);
    qml_register_types_Zent();
    ::benchmark::Initialize(&argc, argv);
    if (::benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    ::benchmark::RunSpecifiedBenchmarks();
    ::benchmark::Shutdown();
    return 0;
}
