// The library's enumerations for QML, written Zent.FsLowered,
// Zent.TaCenter, Zent.DtFixP, Zent.CsBWG: QML reads an enumeration's keys
// from JavaScript only when they begin with a capital, so the keys here are
// the library's with the first letter raised, each standing for the
// library's value. The items' properties keep the library's types.
#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

#include "Zent_enums.h"

namespace ZentQml {
Q_NAMESPACE
QML_NAMED_ELEMENT(Zent)

enum TFrameStyle {
    FsNone = zent::fsNone,
    FsSimple = zent::fsSimple,
    FsLowered = zent::fsLowered,
    FsRaised = zent::fsRaised,
    FsEmbossed = zent::fsEmbossed,
    FsEngraved = zent::fsEngraved,
};
Q_ENUM_NS(TFrameStyle)

enum TAlignment {
    TaLeftJustify = zent::taLeftJustify,
    TaRightJustify = zent::taRightJustify,
    TaCenter = zent::taCenter,
};
Q_ENUM_NS(TAlignment)

enum TColorScheme {
    CsBWG = zent::csBWG,
    CsSystem = zent::csSystem,
};
Q_ENUM_NS(TColorScheme)

enum TDisplay {
    DtFloat = zent::dtFloat,
    DtFixP = zent::dtFixP,
    DtExp = zent::dtExp,
    DtHex = zent::dtHex,
    DtZeroInt = zent::dtZeroInt,
    DtInt = zent::dtInt,
    DtDateTime = zent::dtDateTime,
    DtState = zent::dtState,
    DtBin = zent::dtBin,
    DtOct = zent::dtOct,
    DtDeg = zent::dtDeg,
    DtDegMin = zent::dtDegMin,
    DtDegMinSec = zent::dtDegMinSec,
    DtEEng = zent::dtEEng,
    DtEEngNoDP = zent::dtEEngNoDP,
};
Q_ENUM_NS(TDisplay)

// A value the library adds must be added here too.
static_assert(int(FsEngraved) == int(zent::LastValue<zent::TFrameStyle>));
static_assert(int(TaCenter) == int(zent::LastValue<zent::TAlignment>));
static_assert(int(CsSystem) == int(zent::LastValue<zent::TColorScheme>));
static_assert(int(DtEEngNoDP) == int(zent::LastValue<zent::TDisplay>));
}  // namespace ZentQml
