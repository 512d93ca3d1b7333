#include "Zent_qmltexture.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QMutex>
#include <QQuickWindow>
#include <QSGImageNode>
#include <QSGTexture>
#include <map>
#include <utility>

namespace zent {

namespace {
using TKey = std::pair<QQuickWindow*, qint64>;
QMutex TexturesLock;  // windows may render on threads of their own
std::map<TKey, std::weak_ptr<QSGTexture>>& Textures() {
    static auto* Map = new std::map<TKey, std::weak_ptr<QSGTexture>>;
    return *Map;
}
}  // namespace

std::shared_ptr<QSGTexture> WindowTexture(QQuickWindow* Window, const QImage& Image) {
    if (!Window || Image.isNull()) return nullptr;
    const TKey Key{Window, Image.cacheKey()};
    QMutexLocker Locker(&TexturesLock);
    std::weak_ptr<QSGTexture>& Entry = Textures()[Key];
    if (std::shared_ptr<QSGTexture> Kept = Entry.lock()) return Kept;
    std::shared_ptr<QSGTexture> Made(Window->createTextureFromImage(Image), [Key](QSGTexture* Texture) {
        delete Texture;
        QMutexLocker Locker(&TexturesLock);
        const auto It = Textures().find(Key);
        if (It != Textures().end() && It->second.expired()) Textures().erase(It);
    });
    if (Made) {
        Made->setFiltering(QSGTexture::Nearest);  // drawn 1:1, device pixel on device pixel
        Entry = Made;
    }
    return Made;
}

void DeleteChildNodes(QSGNode& Node) {
    while (QSGNode* Child = Node.firstChild()) {
        Node.removeChildNode(Child);
        delete Child;
    }
}

QSGImageNode* ImageNode(QQuickWindow* Window, QSGTexture* Texture) {
    QSGImageNode* Node = Window->createImageNode();
    Node->setOwnsTexture(false);
    Node->setFiltering(QSGTexture::Nearest);
    Node->setTexture(Texture);
    return Node;
}

QImage SeeThrough(const QImage& Image, QRgb Key) {
    QImage Result = Image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < Result.height(); ++y) {
        auto* Row = reinterpret_cast<QRgb*>(Result.scanLine(y));
        for (int x = 0; x < Result.width(); ++x)
            if (Row[x] == Key) Row[x] = 0;
    }
    return Result;
}

// ------------------------------------------------------------ accessibility

namespace {
class TQuickTextAccessible : public QAccessibleObject {
public:
    explicit TQuickTextAccessible(QQuickItem* Item) : QAccessibleObject(Item) {}
    QQuickItem* Item() const { return static_cast<QQuickItem*>(object()); }

    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QString text(QAccessible::Text Kind) const override {
        return Kind == QAccessible::Name ? Item()->property("shownText").toString() : QString();
    }
    QAccessible::State state() const override {
        QAccessible::State S;
        S.invisible = !Item()->isVisible();
        S.disabled = !Item()->isEnabled();
        S.readOnly = true;
        return S;
    }
    QRect rect() const override {
        const QQuickWindow* W = Item()->window();
        if (!W) return {};
        const QRectF Scene = Item()->mapRectToScene(QRectF(0, 0, Item()->width(), Item()->height()));
        return QRect(W->mapToGlobal(Scene.topLeft().toPoint()), Scene.size().toSize());
    }
    QAccessibleInterface* parent() const override {
        if (QQuickItem* P = Item()->parentItem()) return QAccessible::queryAccessibleInterface(P);
        return Item()->window() ? QAccessible::queryAccessibleInterface(Item()->window()) : nullptr;
    }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QWindow* window() const override { return Item()->window(); }
};

QAccessibleInterface* QuickTextFactory(const QString& ClassName, QObject* Object) {
    if (Object && Object->isQuickItemType() && Object->metaObject()->indexOfProperty("shownText") >= 0 &&
        ClassName.startsWith(QLatin1String("zent::TQml")))
        return new TQuickTextAccessible(static_cast<QQuickItem*>(Object));
    return nullptr;
}
}  // namespace

void InstallQuickTextAccessible() {
    static const bool Installed = [] {
        QAccessible::installFactory(QuickTextFactory);
        return true;
    }();
    (void)Installed;
}

void AnnounceShownText(QQuickItem* Item) {
    if (!QAccessible::isActive()) return;
    QAccessibleEvent Event(Item, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&Event);
}

}  // namespace zent
