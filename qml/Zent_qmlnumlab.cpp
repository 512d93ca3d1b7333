#include "Zent_qmlnumlab.h"

#include <QQuickWindow>
#include <QSGImageNode>
#include <exception>
#include <utility>

#include "Zent_qmltexture.h"
#include "Zent_sysutils.h"

namespace zent {

TQmlNumLab::TQmlNumLab(QQuickItem* Parent) : QQuickItem(Parent) {
    setFlag(ItemHasContents);
    InstallQuickTextAccessible();
    UpdateImplicitSize();
    // A size of its own, as the widget's: following the implicit size (the
    // size hint) would let a margin or left space limited by the size
    // change the size it is limited by.
    setSize(QSizeF(DefaultWidth, DefaultHeight));
    connect(this, &QQuickItem::enabledChanged, this, [this] {
        FEnabled = isEnabled();
        Changed();
    });
}

TQmlNumLab::~TQmlNumLab() = default;

// ------------------------------------------------------------ properties

void TQmlNumLab::setAlignment(TAlignment Value) {
    if (Value == FAlignment || !InRange(Value)) return;
    FAlignment = Value;
    Changed();
    emit alignmentChanged(Value);
}

void TQmlNumLab::setColorLabBakG(const QColor& Value) {
    if (!Value.isValid() || FromQColor(Value) == FColorLabBakG) return;
    FColorLabBakG = FromQColor(Value);
    Changed();
    emit colorLabBakGChanged(colorLabBakG());
}

void TQmlNumLab::setColorLabText(const QColor& Value) {
    if (!Value.isValid() || FromQColor(Value) == FColorLabText) return;
    FColorLabText = FromQColor(Value);
    Changed();
    emit colorLabTextChanged(colorLabText());
}

void TQmlNumLab::setColorOutBakG(const QColor& Value) {
    if (!Value.isValid() || FromQColor(Value) == FColorOutBakG) return;
    FColorOutBakG = FromQColor(Value);
    Changed();
    emit colorOutBakGChanged(colorOutBakG());
}

void TQmlNumLab::setColorOutText(const QColor& Value) {
    if (!Value.isValid() || FromQColor(Value) == FColorOutText) return;
    FColorOutText = FromQColor(Value);
    Changed();
    emit colorOutTextChanged(colorOutText());
}

void TQmlNumLab::setComma(bool Value) {
    if (Value == FComma) return;
    FComma = Value;
    ValueChanged();
    emit commaChanged(Value);
}

void TQmlNumLab::setDisplayType(TDisplay Value) {
    if (Value == FDisplayType || !InRange(Value)) return;
    FDisplayType = Value;
    ValueChanged();
    emit displayTypeChanged(Value);
}

void TQmlNumLab::setDtFormat(const QString& Value) {
    if (Value == FDTFormat) return;
    FDTFormat = Value;
    ValueChanged();
    emit dtFormatChanged(Value);
}

void TQmlNumLab::setEmpty(bool Value) {
    if (Value == FEmpty) return;
    FEmpty = Value;
    Changed();
    emit emptyChanged(Value);
}

void TQmlNumLab::setForcePlusSign(bool Value) {
    if (Value == FForcePlusSign) return;
    FForcePlusSign = Value;
    ValueChanged();
    emit forcePlusSignChanged(Value);
}

void TQmlNumLab::setLabelWidth(int Value) {
    if (Value == FLabelWidth) return;
    FLabelWidth = Value;
    UpdateImplicitSize();
    Changed();
    emit labelWidthChanged(Value);
}

void TQmlNumLab::setLeftSpace(int Value) {
    const std::optional<int32_t> Stored = LeftSpaceToStore(Value);
    if (!Stored) return;
    const int32_t Old = std::exchange(FLeftSpace, *Stored);
    UpdateImplicitSize();
    Changed();
    if (FLeftSpace != Old) emit leftSpaceChanged(FLeftSpace);
}

void TQmlNumLab::setLeftText(const QString& Value) {
    if (Value == FLeftText) return;
    FLeftText = Value;
    Changed();
    emit leftTextChanged(Value);
}

void TQmlNumLab::setLeftTextAlignment(TAlignment Value) {
    if (Value == FLeftTextAlignment || !InRange(Value)) return;
    FLeftTextAlignment = Value;
    Changed();
    emit leftTextAlignmentChanged(Value);
}

void TQmlNumLab::setOverflowIndicator(const QString& Value) {
    if (Value == FOverflowIndicator) return;
    FOverflowIndicator = Value;
    ValueChanged();
    emit overflowIndicatorChanged(Value);
}

void TQmlNumLab::setPrecision(int Value) {
    const std::optional<int32_t> Stored = PrecisionToStore(Value);
    if (!Stored) return;
    const int32_t Old = std::exchange(FPrecision, *Stored);
    ValueChanged();
    if (FPrecision != Old) emit precisionChanged(FPrecision);
}

void TQmlNumLab::setRightText(const QString& Value) {
    if (Value == FRightText) return;
    FRightText = Value;
    Changed();
    emit rightTextChanged(Value);
}

void TQmlNumLab::setRightTextAlignment(TAlignment Value) {
    if (Value == FRightTextAlignment || !InRange(Value)) return;
    FRightTextAlignment = Value;
    Changed();
    emit rightTextAlignmentChanged(Value);
}

void TQmlNumLab::setStateText(const QString& Value) {
    if (Value == FStateText) return;
    FStateText = Value;
    ValueChanged();
    emit stateTextChanged(Value);
}

void TQmlNumLab::setTransparent(bool Value) {
    if (Value == FTransparent) return;
    FTransparent = Value;
    Changed();
    emit transparentChanged(Value);
}

void TQmlNumLab::setValue(double Value) {
    if (Value == FValue) return;
    FValue = Value;
    ValueChanged();
    emit valueChanged(Value);
}

void TQmlNumLab::setFrameStyle(TFrameStyle Value) {
    if (Value == FFrameStyle || !InRange(Value)) return;
    FFrameStyle = Value;
    Changed();
    emit frameStyleChanged(Value);
}

void TQmlNumLab::setColorScheme(TColorScheme Value) {
    if (Value == FColorScheme || !InRange(Value)) return;
    FColorScheme = Value;
    emit colorSchemeChanged(Value);
}

void TQmlNumLab::Changed() {
    polish();
    update();
}

void TQmlNumLab::ValueChanged() {
    Changed();
    emit valueTextChanged();
}

// The value box whole; the height the widget's size hint gives is left to
// the font, so the implicit height is the widget's default.
void TQmlNumLab::UpdateImplicitSize() {
    setImplicitSize(std::max<qreal>(qreal(int64_t(FLeftSpace) + FLabelWidth + 1), DefaultWidth), DefaultHeight);
}

void TQmlNumLab::geometryChange(const QRectF& NewGeometry, const QRectF& OldGeometry) {
    QQuickItem::geometryChange(NewGeometry, OldGeometry);
    if (NewGeometry.size() != OldGeometry.size()) Changed();
}

void TQmlNumLab::itemChange(ItemChange Change, const ItemChangeData& Value) {
    QQuickItem::itemChange(Change, Value);
    if (Change == ItemSceneChange || Change == ItemDevicePixelRatioHasChanged) Changed();
}

// ------------------------------------------------------------ picture

void TQmlNumLab::updatePolish() {
    const int32_t W = LayoutWidth(), H = LayoutHeight();
    const int32_t Ratio = window() ? PaintPixelRatio(window()->effectiveDevicePixelRatio()) : 1;
    QString Shown;
    FPicture = QImage();
    if (W > 0 && H > 0) {
        try {
            TBitmap Picture;
            Picture.SetPixelRatio(Ratio);
            Picture.SetSize(W, H);
            Shown = ComposePicture(Picture.Canvas());
            FPicture = Picture.ToImage();
            // A failing OnBeforeDisplay handler left the picture whole, with
            // the text it got; its exception is reported like any other.
            if (std::exception_ptr Error = TakeHandlerError()) std::rethrow_exception(Error);
        } catch (const EOutOfResources&) {
            // too large for memory: nothing shows
        } catch (const std::exception& Error) {
            // No exception may cross the scene graph's polish.
            qWarning("NumericLabel: %s", Error.what());
        }
    }
    if (FTransparent && !FPicture.isNull()) {
        // The widget ANDs its picture with what lies beneath; a scene graph
        // blends. White, which leaves the background as it is under AND,
        // becomes see-through.
        FPicture = SeeThrough(FPicture, qRgb(255, 255, 255));
    }
    FNewPicture = true;
    if (Shown != FShownText) {
        FShownText = Shown;
        emit shownTextChanged(FShownText);
        AnnounceShownText(this);
    }
}

QSGNode* TQmlNumLab::updatePaintNode(QSGNode* Old, UpdatePaintNodeData*) {
    auto* Root = static_cast<TTextureHolderNode*>(Old);
    if (!Root) Root = new TTextureHolderNode;
    if (!std::exchange(FNewPicture, false)) return Root;
    DeleteChildNodes(*Root);
    Root->Textures[0] = WindowTexture(window(), FPicture);
    if (!Root->Textures[0]) return Root;
    QSGImageNode* Node = ImageNode(window(), Root->Textures[0].get());
    Node->setRect(0, 0, LayoutWidth(), LayoutHeight());
    Node->setSourceRect(0, 0, FPicture.width(), FPicture.height());
    Root->appendChildNode(Node);
    return Root;
}

}  // namespace zent
