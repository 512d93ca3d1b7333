// What the Zent items share on the scene graph: textures made from the
// library's pictures, one per window and picture, and an accessible face
// that tells assistive tools the text an item shows.
#pragma once

#include <QImage>
#include <QPointer>
#include <QQuickItem>
#include <QSGNode>
#include <memory>

class QQuickWindow;
class QSGImageNode;
class QSGTexture;

namespace zent {

// The texture of Image in Window, made on first request and shared by every
// node of that window that asks for the same image (equal QImage::cacheKey),
// so displays of one look hold one glyph atlas. It lives while a node holds
// it; call on the render thread, as updatePaintNode runs.
std::shared_ptr<QSGTexture> WindowTexture(QQuickWindow* Window, const QImage& Image);

// Removes and deletes every child of Node (removeAllChildNodes only removes).
void DeleteChildNodes(QSGNode& Node);

// An image node of Window drawing from Texture, which it does not own,
// device pixel on device pixel.
QSGImageNode* ImageNode(QQuickWindow* Window, QSGTexture* Texture);

// Image in premultiplied ARGB with every pixel of colour Key see-through.
QImage SeeThrough(const QImage& Image, QRgb Key);

// A node that keeps the textures its image nodes draw from.
class TTextureHolderNode : public QSGNode {
public:
    std::shared_ptr<QSGTexture> Textures[3];
};

// Makes Item readable by screen readers as static text whose name is the
// item's "shownText" property, and tells them when it changes.
void InstallQuickTextAccessible();
void AnnounceShownText(QQuickItem* Item);

}  // namespace zent
