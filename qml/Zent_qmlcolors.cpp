#include "Zent_qmlcolors.h"

#include <utility>

namespace zent {

TQmlColorList::TQmlColorList(QObject* Parent) : QAbstractListModel(Parent) {}

void TQmlColorList::setNumColors(int Value) {
    const TColor Old = FList.SelColor();
    const int32_t OldEntry = FList.CurrentEntry(), OldCount = FList.NumColors();
    beginResetModel();
    const bool Taken = FList.SetNumColors(Value);
    endResetModel();
    if (!Taken) return;
    if (Value != OldCount) emit numColorsChanged(Value);
    SelectionSet(Old, OldEntry);
}

void TQmlColorList::setSelColor(const QColor& Value) {
    if (!Value.isValid()) return;
    const TColor Old = FList.SelColor();
    const int32_t OldEntry = FList.CurrentEntry();
    if (const int32_t Renamed = FList.SelectColor(FromQColor(Value), OnColorNameChange, this);
        Renamed && Renamed <= FList.NumColors()) {
        const QModelIndex Row = index(Renamed - 1);
        emit dataChanged(Row, Row);
    }
    SelectionSet(Old, OldEntry);
}

void TQmlColorList::setCurrentIndex(int Value) {
    const TColor Old = FList.SelColor();
    const int32_t OldEntry = FList.CurrentEntry();
    FList.Pick(Value + 1);
    SelectionSet(Old, OldEntry);
}

void TQmlColorList::SelectionSet(TColor Old, int32_t OldEntry) {
    if (FList.CurrentEntry() != OldEntry) emit currentIndexChanged(currentIndex());
    if (FList.SelColor() != Old) emit selColorChanged(selColor());
}

QString TQmlColorList::entryName(int Number) const {
    if (Number < 1 || Number > TColorList::MaxEntries) return {};
    return FList.EntryName(Number);
}

QColor TQmlColorList::entryColor(int Number) const {
    if (Number < 1 || Number > TColorList::MaxEntries) return {};
    return ToQColor(FList.EntryColor(Number));
}

int TQmlColorList::rowCount(const QModelIndex& Parent) const {
    return Parent.isValid() ? 0 : FList.NumColors();
}

QVariant TQmlColorList::data(const QModelIndex& Index, int Role) const {
    if (!checkIndex(Index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
    const int32_t Number = Index.row() + 1;
    switch (Role) {
        case NameRole:
            return FList.EntryName(Number);
        case ColorRole:
            return ToQColor(FList.EntryColor(Number));
        case NoColorRole:
            return TColorList::IsNoColor(FList.EntryColor(Number));
        default:
            return {};
    }
}

QHash<int, QByteArray> TQmlColorList::roleNames() const {
    return {{NameRole, "name"}, {ColorRole, "color"}, {NoColorRole, "noColor"}};
}

}  // namespace zent
