// ColorListModel: the colour selector's list as a model for a QML ComboBox.
#pragma once

#include <QAbstractListModel>
#include <QColor>
#include <QtQml/qqmlregistration.h>

#include "Zent_colorlist.h"

namespace zent {

// The entries TColSel lists, as rows with the roles name, color and
// noColor (clNone and clDefault, whose bar a delegate strikes through),
// under the selector's rules: numColors 1..255 (other values ignored; a
// write selects entry 1), selColor selects the first listed entry of that
// RGB value, or gives the current entry the colour and the name of its RGB
// value. currentIndex is the current entry's row, for a ComboBox's
// currentIndex; a pick writes it.
class TQmlColorList : public QAbstractListModel {
    Q_OBJECT
    QML_NAMED_ELEMENT(ColorListModel)
    Q_PROPERTY(int numColors READ numColors WRITE setNumColors NOTIFY numColorsChanged)
    Q_PROPERTY(QColor selColor READ selColor WRITE setSelColor NOTIFY selColorChanged)
    Q_PROPERTY(int currentIndex READ currentIndex WRITE setCurrentIndex NOTIFY currentIndexChanged)
    Q_PROPERTY(int count READ numColors NOTIFY numColorsChanged)

public:
    enum TRole { NameRole = Qt::DisplayRole, ColorRole = Qt::UserRole + 1, NoColorRole };

    explicit TQmlColorList(QObject* Parent = nullptr);

    int numColors() const { return FList.NumColors(); }
    void setNumColors(int Value);
    QColor selColor() const { return ToQColor(FList.SelColor()); }
    // An invalid colour is ignored.
    void setSelColor(const QColor& Value);
    int currentIndex() const { return FList.CurrentEntry() - 1; }
    void setCurrentIndex(int Value);

    // Entry Number's name and colour (1..255), listed or not; undefined
    // values outside.
    Q_INVOKABLE QString entryName(int Number) const;
    Q_INVOKABLE QColor entryColor(int Number) const;

    int rowCount(const QModelIndex& Parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& Index, int Role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // Called with the model and the name a newly set colour gets; the
    // handler may change it. For C++ users, as TColSel's OnColorNameChange.
    TOnColorNameChangeEvent OnColorNameChange;

signals:
    void numColorsChanged(int numColors);
    void selColorChanged(const QColor& selColor);
    void currentIndexChanged(int currentIndex);

private:
    // Tells of what changed since SelColor was Old and the current entry OldEntry.
    void SelectionSet(TColor Old, int32_t OldEntry);

    TColorList FList;
};

}  // namespace zent
